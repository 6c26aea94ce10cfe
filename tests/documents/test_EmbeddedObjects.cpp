// Embedded objects in the control through ScrivoOLE, loaded as the program loads it: objects
// of a document drawn where their result stood and written back byte for byte, damaged objects,
// a server's edit taken in and written anew, the window messages of two controls. The cases
// named WithoutTheLibrary run with the library missing (a second run of this executable).

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <memory>

#include "ObjectBytes.h"
#include "documents/EmbeddedObjects.h"
#include "documents/RtfFormat.h"
#include "documents/ScrivoControl.h"
#include "documents/ScrivoOle.h"
#include "shell/Dialogs.h"
#include "tests/documents/ControlPoints.h"
#include "tests/documents/TestDocs.h"
#include "tests/support/Files.h"
#include "tests/support/UnaskedAnswers.h"

using namespace vasora::documents;
using vasora::test::rtf;

// The program's exports that the library calls.
extern "C" void* SCRIVO_GETHWNDCONTROL(std::uint32_t window);
extern "C" std::intptr_t SCRIVO_SENDMESSAGE(std::uint32_t window, std::uint32_t message,
                                            std::uintptr_t first, std::intptr_t second);

namespace {

using scrivotest::green;
using scrivotest::redAndBlue;
constexpr QRgb kRed = 0xFF000000 | scrivotest::kRed, kBlue = 0xFF000000 | scrivotest::kBlue,
               kGreen = 0xFF000000 | scrivotest::kGreen;

QByteArray bytes(const std::string& s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}
QByteArray hex(const std::vector<std::uint8_t>& b) {
    return bytes(scrivotest::toHex(b));
}

// What a word processor shows for the object: a small green picture, 40 x 20 pixels.
QByteArray greenResult() {
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(kGreen);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return "{\\pict\\pngblip\\picw40\\pich20\\picwgoal600\\pichgoal300 " + png.toHex() + "}";
}

QByteArray objectGroup(const QByteArray& objdata, const QByteArray& result = greenResult()) {
    return "{\\object\\objemb{\\*\\objclass Paint.Picture}{\\*\\objdata " + objdata +
           "}{\\result " + result + "}}";
}

// A picture of a red left half and a blue right half, embedded from "halves.bmp".
QByteArray pictureGroup() {
    return objectGroup(
        hex(scrivotest::ole1("Paint.Picture", "halves.bmp", scrivotest::bmpFile(40, 20, redAndBlue),
                             scrivotest::noPresentation())));
}

class Embedded : public ::testing::Test {
  protected:
    void SetUp() override {
        seamGuard = std::make_unique<vasora::ui::SeamGuard>(seam);
        ASSERT_TRUE(dir.isValid());
        qputenv("SCRIVOOLE_REGISTRY",
                qgetenv("VASORA_SOURCE_DIR") + "/tests/documents/fixtures/objects.reg");
        control.resize(600, 400);
        control.show();
    }
    void TearDown() override {
        vasora::test::expectEveryAnswerAsked(seam);
        vasora::documents::ole::setHostHooks(nullptr);
    }

