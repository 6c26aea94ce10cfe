// Pictures and other objects in a learner's lab book, put in through the display's "Insert
// Object…" as the learner does it, with ScrivoOLE's insert-object dialog answered through its
// host hooks: saved, opened again in the next run of the program, edited by their server, and
// opened in a word processor. The cases of WithoutTheLibrary run with the library missing.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "ObjectBytes.h"
#include "documents/EmbeddedObjects.h"
#include "documents/RtfFormat.h"
#include "documents/RtfPicture.h"
#include "documents/RtfReader.h"
#include "documents/ScrivoControl.h"
#include "documents/ScrivoOle.h"
#include "labbook/frmDisplay.h"
#include "tests/documents/ControlPoints.h"
#include "tests/labbook/LabBookDocs.h"
#include "tests/support/Files.h"
#include "tests/support/GuiFixture.h"

using namespace vasora;
using documents::ScrivoControl;
using labbook::frmDisplay;
using test::readFile;

namespace {

constexpr int kAnswer = 61000;
using scrivotest::green;
using scrivotest::redAndBlue;
constexpr QRgb kRed = 0xFF000000 | scrivotest::kRed, kBlue = 0xFF000000 | scrivotest::kBlue,
               kGreen = 0xFF000000 | scrivotest::kGreen;

QByteArray bytes(const std::string& s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}

QString shipped(const QString& name) {
    return qEnvironmentVariable("VASORA_SOURCE_DIR") + QStringLiteral("/content/") + name;
}

// The library's insert-object dialog and servers, answered and recorded.
struct Library {
    int dialogs = 0;
    bool confirm = true;
    QString file;
    QStringList launched;
} g_library;

std::int32_t SCRIVOOLE_CALL answerDialog(void*, ScrivoString* className, ScrivoString* file) {
    ++g_library.dialogs;
    const QByteArray path = g_library.file.toLocal8Bit();
    *file = documents::ole::library()->allocString(path.constData(), quint32(path.size()));
    (void)className;
    return g_library.confirm ? 1 : 0;
}

std::int32_t SCRIVOOLE_CALL recordLaunch(void*, const char*, const char* file, const char*) {
    g_library.launched << QString::fromLocal8Bit(file);
    return 1;
}

// The object data of the first object of an RTF file, as bytes.
std::vector<std::uint8_t> firstObjectData(const QByteArray& rtf) {
    const qsizetype object = rtf.indexOf("{\\object");
    if (object < 0) return {};
    const QByteArray group = rtf.mid(object);
    const qsizetype data = documents::objectDataStart(group);
    if (data < 0) return {};
    return scrivotest::fromHex(group.mid(data, group.indexOf('}', data) - data).toStdString());
}

class LabBookObjects : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        project = QDir(dir.path()).canonicalPath() + QLatin1Char('/');
        ASSERT_TRUE(
            test::writeBook(*test::compileBook(test::courseSource()), project + "FinalLB.rtf"));
        ASSERT_TRUE(QFile::copy(shipped("FinalNT.rtf"), project + "FinalNT.rtf"));
        picture = project + "halves.bmp";
        QFile bmp(picture);
        ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
        bmp.write(bytes(scrivotest::bmpFile(40, 20, redAndBlue)));
        bmp.close();
        qputenv("SCRIVOOLE_REGISTRY",
                qgetenv("VASORA_SOURCE_DIR") + "/tests/documents/fixtures/objects.reg");
        g_library = Library{};
        g_library.file = picture;
        start();
        fixProjectPaths(project);
    }

    frmDisplay* display() { return forms::existing<frmDisplay>(forms::frmDisplay); }
    ScrivoControl& text() { return *display()->text(); }
    QTextDocument& doc() { return *text().document(); }
    documents::TagSpan answer() { return test::tagsWithCode(doc(), kAnswer).at(0); }

    void newLabBook(const QString& name) {
        click(forms::frmMain, "cmdLabBook");
        seam.paths.push_back(project + "Lab Book/" + name);
        click(forms::frmLBUser, "cmdSaveNewFile");
        ASSERT_EQ(appState().LabBookState, 2);
    }
    // The next run of the program, retrieving the book.
    void reopen(const QString& file) {
        restart();
        fixProjectPaths(project);
        click(forms::frmMain, "cmdLabBook");
        seam.paths.push_back(file);
        click(forms::frmLBUser, "cmdRetrieveFile");
        ASSERT_EQ(appState().LabBookState, 2);
    }
    void place(int position) {
        QTextCursor c(&doc());
        c.setPosition(position);
        text().setTextCursor(c);
    }
    // Right-clicks at the character `position` (the place of a cursor there) and acts on the
    // menu with `choose` while it is shown; it is then closed unless `choose` chose an item.
    void withTextMenu(int position, const std::function<void(QMenu&)>& choose) {
        QApplication::processEvents();
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            shown = true;
            choose(*menu);
            if (menu->isVisible()) menu->close();
        });
        QTextCursor c(&doc());
        c.setPosition(position);
        const QRect where = text().cursorRect(c);
        const QPoint at(where.left(), where.center().y());
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, text().viewport()->mapToGlobal(at));
        QApplication::sendEvent(text().viewport(), &e);
        EXPECT_TRUE(shown) << "no menu at " << position;
    }
    QAction* insertItem(QMenu& menu) {
        auto* insert = menu.findChild<QAction*>(QStringLiteral("mnuInsertObject"));
        EXPECT_NE(insert, nullptr);
        EXPECT_EQ(menu.objectName(), QStringLiteral("mnuText"));
        if (insert) {
            EXPECT_EQ(insert->text(), QStringLiteral("Insert Object\u2026"));
        }
        return insert;
    }
    // Whether the menu of a right click at `position` offers "Insert Object…"; the click puts
    // the cursor there.
    bool offered(int position) {
        place(position);
        bool enabled = false;
        withTextMenu(position, [&](QMenu& menu) {
            QAction* insert = insertItem(menu);
            enabled = insert && insert->isEnabled();
        });
        EXPECT_EQ(text().textCursor().position(), position);
        return enabled;
    }
    void insertObjectAt(int position) {
        place(position);
        withTextMenu(position, [&](QMenu& menu) {
            QAction* insert = insertItem(menu);
            ASSERT_TRUE(insert && insert->isEnabled());
            menu.setActiveAction(insert);
            QTest::keyClick(&menu, Qt::Key_Return);
        });
    }
    int objectPosition() {
        return int(doc().toPlainText().indexOf(QChar::ObjectReplacementCharacter));
    }
    QImage shownPicture(int position) {
        QTextCursor c(&doc());
        c.setPosition(position + 1);
        const QString name = c.charFormat().toImageFormat().name();
        if (!name.startsWith(QLatin1String(documents::kObjectPictureScheme))) return {};
        return doc().resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
    }
    void clickSave() {
        const auto tags = test::tagsWithCode(doc(), 54000);
        ASSERT_FALSE(tags.empty());
        QTextCursor c(&doc());
        c.setPosition(tags[0].start + 1);
        text().setTextCursor(c);
        text().ensureCursorVisible();
        QApplication::processEvents();
        QTest::mouseClick(text().viewport(), Qt::LeftButton, {}, text().cursorRect(c).center());
        EXPECT_FALSE(display()->changedSinceSaved());
    }

    QTemporaryDir dir;
    QString project;
    QString picture;
};

