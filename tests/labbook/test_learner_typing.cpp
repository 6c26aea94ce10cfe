// The shipped lab book in a learner's hands: what the keys type into its fields, what a table
// button says of a cell left empty, and whether every field can be seen and clicked into, at
// the placements of a 1366 x 768 and a 1920 x 1080 screen.

#include <QAbstractTextDocumentLayout>
#include <QInputMethodEvent>
#include <QTextBlock>
#include <QTextTable>

#include "core/TagCodes.h"
#include "labbook/TypingGuard.h"
#include "model/Vasora_Model_coding.h"
#include "shell/WindowPlacement.h"
#include "tests/labbook/ShippedBook.h"

using namespace vasora;
using documents::TagSpan;

namespace {

constexpr int kAnswer = 61000;

// Every printable character of ASCII, the blank included, in order.
QString printableAscii() {
    QString s;
    for (char c = 0x20; c < 0x7F; ++c) s += QLatin1Char(c);
    return s;
}

class LearnerTyping : public ShippedBook {
  protected:
    // Clicks into the field `t` just after its first character and types everything a learner
    // may type: all of ASCII by its keys, accented and Greek letters from other layouts, the
    // keypad's decimal point and digit, and a character an input method composes. Returns the
    // text the field must then hold.
    QString typeEverythingInto(const TagSpan& t) {
        const QString before = tagText(t);
        clickAt(t.start + 1);
        const int at = text().cursorPosition() - t.start;
        EXPECT_GT(at, 0);
        EXPECT_NE(display()->guard()->EditState(), -1) << "the click did not reach the field";
        type(printableAscii());
        typeKey(Qt::Key_Eacute, QStringLiteral("é"));
        typeKey(Qt::Key_Udiaeresis, QStringLiteral("ü"));
        typeKey(Qt::Key_mu, QStringLiteral("µ"));
        typeKey(Qt::Key_unknown, QStringLiteral("α"));
        typeKey(Qt::Key_Period, QStringLiteral("."), Qt::KeypadModifier);
        typeKey(Qt::Key_5, QStringLiteral("5"), Qt::KeypadModifier);
        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral("日"));
        QApplication::sendEvent(&text(), &composed);
        const QString typed = printableAscii() + QStringLiteral("éüµα.5日");
        return before.left(at) + typed + before.mid(at);
    }
    TagSpan button(const QString& words) {
        for (const TagSpan& t : documents::allTags(doc()))
            if (t.code / 10000 == labbook::kTagTableButton && tagText(t).contains(words)) return t;
        ADD_FAILURE() << "no button " << words.toStdString();
        return {};
    }
    // The learner clicks into an input cell after its value, as to correct it.
    void clickAfterValue(const TagSpan& cell) {
        const QString s = tagText(cell);
        clickBetween(cell.start + int(s.indexOf(s.trimmed()) + s.trimmed().size()));
    }
};

}  // namespace

TEST_F(LearnerTyping, EveryCharacterTypedIntoAFieldStandsThereAsTyped) {
    newBook("typist");
    const TagSpan name = tags(kAnswer).at(0), prediction = tags(kAnswer).at(1);
    const TagSpan cell = tags(32024).at(0);  // Table 3b, the venous compliance
    const std::size_t tagCount = documents::allTags(doc()).size();
    for (const TagSpan& field : {name, prediction, cell}) {
        SCOPED_TRACE(field.code);
        const QString expected = typeEverythingInto(now(field));
        EXPECT_EQ(tagText(now(field)), expected);
    }
    // Nothing else of the book changed: no tag was split or lost, and the button keeps its text.
    EXPECT_EQ(documents::allTags(doc()).size(), tagCount);
    EXPECT_EQ(tagText(button(QStringLiteral("Table 3b"))), "Apply Table 3b to the model");
}

TEST_F(LearnerTyping, AFullStopIsAFullStopWhereverItIsTyped) {
    newBook("stops");
    const TagSpan answer = tags(kAnswer).at(2);
    clickAt(answer.start + 1);
    type(QStringLiteral("93.7 mmHg, abc"));
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    type(QStringLiteral("."));
    EXPECT_TRUE(tagText(now(answer)).contains("93.7 mmHg, a.bc"))
        << tagText(now(answer)).toStdString();
    // "50" then ".5" in an input cell is 50.5, and applying it sets 50.5 % of normal.
    const TagSpan cell = tags(32024).at(0);
    clickAfterValue(cell);
    type(QStringLiteral(".5"));
    EXPECT_EQ(tagText(now(cell)).trimmed(), "50.5");
    seam.shown.clear();
    clickTag(button(QStringLiteral("Table 3b")));
    const model::ModelState& s = model::state();
    EXPECT_NEAR(s.Comp[model::SysV], 0.505 * s.Comp_N[model::SysV], 1e-9);
    for (const QString& m : seam.messages())
        EXPECT_FALSE(m.contains("empty") || m.contains("not a number")) << m.toStdString();
}