    QString write(const QString& name, const QByteArray& data) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(vasora::test::writeFile(path, data));
        return path;
    }
    bool load(const QByteArray& data, ScrivoControl& c) {
        c.setFileName(write(c.objectName() + ".rtf", data));
        c.setFileFormat(kFormatRichText);
        return c.setLoadNow(1);
    }
    QByteArray save(ScrivoControl& c, const QString& name) {
        c.setFileName(dir.filePath(name));
        c.setRangeStart(0);
        c.setRangeLength(c.TextLength());
        EXPECT_TRUE(c.setSaveNow(1));
        return vasora::test::readFile(dir.filePath(name));
    }
    // The positions of the pictures (object replacement characters) of the document.
    std::vector<int> pictures(ScrivoControl& c) {
        std::vector<int> at;
        const QString text = c.document()->toPlainText();
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i] == QChar::ObjectReplacementCharacter) at.push_back(int(i));
        return at;
    }
    QTextImageFormat pictureFormat(ScrivoControl& c, int position) {
        QTextCursor cur(c.document());
        cur.setPosition(position + 1);
        return cur.charFormat().toImageFormat();
    }
    QImage shown(ScrivoControl& c, int position) {
        return c.document()
            ->resource(QTextDocument::ImageResource, QUrl(pictureFormat(c, position).name()))
            .value<QImage>();
    }
    bool drawnByObject(ScrivoControl& c, int position) {
        return pictureFormat(c, position).name().startsWith(QLatin1String(kObjectPictureScheme));
    }

    vasora::ui::ScriptedSeam seam;
    std::unique_ptr<vasora::ui::SeamGuard> seamGuard;
    QTemporaryDir dir;
    ScrivoControl control{QStringLiteral("scrivoTest")};
};

struct Launch {
    QString command, file;
};
std::vector<Launch> g_launches;

std::int32_t SCRIVOOLE_CALL recordLaunch(void*, const char* command, const char* file,
                                         const char*) {
    g_launches.push_back({QString::fromLocal8Bit(command), QString::fromLocal8Bit(file)});
    return 1;
}

// Runs only in the run with the library.
class WithTheLibrary : public Embedded {
  protected:
    void SetUp() override {
        Embedded::SetUp();
        ASSERT_NE(ole::library(), nullptr)
            << "VASORA_SCRIVOOLE=" << qgetenv("VASORA_SCRIVOOLE").constData();
        g_launches.clear();
        ScrivoHostHooks hooks{};
        hooks.launch = recordLaunch;
        ole::setHostHooks(&hooks);
    }
};

// Runs only in the run without the library.
class WithoutTheLibrary : public Embedded {};

}  // namespace

TEST_F(WithTheLibrary, AnObjectIsDrawnWhereItsResultStoodAndWrittenBackByteForByte) {
    const QByteArray group = pictureGroup();
    ASSERT_TRUE(load(rtf("Before " + group + " after."), control));
    ASSERT_EQ(control.embeddedObjects().count(), 1);
    EXPECT_FALSE(control.document()->isModified());
    EXPECT_TRUE(g_launches.empty());
    const auto at = pictures(control);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_NE(control.embeddedObjects().objectAt(*control.document(), at[0]), nullptr);
    EXPECT_EQ(control.embeddedObjects().objectAt(*control.document(), at[0] - 1), nullptr);
    // The object's own picture, not the green one the file showed, at the size the file gave.
    ASSERT_TRUE(drawnByObject(control, at[0]));
    const QImage img = shown(control, at[0]);
    ASSERT_EQ(img.size(), QSize(40, 20));
    EXPECT_EQ(img.pixel(5, 10), kRed);
    EXPECT_EQ(img.pixel(35, 10), kBlue);
    EXPECT_EQ(pictureFormat(control, at[0]).width(), 40);
    EXPECT_EQ(control.document()->toPlainText(), QStringLiteral("Before \uFFFC after."));

    // Unchanged, the object keeps the bytes it was read from, and a second write is the first.
    const QByteArray first = save(control, "first.rtf");
    EXPECT_TRUE(first.contains(group));
    EXPECT_EQ(save(control, "second.rtf"), first);
    QTextDocument again;
    EXPECT_TRUE(readRtf(first, again).clean());
}

