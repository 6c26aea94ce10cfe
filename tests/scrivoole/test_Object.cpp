// Extension objects: Create with its spec forms and limits, the rectangle, painting on screens
// and printers, activation in a server and the change it brings back.
#include <algorithm>
#include <fstream>

#include "ScrivoTest.h"

namespace fs = std::filesystem;
using namespace scrivotest;

namespace {

std::uint32_t quarters(int x, int y) {
    return x < 15 ? (y < 10 ? 0xFF0000u : 0x00FF00u) : (y < 10 ? 0x0000FFu : 0xFFFFFFu);
}

class Objects : public ::testing::Test {
  protected:
    void SetUp() override {
        installHooks();
        useRegistry(fixture("classes.reg"));
        picture = dir.write("picture.bmp", bmpFile(30, 20, quarters));
        object = newObject();
        ASSERT_NE(object, nullptr);
    }
    void TearDown() override { object->ops->Destroy(object, 1); }
    int create(const std::string& spec) { return object->ops->Create(object, spec.c_str()); }
    ScrivoRect rect() {
        ScrivoRect r{-1, -1, -1, -1};
        object->ops->GetRect(object, &r);
        return r;
    }

    TempDir dir;
    fs::path picture;
    ScrivoExtensionObject* object = nullptr;
};

TEST_F(Objects, RectWithoutAnItemIs100By100) {
    const ScrivoRect r = rect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.bottom, 100);
    EXPECT_EQ(object->ops->GetNumber(object), 0);
}

TEST_F(Objects, CreateFromAFileOfItsRegisteredType) {
    ASSERT_EQ(create("*" + picture.string()), 1);
    EXPECT_NE(object->item, nullptr);
    const ScrivoRect r = rect();
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.bottom, 20);
    const int number = object->ops->GetNumber(object);
    EXPECT_GT(number, 0);
    EXPECT_EQ(std::string(object->ops->GetName(object)), "ScrivoOLE " + std::to_string(number));
    EXPECT_TRUE(messages().empty());  // Create alone sends nothing
    EXPECT_TRUE(hooks().launches.empty());
}

TEST_F(Objects, CreateFromAFileWithAClassName) {
    EXPECT_EQ(create("Paint.Picture*" + picture.string()), 1);
    EXPECT_EQ(create("txtfile*" + picture.string()), 0);  // no class identifier
    EXPECT_EQ(object->item, nullptr);
    EXPECT_EQ(create("BadId*" + picture.string()), 0);  // identifier not braced
    EXPECT_EQ(create("Paint.Picture*" + (dir.path() / "missing.bmp").string()), 0);
}

TEST_F(Objects, CreateFailures) {
    EXPECT_EQ(create(""), 0);
    EXPECT_EQ(object->ops->Create(object, nullptr), 0);
    const auto noDot = dir.write("nodot", "data");
    EXPECT_EQ(create("*" + noDot.string()), 0);
    const auto unknown = dir.write("file.xyz", "data");
    EXPECT_EQ(create("*" + unknown.string()), 0);
    EXPECT_EQ(create("NoSuchClass"), 0);
    EXPECT_EQ(hooks().insertCalls, 0);
    EXPECT_EQ(object->item, nullptr);
}

// The class of "*path" is the type of the text after the path's last dot, found as GET_EXTASS
// finds it: a path that ends in its dot has no extension, even where a key "." exists.
TEST_F(Objects, APathEndingInADotHasNoType) {
    std::ifstream in(fixture("classes.reg"), std::ios::binary);
    const std::string classes(std::istreambuf_iterator<char>(in), {});
    useRegistry(
        dir.write("dot.reg", classes + "\r\n[HKEY_CLASSES_ROOT\\.]\r\n@=\"Paint.Picture\"\r\n"));
    EXPECT_EQ(take(GET_EXTASS("")), "");
    const auto dotted = dir.write("picture.", bmpFile(4, 4, quarters));
    EXPECT_EQ(create("*" + dotted.string()), 0);
    EXPECT_EQ(object->item, nullptr);
    EXPECT_EQ(create("*" + picture.string()), 1);
}

TEST_F(Objects, SpecOf500BytesProceedsAnd501Fails) {
    // Two files whose specs "*" + path are exactly 500 and 501 bytes long.
    const std::string base = dir.path().string() + "/";
    const std::size_t folderLength = 499 - base.size() - std::string("/p.bmp").size();
    std::string folder;
    while (folderLength - folder.size() > 100) folder += std::string(99, 'd') + "/";
    folder += std::string(folderLength - folder.size(), 'e');
    ASSERT_EQ(folder.size(), folderLength);
    const auto bytes = bmpFile(4, 4, quarters);
    const std::string spec500 = "*" + dir.write(folder + "/p.bmp", bytes).string();
    const std::string spec501 = "*" + dir.write(folder + "/pp.bmp", bytes).string();
    ASSERT_EQ(spec500.size(), 500u);
    ASSERT_EQ(spec501.size(), 501u);
    EXPECT_EQ(create(spec501), 0);
    EXPECT_EQ(create(spec500), 1);
}