class WithTheLibrary : public LabBookObjects {
  protected:
    void SetUp() override {
        LabBookObjects::SetUp();
        ASSERT_NE(documents::ole::library(), nullptr);
        ScrivoHostHooks hooks{};
        hooks.insertObject = answerDialog;
        hooks.launch = recordLaunch;
        documents::ole::setHostHooks(&hooks);
    }
    void TearDown() override {
        documents::ole::setHostHooks(nullptr);
        LabBookObjects::TearDown();
    }
    // A book with the picture inserted in the middle of its answer field and saved.
    void bookWithPicture() {
        newLabBook("mine");
        insertObjectAt(answer().start + 4);
        ASSERT_EQ(g_library.dialogs, 1);
        ASSERT_EQ(objectPosition(), answer().start + 4);
        clickSave();
    }
};

class WithoutTheLibrary : public LabBookObjects {};

}  // namespace

TEST_F(WithTheLibrary, APictureInAnAnswerIsSavedAndThereWhenTheBookIsOpenedAgain) {
    newLabBook("mine");
    const QString before = documents::tagText(doc(), answer());
    ASSERT_GT(before.size(), 4);
    insertObjectAt(answer().start + 4);
    EXPECT_EQ(g_library.dialogs, 1);
    // The picture is part of the answer, drawn as the picture file shows it.
    const QString withPicture = before.left(4) + QChar::ObjectReplacementCharacter;
    EXPECT_EQ(documents::tagText(doc(), answer()), withPicture + before.mid(4));
    const int at = objectPosition();
    ASSERT_EQ(at, answer().start + 4);
    const QImage drawn = shownPicture(at);
    ASSERT_EQ(drawn.size(), QSize(40, 20));
    EXPECT_EQ(drawn.pixel(5, 10), kRed);
    EXPECT_EQ(drawn.pixel(35, 10), kBlue);
    EXPECT_TRUE(display()->changedSinceSaved());
    // Typing goes on behind it as text of the answer.
    QTest::keyClicks(&text(), QStringLiteral("!"));
    EXPECT_EQ(documents::tagText(doc(), answer()), withPicture + "!" + before.mid(4));
    QTextCursor typed(&doc());
    typed.setPosition(at + 2);
    EXPECT_FALSE(typed.charFormat().isImageFormat());
    EXPECT_FALSE(typed.charFormat().hasProperty(documents::kObjectRtfProperty));

    clickSave();
    const QString file = appState().LabBookFile;
    const QByteArray saved = readFile(file);
    QTextDocument read;
    EXPECT_TRUE(documents::readRtf(saved, read).clean());
    scrivotest::Ole1Parts parts;
    ASSERT_TRUE(scrivotest::readOle1(firstObjectData(saved), parts));
    EXPECT_EQ(parts.className, "Paint.Picture");
    EXPECT_EQ(parts.topic, "halves.bmp");
    EXPECT_EQ(bytes(parts.native), readFile(picture));
    EXPECT_TRUE(saved.contains("{\\result {\\pict\\wmetafile8"));
    clickSave();
    EXPECT_EQ(readFile(file), saved);

    // The next run of the program: the picture is there, in the answer, drawn, unchanged.
    reopen(file);
    EXPECT_EQ(text().embeddedObjects().count(), 1);
    EXPECT_EQ(documents::tagText(doc(), answer()), withPicture + "!" + before.mid(4));
    const QImage again = shownPicture(objectPosition());
    ASSERT_EQ(again.size(), QSize(40, 20));
    EXPECT_EQ(again.pixel(5, 10), kRed);
    EXPECT_EQ(again.pixel(35, 10), kBlue);
    EXPECT_FALSE(display()->changedSinceSaved());
    clickSave();
    EXPECT_EQ(readFile(file), saved);
}