TEST_F(WithTheLibrary, DamagedObjectsAreEmptyFramesAndKeepTheirBytes) {
    const auto good =
        scrivotest::ole1("Paint.Picture", "halves.bmp", scrivotest::bmpFile(40, 20, redAndBlue),
                         scrivotest::noPresentation());
    auto longer = good;  // the native data claims a byte more than there is
    longer.resize(longer.size() - scrivotest::noPresentation().size() - 1);
    const std::vector<QByteArray> groups = {
        objectGroup(hex(longer)),
        objectGroup("0105000001000000" + hex(good).mid(16)),  // a linked object
        objectGroup("01050000020000ffffffff7f"),              // a class name past the end
        objectGroup("zz"),
        objectGroup(""),
    };
    QByteArray body;
    for (const QByteArray& g : groups) body += g + "\\par ";
    ASSERT_TRUE(load(rtf(body), control));
    ASSERT_EQ(control.embeddedObjects().count(), int(groups.size()));
    // Read without a message and without starting anything.
    EXPECT_TRUE(seam.shown.empty());
    EXPECT_TRUE(g_launches.empty());
    for (int at : pictures(control)) {
        ASSERT_TRUE(drawnByObject(control, at)) << at;
        const QImage img = shown(control, at);
        ASSERT_EQ(img.size(), QSize(100, 100)) << at;
        EXPECT_NE(img.pixel(0, 0), img.pixel(50, 50)) << at;  // a frame, empty inside
    }
    const QByteArray saved = save(control, "saved.rtf");
    for (const QByteArray& g : groups) EXPECT_TRUE(saved.contains(g)) << g.left(60).constData();
}

TEST_F(WithTheLibrary, AGroupWithoutObjectDataKeepsShowingItsResult) {
    const QByteArray group =
        "{\\object\\objautlink{\\*\\objclass Paint.Picture}{\\result " + greenResult() + "}}";
    ASSERT_TRUE(load(rtf(group), control));
    EXPECT_EQ(control.embeddedObjects().count(), 0);
    const auto at = pictures(control);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_FALSE(drawnByObject(control, at[0]));
    EXPECT_TRUE(save(control, "saved.rtf").contains(group));
}

TEST_F(WithTheLibrary, AServersEditIsDrawnAndWrittenAnew) {
    ScrivoControl other(QStringLiteral("scrivoOther"));
    const QByteArray group = pictureGroup();
    ASSERT_TRUE(load(rtf("Picture: " + group), control));
    ASSERT_TRUE(load(rtf("Picture: " + group), other));
    const int at = pictures(control).at(0);

    // A double click opens the object in its server, on a copy of its data.
    QTest::mouseDClick(control.viewport(), Qt::LeftButton, {},
                       vasora::test::characterPoint(control, at));
    ASSERT_EQ(g_launches.size(), 1u);
    EXPECT_EQ(g_launches[0].command, "picture-editor %1");
    EXPECT_EQ(vasora::test::readFile(g_launches[0].file),
              bytes(scrivotest::bmpFile(40, 20, redAndBlue)));
    EXPECT_FALSE(control.document()->isModified());

    // The server saves a new picture; the library's report redraws the object at its new size
    // and modifies the document, this control's only.
    const QByteArray edited = bytes(scrivotest::bmpFile(30, 30, green));
    QFile server(g_launches[0].file);
    ASSERT_TRUE(server.open(QIODevice::WriteOnly));
    server.write(edited);
    server.close();
    EXPECT_EQ(ole::library()->poll(), 1);
    EXPECT_TRUE(control.document()->isModified());
    EXPECT_FALSE(other.document()->isModified());
    EXPECT_EQ(shown(control, at).pixel(15, 15), kGreen);
    ScrivoRect r{};
    auto* object = control.embeddedObjects().objectAt(*control.document(), at);
    object->ops->GetRect(object, &r);
    EXPECT_EQ(pictureFormat(control, at).width(), r.right - r.left);
    EXPECT_EQ(shown(other, pictures(other).at(0)).pixel(5, 10), kRed);

    // Saved, the object is written anew with the server's data; read again and saved again,
    // it gives the same bytes.
    const QByteArray saved = save(control, "edited.rtf");
    EXPECT_FALSE(saved.contains(group));
    const qsizetype data = objectDataStart(saved.mid(saved.indexOf("{\\object")));
    ASSERT_GT(data, 0);
    const QByteArray objdata = saved.mid(saved.indexOf("{\\object") + data);
    scrivotest::Ole1Parts parts;
    ASSERT_TRUE(scrivotest::readOle1(
        scrivotest::fromHex(objdata.left(objdata.indexOf('}')).toStdString()), parts));
    EXPECT_EQ(parts.className, "Paint.Picture");
    EXPECT_EQ(parts.topic, "halves.bmp");
    EXPECT_EQ(bytes(parts.native), edited);
    EXPECT_EQ(save(control, "again.rtf"), saved);
    ASSERT_TRUE(load(saved, other));
    EXPECT_EQ(save(other, "reread.rtf"), saved);
    EXPECT_EQ(shown(other, pictures(other).at(0)).pixel(15, 15), kGreen);
}