TEST_F(Objects, CreateNewOpensTheServer) {
    ASSERT_EQ(create("Sound.Rec"), 1);
    ASSERT_EQ(hooks().launches.size(), 1u);
    EXPECT_EQ(hooks().launches[0].command, "soundrec.exe");
    EXPECT_EQ(fs::path(hooks().launches[0].file).filename(), "Object.wav");
    EXPECT_EQ(fs::file_size(hooks().launches[0].file), 0u);

    hooks().launchAnswer = 0;
    EXPECT_EQ(create("Sound.Rec"), 0);
    EXPECT_EQ(object->item, nullptr);
}

TEST_F(Objects, CreateThroughTheInsertObjectDialog) {
    hooks().insertAnswer = 0;
    EXPECT_EQ(create("*"), 0);
    EXPECT_EQ(hooks().insertCalls, 1);

    hooks().insertAnswer = 1;
    hooks().insertFile = picture.string();
    EXPECT_EQ(object->ops->CreateAndNotify(object, "*"), 1);
    EXPECT_EQ(rect().right, 30);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].message, 1361u);
    EXPECT_EQ(messages()[0].window, object->window);
    EXPECT_EQ(messages()[0].first, 0u);
    EXPECT_EQ(messages()[0].second, reinterpret_cast<std::intptr_t>(object));

    hooks().insertFile.clear();
    hooks().insertClass = "Sound.Rec";
    EXPECT_EQ(create("*"), 1);
    EXPECT_EQ(hooks().launches.back().command, "soundrec.exe");
    EXPECT_EQ(object->ops->CreateAndNotify(object, "NoSuchClass"), 0);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(Objects, PaintOnAScreenAndOnABandingPrinter) {
    ASSERT_EQ(create("*" + picture.string()), 1);
    Device screen(kScreenCaps, 96);
    object->ops->Paint(object, &screen.dc, 10, 5);
    ASSERT_EQ(screen.drawn.size(), 1u);
    const Drawn& s = screen.drawn[0];
    EXPECT_EQ(std::vector<int>({s.x, s.y, s.cx, s.cy, s.width, s.height}),
              std::vector<int>({10, 5, 30, 20, 30, 20}));
    EXPECT_EQ(s.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(s.pixel(29, 0), 0xFF0000FFu);
    EXPECT_EQ(s.pixel(0, 19), 0xFF00FF00u);

    Device printer(kPrinterCaps, 192);
    object->ops->Paint(object, &printer.dc, 0, 0);
    ASSERT_EQ(printer.drawn.size(), 1u);
    const Drawn& p = printer.drawn[0];
    EXPECT_EQ(std::vector<int>({p.cx, p.cy, p.width, p.height}),
              std::vector<int>({30, 20, 60, 40}));
    EXPECT_EQ(p.pixel(59, 39), 0xFFFFFFFFu);
    EXPECT_EQ(p.pixel(1, 1), 0xFFFF0000u);

    Device other(kScreenCaps, 96);
    object->ops->Draw(object, &other.dc, 3, 4);
    ASSERT_EQ(other.drawn.size(), 1u);
    EXPECT_EQ(std::vector<int>({other.drawn[0].x, other.drawn[0].y, other.drawn[0].cx}),
              std::vector<int>({3, 4, 30}));
}

TEST_F(Objects, AFileThatIsNoPictureShowsAnIconWithItsName) {
    const auto text = dir.write("notes.txt", "some text");
    ASSERT_EQ(create("Paint.Picture*" + text.string()), 1);
    Device screen(kScreenCaps, 96);
    object->ops->Draw(object, &screen.dc, 0, 0);
    ASSERT_EQ(screen.drawn.size(), 1u);
    const Drawn& d = screen.drawn[0];
    EXPECT_EQ(d.cx, d.width);
    // The label row under the page holds black glyph pixels, about six pixels per letter.
    int black = 0, left = d.width, right = 0;
    for (int y = d.height - 12; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x)
            if (d.pixel(x, y) == 0xFF000000u) {
                ++black;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GT(black, 40);
    EXPECT_NEAR(right - left + 1, 9 * 6 - 1, 2);
}

TEST_F(Objects, ActivateOpensATemporaryCopyAndTakesBackTheSavedChange) {
    ASSERT_EQ(create("*" + picture.string()), 1);
    EXPECT_EQ(ScrivoOLE_Poll(), 0);
    object->ops->Activate(object, 0, 0);
    ASSERT_EQ(hooks().launches.size(), 1u);
    const std::string file = hooks().launches[0].file;
    EXPECT_EQ(hooks().launches[0].command, "paintsrv %1");
    EXPECT_EQ(fs::path(file).filename(), "picture.bmp");
    EXPECT_NE(fs::path(file).parent_path(), picture.parent_path());
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bmpFile(30, 20, quarters));
    EXPECT_EQ(ScrivoOLE_Poll(), 0);
    EXPECT_TRUE(messages().empty());

    // The server saves a larger picture.
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        << bmpFile(50, 40, [](int, int) { return 0x123456u; });
    EXPECT_EQ(ScrivoOLE_Poll(), 1);
    EXPECT_EQ(object->changed, 1);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].second, reinterpret_cast<std::intptr_t>(object));
    EXPECT_EQ(rect().right, 50);
    EXPECT_EQ(rect().bottom, 40);
    EXPECT_EQ(ScrivoOLE_Poll(), 0);

    object->ops->DeleteItem(object);
    EXPECT_EQ(object->item, nullptr);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(rect().right, 100);
}

