#include "documents/PlainText.h"
#include "documents/RtfWriter.h"
#include "documents/ScrivoControl.h"
#include "documents/TagStyles.h"
#include "shell/Dialogs.h"
#include "tests/core/Unprivileged.h"
#include "tests/documents/ControlPoints.h"
#include "tests/documents/TestDocs.h"
#include "tests/support/Files.h"
#include "tests/support/UnaskedAnswers.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <sys/stat.h>
#include <unistd.h>

using namespace vasora::documents;
using namespace vasora::ScrivoAPI;
using vasora::test::rtf;
using vasora::test::tagged;

namespace {

// A small lab book: a heading, a start marker, a table of two rows with output and input
// cells of table 3, an output cell of table 4, and the button of table 3 below.
QByteArray smallBook() {
    return rtf(tagged(91000, 1, "Experiment") + "\\par " + tagged(10000, 2, "Start") + "\\par" +
               "\\trowd\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl Row 1\\cell " +
               tagged(23011, 3, "old") + "\\cell " + tagged(33014, 4, "50") + "\\cell\\row" +
               "\\trowd\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl Row 2\\cell " +
               tagged(23021, 5, "old") + "\\cell " + tagged(24021, 6, "keep") + "\\cell\\row" +
               "\\pard " + tagged(43000, 7, "[Fill table]") + "\\par after\\par " +
               tagged(60000, 8, "[        ]") + " end");
}

class ScrivoFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        guard = std::make_unique<vasora::ui::SeamGuard>(seam);
        ASSERT_TRUE(dir.isValid());
        control.resize(600, 400);
        control.show();
    }
    void TearDown() override { vasora::test::expectEveryAnswerAsked(seam); }
    QString write(const QString& name, const QByteArray& data) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(vasora::test::writeFile(path, data));
        return path;
    }
    void load(const QByteArray& data) {
        control.setFileName(write("doc.rtf", data));
        control.setFileFormat(kFormatRichText);
        control.setLoadNow(1);
    }
    QPoint pointAt(int position) { return vasora::test::characterPoint(control, position); }

    vasora::ui::ScriptedSeam seam;
    std::unique_ptr<vasora::ui::SeamGuard> guard;
    QTemporaryDir dir;
    ScrivoControl control{QStringLiteral("scrivoLabBook")};
};

}  // namespace

TEST_F(ScrivoFixture, LoadAndSaveThroughTheMembers) {
    EXPECT_EQ(control.objectName(), "scrivoLabBook");
    load(smallBook());
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(control.TextLength(), control.document()->characterCount() - 1);
    EXPECT_TRUE(plainText(*control.document()).startsWith("Experiment\nStart\nRow 1\told\t50"));
    // The program's save sequence: the whole range, then SaveNow.
    const QString out = dir.filePath("saved.rtf");
    control.setFileName(out);
    control.setRangeStart(0);
    control.setRangeLength(control.TextLength());
    EXPECT_TRUE(control.setSaveNow(1));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), writeRtf(*control.document()));
    // Late-bound access reaches the same members; unknown ids are kept and ignored.
    control.setDispatch(kIdModifiedFlag, false);
    control.setDispatch(kIdTagBase, 13);
    EXPECT_EQ(control.dispatch(kIdTagBase).toInt(), 13);
    EXPECT_EQ(control.dispatch(kIdTextLength).toInt(), control.TextLength());
    EXPECT_EQ(control.dispatch(kIdFileName).toString(), out);
}