TEST_F(WithTheLibrary, AnEditOfAnObjectDeletedMeanwhileChangesNothing) {
    ASSERT_TRUE(load(rtf("Picture: " + pictureGroup()), control));
    const int at = pictures(control).at(0);
    QTest::mouseDClick(control.viewport(), Qt::LeftButton, {},
                       vasora::test::characterPoint(control, at));
    ASSERT_EQ(g_launches.size(), 1u);
    QTextCursor c(control.document());
    c.setPosition(at);
    c.deleteChar();
    control.document()->setModified(false);
    ASSERT_TRUE(
        vasora::test::writeFile(g_launches[0].file, bytes(scrivotest::bmpFile(30, 30, green))));
    ole::library()->poll();
    EXPECT_FALSE(control.document()->isModified());
    EXPECT_EQ(save(control, "saved.rtf"), save(control, "again.rtf"));
    EXPECT_FALSE(vasora::test::readFile(dir.filePath("saved.rtf")).contains("\\object"));
}

TEST_F(WithTheLibrary, ObjectsGoWithTheirDocument) {
    ASSERT_TRUE(load(rtf(pictureGroup() + "\\par " + pictureGroup()), control));
    EXPECT_EQ(control.embeddedObjects().count(), 2);
    ASSERT_TRUE(load(rtf("No objects."), control));
    EXPECT_EQ(control.embeddedObjects().count(), 0);
    // The library names controls by their window: a message for another control's object, or
    // for a window gone with its control, changes nothing.
    EXPECT_EQ(SCRIVO_GETHWNDCONTROL(control.objectWindow()), static_cast<QWidget*>(&control));
    auto gone = std::make_unique<ScrivoControl>(QStringLiteral("scrivoGone"));
    ASSERT_TRUE(load(rtf(pictureGroup()), *gone));
    auto* theirs = gone->embeddedObjects().objectAt(*gone->document(), pictures(*gone).at(0));
    ASSERT_NE(theirs, nullptr);
    EXPECT_EQ(SCRIVO_SENDMESSAGE(control.objectWindow(), SCRIVOOLE_MSG_OBJECTCHANGED, 0,
                                 reinterpret_cast<std::intptr_t>(theirs)),
              0);
    EXPECT_FALSE(control.document()->isModified());
    const std::uint32_t window = gone->objectWindow();
    gone.reset();
    EXPECT_EQ(SCRIVO_GETHWNDCONTROL(window), nullptr);
    EXPECT_EQ(SCRIVO_SENDMESSAGE(window, SCRIVOOLE_MSG_OBJECTCHANGED, 0, 0), 0);
}

// Hooks a host sets before the library is first loaded are the ones the library is given. Run
// first in a process of its own (its own ctest entry), where nothing has loaded the library yet.
std::vector<QString> g_hookErrors;

void SCRIVOOLE_CALL recordError(void*, const char* text) {
    g_hookErrors.push_back(QString::fromLocal8Bit(text));
}