TEST_F(LearnerTyping, TheTextOutsideTheFieldsIsKeptWhateverIsTyped) {
    newBook("guarded");
    const QString before = doc().toPlainText();
    const int refused = display()->guard()->refusals();
    // A word of the instructions, and the very edges of a field.
    const TagSpan answer = tags(kAnswer).at(1);
    for (int at : {answer.start - 3, 40}) {
        clickAt(at);
        type(QStringLiteral("x.-(%&$#!',\""));
        typeKey(Qt::Key_Eacute, QStringLiteral("é"));
        key(Qt::Key_Backspace);
        key(Qt::Key_Delete);
        key(Qt::Key_Return);
        key(Qt::Key_Tab);
    }
    EXPECT_EQ(doc().toPlainText(), before);
    EXPECT_GT(display()->guard()->refusals(), refused + 10);
    EXPECT_FALSE(display()->changedSinceSaved());
}

TEST_F(LearnerTyping, AnEmptyCellIsNamedAsTheBookNamesItAndNothingIsApplied) {
    newBook("empty");
    click(forms::frmCVModel, "chkAutoRun");
    const model::ModelState& s = model::state();
    const double compliance = s.Comp[model::SysV], time = s.ModelTime;
    // The learner deletes the value, types a full stop and takes it back again.
    const TagSpan cell = tags(32024).at(0);
    clickAfterValue(cell);
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    type(QStringLiteral("."));
    key(Qt::Key_Backspace);
    ASSERT_EQ(tagText(now(cell)).trimmed(), "");
    seam.shown.clear();
    clickTag(button(QStringLiteral("Table 3b")));
    ASSERT_EQ(seam.messages().size(), 1) << seam.messages().join('\n').toStdString();
    EXPECT_TRUE(
        seam.messages()[0].startsWith("Table 3b, the cell of Systemic venous compliance is empty."))
        << seam.messages()[0].toStdString();
    EXPECT_EQ(s.Comp[model::SysV], compliance);
    EXPECT_EQ(s.ModelTime, time);
    // Typed again, the value is applied, with no message about the cell.
    clickAt(now(cell).start + 2);
    type(QStringLiteral("50"));
    seam.shown.clear();
    clickTag(button(QStringLiteral("Table 3b")));
    EXPECT_NEAR(s.Comp[model::SysV], 0.5 * s.Comp_N[model::SysV], 1e-9);
    EXPECT_TRUE(seam.messages().filter("Table 3b").isEmpty());
}

// Every field of the template, seen and clicked into with the mouse: at the lab book's place on
// a small and a large screen, and on the small one with the contents tree shown.
TEST_F(LearnerTyping, EveryFieldCanBeSeenAndClickedIntoAtAnyWidth) {
    newBook("fields");
    auto checkAll = [&](const char* where) {
        SCOPED_TRACE(where);
        QApplication::processEvents();
        std::vector<TagSpan> fields = tags(kAnswer);
        for (const TagSpan& t : tags(60000)) fields.push_back(t);
        ASSERT_GT(fields.size(), 30u);
        for (const TagSpan& f : fields) {
            const QPoint p = test::pointInView(text(), f.start + f.length / 2);
            EXPECT_TRUE(text().viewport()->rect().contains(p))
                << "field at " << f.start << " drawn at " << p.x() << "," << p.y();
            clickAt(f.start + f.length / 2);
            EXPECT_NE(display()->guard()->EditState(), -1) << "field at " << f.start;
        }
    };
    checkAll("1366 x 768");
    click(forms::frmDisplay, "cmdSHContents");
    checkAll("1366 x 768, contents shown");
    shell::setWorkArea(kLargeScreen);
    shell::placeWorkbenchWindows();
    checkAll("1920 x 1080, contents shown");
}

// Every table of the template and the sample fits the display beside the model window on a
// 1366-pixel screen, and no word or value in a cell is broken.
TEST_F(LearnerTyping, EveryShippedTableFitsTheDisplayAtTheSmallScreen) {
    for (const char* book : {"template", "sample"}) {
        SCOPED_TRACE(book);
        restart();
        fixProjectPaths(project);
        if (QLatin1String(book) == QLatin1String("template")) {
            newBook("tables");
        } else {
            click(forms::frmMain, "cmdLabBook");
            click(forms::frmLBUser, "cmdExplore");
        }
        QApplication::processEvents();
        const double width = text().viewport()->width();
        ASSERT_GT(width, 400);
        int tables = 0;
        for (QTextBlock b = doc().begin(); b.isValid(); b = b.next()) {
            QTextTable* t = QTextCursor(b).currentTable();
            if (!t) continue;
            if (t->cellAt(0, 0).firstCursorPosition().block() == b) {
                ++tables;
                const QRectF r = doc().documentLayout()->frameBoundingRect(t);
                EXPECT_LE(r.right(), width) << "table at block " << b.blockNumber();
            }
            // A line of a cell ends between words, never inside one.
            const QTextLayout* l = b.layout();
            for (int i = 0; l && i + 1 < l->lineCount(); ++i) {
                const QTextLine line = l->lineAt(i);
                const QChar last = b.text().at(line.textStart() + line.textLength() - 1);
                EXPECT_TRUE(last.isSpace()) << "\"" << b.text().toStdString() << "\" is broken";
            }
        }
        EXPECT_GT(tables, 40);
    }
}