TEST_F(WithTheLibrary, InsertObjectIsOfferedOnlyInsideAnAnswer) {
    newLabBook("mine");
    const documents::TagSpan a = answer();
    EXPECT_TRUE(offered(a.start + 1));
    EXPECT_TRUE(offered(a.end()));
    EXPECT_FALSE(offered(a.start));  // before its first character
    // The right click puts the cursor where it was made.
    place(a.start - 2);
    bool enabled = false;
    withTextMenu(a.end(), [&](QMenu& menu) { enabled = insertItem(menu)->isEnabled(); });
    EXPECT_TRUE(enabled);
    EXPECT_EQ(text().textCursor().position(), a.end());
    EXPECT_FALSE(offered(0));
    EXPECT_FALSE(offered(test::tagsWithCode(doc(), 32014).at(0).start + 2));  // an input cell
    EXPECT_FALSE(offered(test::tagsWithCode(doc(), 21011).at(0).start + 2));  // an output cell
    EXPECT_EQ(g_library.dialogs, 0);
    // On a selection the menu leaves it, to be copied: one outside the answer offers nothing.
    QTextCursor selection(&doc());
    selection.setPosition(0);
    selection.setPosition(a.end(), QTextCursor::KeepAnchor);
    text().setTextCursor(selection);
    withTextMenu(a.start + 1, [&](QMenu& menu) { enabled = insertItem(menu)->isEnabled(); });
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(text().textCursor().hasSelection());
    // A dialog cancelled puts nothing in.
    g_library.confirm = false;
    insertObjectAt(a.start + 1);
    EXPECT_EQ(g_library.dialogs, 1);
    EXPECT_EQ(objectPosition(), -1);
    EXPECT_FALSE(display()->changedSinceSaved());
    // So does a file of a type no class is registered for, and no message box is left open.
    g_library.confirm = true;
    g_library.file = project + "FinalLB.rtf";
    insertObjectAt(a.start + 1);
    EXPECT_EQ(objectPosition(), -1);
    EXPECT_FALSE(display()->changedSinceSaved());
}