TEST(HooksSetFirst, AreKeptWhenTheLibraryLoads) {
    vasora::ui::ScriptedSeam seam;
    vasora::ui::SeamGuard guard(seam);
    g_hookErrors.clear();
    ScrivoHostHooks hooks{};
    hooks.showError = recordError;
    ole::setHostHooks(&hooks);
    ScrivoControl control{QStringLiteral("scrivoHooks")};
    ASSERT_NE(ole::library(), nullptr);
    // Binding the library to the program a second time is refused with an error box: the
    // host's.
    auto bind = reinterpret_cast<decltype(&SET_OLDCREATOR)>(
        QLibrary::resolve(qEnvironmentVariable("VASORA_SCRIVOOLE"), "SET_OLDCREATOR"));
    ASSERT_NE(bind, nullptr);
    std::int32_t slot = 0;
    EXPECT_EQ(bind(dlopen(nullptr, RTLD_LAZY), 1, &slot), 0);
    ole::setHostHooks(nullptr);
    EXPECT_TRUE(seam.shown.empty());
    ASSERT_FALSE(g_hookErrors.empty());
    EXPECT_TRUE(g_hookErrors.back().contains(QLatin1String("old module handler")));
}

TEST(ObjectData, StartsPastItsControlWordAndNeverInsideOtherData) {
    EXPECT_EQ(objectDataStart("{\\object\\objemb\\objw100{\\*\\objdata 0105}"), 35);
    EXPECT_EQ(objectDataStart("{\\object{\\*\\objdata\r\n0105}"), 19);
    // Escaped text, a longer word and binary data that looks like the word are passed over.
    EXPECT_EQ(objectDataStart("{\\object{\\result \\\\objdata x}}"), -1);
    EXPECT_EQ(objectDataStart("{\\object{\\*\\objdatax 01}}"), -1);
    EXPECT_EQ(objectDataStart("{\\object{\\bin9 \\objdata }}"), -1);
    EXPECT_EQ(objectDataStart("{\\object{\\bin99999999 \\objdata "), -1);
    EXPECT_EQ(objectDataStart("\\"), -1);
}

TEST(ObjectData, TypedTextTakesNoPictureOrObjectFromItsNeighbour) {
    QTextImageFormat object;
    object.setName(QStringLiteral("vasora-ole:1-1"));
    object.setWidth(40);
    object.setProperty(kObjectRtfProperty, QByteArray("{\\object}"));
    object.setProperty(kObjectIdProperty, 1);
    object.setProperty(kTagCodeProperty, 61000);
    object.setFontItalic(true);
    const QTextCharFormat text = textFormatOf(object);
    EXPECT_FALSE(text.isImageFormat());
    EXPECT_FALSE(text.hasProperty(kObjectRtfProperty));
    EXPECT_FALSE(text.hasProperty(kObjectIdProperty));
    EXPECT_FALSE(text.hasProperty(QTextFormat::ImageName));
    EXPECT_EQ(text.intProperty(kTagCodeProperty), 61000);
    EXPECT_TRUE(text.fontItalic());
}

TEST_F(WithoutTheLibrary, ObjectsAreKeptAsTheyWereRead) {
    ASSERT_EQ(ole::library(), nullptr);
    const QByteArray group = pictureGroup();
    ASSERT_TRUE(load(rtf("Before " + group + " after.\\par"), control));
    EXPECT_FALSE(control.embeddedObjects().available());
    EXPECT_EQ(control.embeddedObjects().count(), 0);
    const auto at = pictures(control);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_FALSE(drawnByObject(control, at[0]));
    EXPECT_EQ(shown(control, at[0]).pixel(5, 10), kGreen);  // what the file showed
    const QByteArray first = save(control, "first.rtf");
    EXPECT_TRUE(first.contains(group));
    EXPECT_EQ(save(control, "second.rtf"), first);
    // Nothing can be inserted, and trying changes nothing.
    EXPECT_FALSE(control.insertObject(QStringLiteral("*"), 1, 1, {}));
    EXPECT_FALSE(control.document()->isModified());
}