TEST_F(ScrivoFixture, FailedLoadAndSaveAreReportedAndHarmNothing) {
    load(smallBook());
    const QString before = control.document()->toRawText();
    control.setFileName(dir.filePath("missing.rtf"));
    EXPECT_FALSE(control.setLoadNow(1));
    EXPECT_EQ(control.document()->toRawText(), before);
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(seam.messages()[0], "The file missing.rtf could not be opened.");
    // A save into a folder that does not exist is reported, not passed over.
    control.setFileName(dir.filePath("no/such/folder/book.rtf"));
    control.setRangeStart(0);
    control.setRangeLength(control.TextLength());
    EXPECT_FALSE(control.setSaveNow(1));
    ASSERT_EQ(seam.messages().size(), 2);
    EXPECT_EQ(seam.messages()[1],
              "The file book.rtf could not be saved: its folder does not exist.");
    // A damaged file opens with a message and shows what could be read.
    load(rtf("{\\b readable") + QByteArray(10, '{'));
    ASSERT_EQ(seam.messages().size(), 3);
    EXPECT_TRUE(seam.messages()[2].contains("could not be read completely"));
    EXPECT_TRUE(control.document()->toPlainText().startsWith("readable"));
    EXPECT_FALSE(control.document()->isModified());
}

TEST_F(ScrivoFixture, AFailedSaveNamesTheFileAndTheReasonAndKeepsTheOldCopy) {
    load(smallBook());
    auto saveAs = [this](const QString& path) {
        control.setFileName(path);
        control.setRangeStart(0);
        control.setRangeLength(control.TextLength());
        return control.setSaveNow(1);
    };
    // A folder of the book's name.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("book.rtf/inside")));
    EXPECT_FALSE(saveAs(dir.filePath("book.rtf")));
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(seam.messages()[0],
              "The file book.rtf could not be saved: there is a folder of "
              "that name.");
    // A book the learner made read-only.
    const QString locked = write("locked.rtf", "{\\rtf1 kept}");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_FALSE(saveAs(locked));
    ASSERT_EQ(seam.messages().size(), 2);
    EXPECT_EQ(seam.messages()[1], "The file locked.rtf could not be saved: the file is read-only.");
    EXPECT_EQ(vasora::test::readFile(locked), "{\\rtf1 kept}");
    // A folder in which no new file may be made: the book stays as it was, and no temporary
    // file is left.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString shared = dir.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    const QString book = write("shared/mine.rtf", "{\\rtf1 last saved}");
    ASSERT_EQ(::chmod(QFile::encodeName(book).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0555), 0);
    bool saved = true;
    {
        const vasora::testing::Unprivileged learner;
        saved = saveAs(book);
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(seam.messages().size(), 3);
    EXPECT_EQ(seam.messages()[2],
              "The file mine.rtf could not be saved: no new file can be made "
              "in its folder (Permission denied).");
    EXPECT_EQ(vasora::test::readFile(book), "{\\rtf1 last saved}");
    EXPECT_EQ(QDir(shared).entryList(QDir::Files | QDir::Hidden), QStringList{"mine.rtf"});
    ::chmod(QFile::encodeName(shared).constData(), 0755);
}

TEST_F(ScrivoFixture, BackwardWalkFromTheButtonRewritesCells) {
    load(smallBook());
    // The tag event's walk: from the button, backward, to the start marker; output cells of
    // table 3 get a seven-character text and keep their code.
    ASSERT_GT(FIND_HTAG(control, 43000, 1), 0);
    EXPECT_EQ(control.TagText(), "[Fill table]");
    std::vector<int> seen;
    int n = -1;
    while (n < 0) {
        n = FIND_NTAG(control, 0, -1);
        if (n >= 0) break;
        const int v = control.TagCode();
        seen.push_back(v);
        if (v / 10000 == 1) break;
        if (v / 10000 == 2 && (v / 1000) % 10 == 3) {
            const QString s = QString::number(v % 100).leftJustified(7);
            control.setTagText(s);
            control.setTagCode(v);
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{24021, 23021, 33014, 23011, 10000}));
    const QString text = plainText(*control.document());
    EXPECT_TRUE(text.contains("Row 1\t11     \t50\nRow 2\t21     \tkeep")) << text.toStdString();
    const auto tags = allTags(*control.document());
    EXPECT_EQ(tags.size(), 8u);
    // Nothing is left before the start of the document.
    control.setRangeStart(0);
    EXPECT_EQ(FIND_NTAG(control, 0, -1), 0);
}

TEST_F(ScrivoFixture, ForwardWalkVisitsEveryTagOnce) {
    load(smallBook());
    control.setCursorPara(0);
    control.setCursorChar(0);
    std::vector<int> codes;
    while (FIND_NTAG(control, 0, 1) > 0) {
        codes.push_back(control.TagCode());
        EXPECT_EQ(control.RangeLength(), control.TagText().size());
        EXPECT_EQ(control.RangeStart(), control.cursorPosition());
    }
    EXPECT_EQ(codes, (std::vector<int>{91000, 10000, 23011, 33014, 23021, 24021, 43000, 60000}));
    // A search for one code, and for a code that no tag carries.
    control.setRangeStart(0);
    EXPECT_EQ(FIND_NTAG(control, 33014, 1), 1);
    EXPECT_EQ(control.TagText(), "50");
    control.setCursorPara(0);
    control.setCursorChar(0);
    EXPECT_EQ(FIND_HTAG(control, 51999, 1), 0);
}

TEST_F(ScrivoFixture, CursorPositionsAndCoordinates) {
    load(smallBook());
    control.setCursorPara(2);  // the first cell paragraph
    control.setCursorChar(3);
    EXPECT_EQ(control.CursorPara(), 2);
    EXPECT_EQ(control.CursorChar(), 3);
    EXPECT_EQ(control.document()->findBlock(control.cursorPosition()).text(), "Row 1");
    EXPECT_EQ(control.RangeStart(), control.cursorPosition());
    // The visible cursor follows once the program returns to the event loop.
    QCoreApplication::processEvents();
    EXPECT_EQ(control.textCursor().position(), control.cursorPosition());
    EXPECT_EQ(control.RangeLength(), 0);
    control.setCursorChar(500);  // clamped to the paragraph's end
    EXPECT_EQ(control.CursorChar(), 5);
    control.setCursorPara(100000);
    EXPECT_EQ(control.CursorPara(), control.document()->blockCount() - 1);
    int x0 = -1, y0 = -1, x1 = -1, y1 = -1;
    EXPECT_EQ(SCRIVO_CURTOXY(control, 0, 0, x0, y0), 1);
    EXPECT_EQ(SCRIVO_CURTOXY(control, 1, 0, x1, y1), 1);
    EXPECT_GT(y1, y0);
    int xc = 0, yc = 0;
    SCRIVO_CURTOXY(control, 0, 5, xc, yc);
    EXPECT_GT(xc, x0);
    EXPECT_EQ(yc, y0);
    EXPECT_EQ(SCRIVO_CURTOXY(control, -1, 0, xc, yc), 0);
    EXPECT_EQ(SCRIVO_CURTOXY(control, 99999, 0, xc, yc), 0);
}

TEST_F(ScrivoFixture, ScrollTopBringsALineToTheTop) {
    QByteArray body;
    for (int i = 0; i < 200; ++i) body += "line " + QByteArray::number(i) + "\\par ";
    load(rtf(body));
    int x = 0, y = 0;
    SCRIVO_CURTOXY(control, 120, 0, x, y);
    control.setScrollTop(y);
    EXPECT_EQ(control.ScrollTop(), y);
    EXPECT_EQ(control.verticalScrollBar()->value(), y);
    EXPECT_EQ(control.cursorForPosition(QPoint(5, 5)).block().blockNumber(), 120);
}

TEST_F(ScrivoFixture, TagChangeAsTheCursorEntersAndLeavesTags) {
    load(rtf("plain " + tagged(60000, 1, "field") + tagged(61000, 2, "free") + " plain"));
    std::vector<std::array<int, 3>> events;
    QObject::connect(&control, &ScrivoControl::TagChange, [&](int& k, int& a, int& b) {
        events.push_back({k, a, b});
    });
    control.setCursorChar(2);
    EXPECT_TRUE(events.empty());  // still outside any tag
    control.setCursorChar(7);
    control.setCursorChar(9);   // moving inside one tag raises nothing
    control.setCursorChar(11);  // straight into the next tag
    control.setCursorChar(17);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], (std::array<int, 3>{1, 60000, 0}));
    EXPECT_EQ(events[1], (std::array<int, 3>{1, 61000, 60000}));
    EXPECT_EQ(events[2], (std::array<int, 3>{1, 0, 61000}));
}