// A picture file cut short: the rows it lacks are blank, on the screen and in the document,
// whatever the memory they were decoded into held before (the tests run with a perturbed heap).
TEST_F(Objects, ATruncatedPictureCarriesNoMemoryOfTheProcess) {
    const auto colour = [](int x, int y) {
        return static_cast<std::uint32_t>(x * 4 << 16 | y * 4 << 8 | 0x40);
    };
    const auto lower = [](int x, int y) {
        return y < 56 ? 0xFFFFFFu : static_cast<std::uint32_t>(x * 4 << 16 | y * 4 << 8 | 0x40);
    };
    // Rows are stored bottom up: the eight rows present are the lowest.
    const std::string whole = bmpFile(64, 64, colour);
    const auto truncated = dir.write("cut.bmp", whole.substr(0, 14 + 40 + 8 * 64 * 3));
    ASSERT_EQ(create("Paint.Picture*" + truncated.string()), 1);
    Device screen(kScreenCaps, 96);
    object->ops->Draw(object, &screen.dc, 0, 0);
    ASSERT_EQ(screen.drawn.size(), 1u);
    const Drawn& d = screen.drawn[0];
    ASSERT_EQ(std::vector<int>({d.width, d.height}), std::vector<int>({64, 64}));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(d.pixel(x, y), y < 56 ? 0u : 0xFF000000u | colour(x, y)) << x << "," << y;

    // Saved, the picture is the one of a whole file with white rows in place of the missing.
    const auto save = [](ScrivoExtensionObject* o) {
        Writer w(true);
        EXPECT_EQ(o->ops->SaveRtf(o, &w.base, "RTF"), 1);
        return w.text;
    };
    const std::string cut = save(object);
    ScrivoExtensionObject* reference = newObject();
    const auto white = dir.write("white.bmp", bmpFile(64, 64, lower));
    ASSERT_EQ(reference->ops->Create(reference, ("Paint.Picture*" + white.string()).c_str()), 1);
    const std::string expected = save(reference);
    reference->ops->Destroy(reference, 1);
    const auto result = [](const std::string& rtf) { return rtf.substr(rtf.find("{\\result ")); };
    EXPECT_EQ(result(cut), result(expected));
    // The object data ends in the same presentation, after the native data (the file itself).
    const auto presentation = [](const std::string& rtf, const std::string& file) {
        const auto start = rtf.find("objdata ") + 8;
        const auto bytes = fromHex(rtf.substr(start, rtf.find('}', start) - start));
        const std::vector<std::uint8_t> native(file.begin(), file.end());
        const auto at = std::search(bytes.begin(), bytes.end(), native.begin(), native.end());
        EXPECT_NE(at, bytes.end());
        return std::vector<std::uint8_t>(at + static_cast<std::ptrdiff_t>(native.size()),
                                         bytes.end());
    };
    EXPECT_EQ(presentation(cut, whole.substr(0, 14 + 40 + 8 * 64 * 3)),
              presentation(expected, bmpFile(64, 64, lower)));
}

// Run-length compressed bitmaps have no reader that fills a picture cut short, so they show as
// the icon of a file that is no picture.
TEST_F(Objects, ACompressedBitmapCutShortShowsTheIcon) {
    std::string rle;
    const auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) rle += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    rle = "BM";
    put32(14 + 40 + 1024 + 32);
    put32(0);
    put32(14 + 40 + 1024);
    for (std::uint32_t v : {40u, 64u, 64u, 1u | 8u << 16, 1u, 32u, 2835u, 2835u, 256u, 0u})
        put32(v);
    for (int i = 0; i < 256; ++i) put32(static_cast<std::uint32_t>(i * 0x010101));
    // Eight rows of one run each, then the data ends without its end-of-bitmap mark.
    for (int row = 0; row < 8; ++row) rle += std::string{64, static_cast<char>(row * 10 + 5), 0, 0};
    const auto draw = [&](const std::string& content) {
        const auto file = dir.write("rle.bmp", content);
        EXPECT_EQ(create("Paint.Picture*" + file.string()), 1);
        Device screen(kScreenCaps, 96);
        object->ops->Draw(object, &screen.dc, 0, 0);
        EXPECT_EQ(screen.drawn.size(), 1u);
        return screen.drawn.empty() ? std::vector<std::uint8_t>() : screen.drawn[0].pixels;
    };
    EXPECT_EQ(draw(rle), draw("no picture"));
}

TEST_F(Objects, DestroyWithoutFreeKeepsTheObject) {
    ASSERT_EQ(create("*" + picture.string()), 1);
    object->ops->Destroy(object, 0);
    EXPECT_EQ(object->item, nullptr);
    EXPECT_EQ(object->version, 3);
}

}  // namespace