TEST_F(WithTheLibrary, ADoubleClickOpensThePictureInItsServerAndItsEditIsSaved) {
    bookWithPicture();
    const int at = objectPosition();
    QTest::mouseDClick(text().viewport(), Qt::LeftButton, {}, test::pointInView(text(), at));
    ASSERT_EQ(g_library.launched.size(), 1);
    EXPECT_EQ(readFile(g_library.launched[0]), readFile(picture));

    // The server saves; the display shows the new picture and the book has changed.
    QFile edited(g_library.launched[0]);
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    const QByteArray greenPicture = bytes(scrivotest::bmpFile(30, 30, green));
    edited.write(greenPicture);
    edited.close();
    documents::ole::library()->poll();
    EXPECT_TRUE(display()->changedSinceSaved());
    EXPECT_EQ(shownPicture(at).pixel(15, 15), kGreen);
    clickSave();
    scrivotest::Ole1Parts parts;
    ASSERT_TRUE(scrivotest::readOle1(firstObjectData(readFile(appState().LabBookFile)), parts));
    EXPECT_EQ(bytes(parts.native), greenPicture);
}

TEST_F(WithTheLibrary, ThePictureOpensInAWordProcessor) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    bookWithPicture();
    const QString file = appState().LabBookFile;
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    auto convert = [&](const QString& to) {
        QProcess p;
        p.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                              QUrl::fromLocalFile(out.filePath("profile")).toString(),
                          QStringLiteral("--headless"), QStringLiteral("--convert-to"), to,
                          QStringLiteral("--outdir"), out.path(), file});
        EXPECT_TRUE(p.waitForFinished(180000)) << "soffice --convert-to " << to.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    };
    // As flat OpenDocument: the object is a frame holding the embedded object and the picture
    // it shows, which is the picture inserted.
    convert(QStringLiteral("fodt"));
    const QByteArray odt = readFile(out.filePath(QStringLiteral("mine.fodt")));
    ASSERT_FALSE(odt.isEmpty());
    const qsizetype frame = odt.indexOf("<draw:frame");
    ASSERT_GE(frame, 0);
    EXPECT_GT(odt.indexOf("<draw:object", frame), frame);
    const qsizetype image = odt.indexOf("<draw:image", frame);
    ASSERT_GT(image, frame);
    const qsizetype data = odt.indexOf("<office:binary-data>", image);
    ASSERT_GT(data, image);
    const qsizetype begin = data + qsizetype(qstrlen("<office:binary-data>"));
    const QByteArray shown =
        QByteArray::fromBase64(odt.mid(begin, odt.indexOf("</office:binary-data>", begin) - begin)
                                   .simplified()
                                   .replace(' ', ""));
    QString why;
    const QImage picture = documents::bitmapFromMetafile(shown, &why);
    ASSERT_EQ(picture.size(), QSize(40, 20)) << why.toStdString();
    EXPECT_EQ(picture.pixel(5, 10), kRed);
    EXPECT_EQ(picture.pixel(35, 10), kBlue);
    // As text, the book around it is still there.
    convert(QStringLiteral("txt:Text"));
    EXPECT_TRUE(readFile(out.filePath(QStringLiteral("mine.txt"))).contains("Your prediction:"));
}

TEST_F(WithoutTheLibrary, ABookWithAnObjectOpensAndKeepsIt) {
    ASSERT_EQ(documents::ole::library(), nullptr);
    const QByteArray group =
        "{\\object\\objemb{\\*\\objdata " +
        bytes(scrivotest::toHex(scrivotest::ole1("Paint.Picture", "halves.bmp",
                                                 scrivotest::bmpFile(40, 20, redAndBlue),
                                                 scrivotest::noPresentation()))) +
        "}{\\result {\\pict\\picw40\\pich20\\picwgoal600\\pichgoal300 00}}}";
    // The object goes first into the answer, right after the start of its tag.
    QByteArray book = readFile(project + "FinalLB.rtf");
    const qsizetype tag = book.indexOf("{\\*\\bkmkstart vt61000_");
    ASSERT_GE(tag, 0);
    book.insert(book.indexOf('}', tag) + 1, group);
    QDir().mkpath(project + "Lab Book");
    const QString file = project + "Lab Book/object.rtf";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(book);
    f.close();

    reopen(file);
    EXPECT_EQ(text().embeddedObjects().count(), 0);
    EXPECT_TRUE(documents::tagText(doc(), answer()).startsWith(QChar::ObjectReplacementCharacter));
    EXPECT_FALSE(offered(answer().start + 1));
    clickSave();
    EXPECT_TRUE(readFile(file).contains(group));
}