TEST_F(ScrivoFixture, ClickOnATagRaisesTagClickWithTheTagCurrent) {
    load(smallBook());
    const TagSpan button = findTag(*control.document(), 0, 1, false, 43000);
    ASSERT_TRUE(button.valid());
    int clicks = 0, rangeLength = -1, cursorAt = -1;
    QObject::connect(&control, &ScrivoControl::TagClick, [&] {
        ++clicks;
        rangeLength = control.RangeLength();
        cursorAt = control.cursorPosition();
    });
    QTest::mouseClick(control.viewport(), Qt::LeftButton, {}, pointAt(button.start + 4));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(control.ClickedTag(), 43000);
    EXPECT_EQ(rangeLength, button.length);
    EXPECT_EQ(cursorAt, button.start);
    EXPECT_EQ(control.TagText(), "[Fill table]");
    // A handler that leaves the cursor on the tag gives it back where the learner clicked.
    EXPECT_GT(control.cursorPosition(), button.start);
    // A click on plain text raises nothing.
    const int plain = control.document()->toPlainText().indexOf("after");
    QTest::mouseClick(control.viewport(), Qt::LeftButton, {}, pointAt(plain + 2));
    EXPECT_EQ(clicks, 1);
    // Without a style policy no tag is active, so none shows a pointing hand; with the lab
    // book's policy the button does.
    QTest::mouseMove(control.viewport(), pointAt(button.start + 3));
    EXPECT_EQ(control.viewport()->cursor().shape(), Qt::IBeamCursor);
    QTest::mouseMove(control.viewport(), pointAt(plain + 1));
    control.setTagStylePolicy(labBookTagStyle());
    QTest::mouseMove(control.viewport(), pointAt(button.start + 3));
    EXPECT_EQ(control.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(control.viewport(), pointAt(plain + 1));
    EXPECT_EQ(control.viewport()->cursor().shape(), Qt::IBeamCursor);
    control.setPointerShape(kPointerBusy);
    EXPECT_EQ(control.viewport()->cursor().shape(), Qt::WaitCursor);
}

TEST_F(ScrivoFixture, KeysCanBeSwallowedOrChanged) {
    load(rtf("abc"));
    control.setFocus();
    control.setCursorChar(3);
    int swallowKey = 0, swallowChar = 0, replaceChar = 0;
    std::vector<int> downs;
    QObject::connect(&control, &ScrivoControl::KeyDown, [&](int& key, int) {
        downs.push_back(key);
        if (key == swallowKey) key = 0;
    });
    QObject::connect(&control, &ScrivoControl::KeyPress, [&](int& ch) {
        if (ch == swallowChar)
            ch = 0;
        else if (replaceChar)
            ch = replaceChar;
    });
    swallowKey = 8;
    QTest::keyClick(&control, Qt::Key_Backspace);
    EXPECT_EQ(control.document()->toPlainText(), "abc");
    swallowKey = 0;
    QTest::keyClick(&control, Qt::Key_Backspace);
    EXPECT_EQ(control.document()->toPlainText(), "ab");
    swallowChar = 'x';
    QTest::keyClicks(&control, "xyx");
    EXPECT_EQ(control.document()->toPlainText(), "aby");
    replaceChar = 'Q';
    QTest::keyClick(&control, Qt::Key_Z);
    EXPECT_EQ(control.document()->toPlainText(), "abyQ");
    EXPECT_EQ(downs.front(), 8);
    EXPECT_EQ(downs.back(), 'Z');
    // A control-key shortcut types no character, so a typing guard cannot swallow it.
    replaceChar = 0;
    swallowChar = 1;
    QTest::keyClick(&control, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(control.textCursor().hasSelection());
    EXPECT_EQ(downs.back(), 'A');
    // Read-only text takes no typing but still reports the keys.
    control.setReadOnly(true);
    replaceChar = 0;
    const size_t before = downs.size();
    QTest::keyClicks(&control, "kk");
    EXPECT_EQ(control.document()->toPlainText(), "abyQ");
    EXPECT_EQ(downs.size(), before + 2);
    EXPECT_TRUE(control.ReadOnly());
}

TEST_F(ScrivoFixture, LineWidthSetsTheWrapWidth) {
    control.setLineWidth(0.95 * 6000);
    EXPECT_EQ(control.lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(control.lineWrapColumnOrWidth(), 380);
    EXPECT_DOUBLE_EQ(control.LineWidth(), 5700.0);
    control.setLineWidth(0);
    EXPECT_EQ(control.lineWrapMode(), QTextEdit::WidgetWidth);
}

TEST_F(ScrivoFixture, TagsAreStyledByTheHandedInPolicyAndNeverSaved) {
    const QByteArray doc = rtf(tagged(23011, 1, "cell") + " " + tagged(43000, 2, "[Fill]") + " " +
                               tagged(51012, 3, "see") +
                               " {\\field{\\*\\fldinst HYPERLINK \"http://example.org/\"}"
                               "{\\fldrslt site}}");
    load(doc);
    // No policy: the control knows no kinds of tags and draws nothing over them.
    EXPECT_TRUE(control.extraSelections().isEmpty());
    control.setTagStylePolicy(labBookTagStyle());
    QList<QTextEdit::ExtraSelection> styles = control.extraSelections();
    ASSERT_EQ(styles.size(), 3);  // the button, the link tag and the hyperlink; not the cell
    EXPECT_EQ(styles[0].cursor.selectedText(), "[Fill]");
    EXPECT_TRUE(styles[0].format.hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_EQ(styles[1].cursor.selectedText(), "see");
    EXPECT_TRUE(styles[1].format.fontUnderline());
    EXPECT_EQ(styles[2].cursor.selectedText(), "site");
    const QByteArray saved = writeRtf(*control.document());
    EXPECT_FALSE(saved.contains("\\highlight"));
    EXPECT_FALSE(saved.contains("\\ul"));
    // A policy of another window: here output cells act and look like input fields, links do
    // not. The policy holds across a new load.
    struct CellsOnly final : TagStylePolicy {
        TagStyle tagStyle(int code) const override {
            return code / 10000 == 2 ? TagStyle{TagLook::InputField, true} : TagStyle{};
        }
        TagLook hyperlinkLook() const override { return TagLook::Plain; }
    };
    control.setTagStylePolicy(std::make_shared<CellsOnly>());
    load(doc);
    styles = control.extraSelections();
    ASSERT_EQ(styles.size(), 1);
    EXPECT_EQ(styles[0].cursor.selectedText(), "cell");
    const int cell = control.document()->toPlainText().indexOf("cell");
    QTest::mouseMove(control.viewport(), pointAt(cell + 1));
    EXPECT_EQ(control.viewport()->cursor().shape(), Qt::PointingHandCursor);
    control.setTagStylePolicy(nullptr);
    EXPECT_TRUE(control.extraSelections().isEmpty());
}

TEST_F(ScrivoFixture, ContentsTreeWalkAdvancingRangeStartFindsEveryHeading) {
    // The contents tree walks forward and moves RangeStart past each heading it adds.
    load(rtf(tagged(91000, 1, "One") + "\\par text " + tagged(23011, 2, "cell") + "\\par " +
             tagged(92000, 3, "One.a") + "\\par more\\par " + tagged(91000, 4, "Two") +
             "\\par end"));
    control.setCursorPara(0);
    control.setCursorChar(0);
    QStringList headings;
    int lastLength = QStringLiteral("Lab Book Contents").size();
    for (int r = 1, guard = 0; r > 0 && guard < 100; ++guard) {
        r = FIND_NTAG(control, 0, 1);
        if (r > 0 && (control.TagCode() == 91000 || control.TagCode() == 92000)) {
            headings.append(control.TagText());
            lastLength = control.TagText().size();
            EXPECT_EQ(control.CursorChar(), 0);
        }
        const int x = control.RangeStart();
        control.setRangeStart(x + lastLength + 1);
    }
    EXPECT_EQ(headings, (QStringList{"One", "One.a", "Two"}));
    EXPECT_EQ(FIND_NTAG(control, 0, 1), 0);
}
