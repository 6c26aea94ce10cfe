// SaveRtf and LoadRtf: the \object group's layout and line rules, the picture a word
// processor shows, the stop rules of the reader, and objects that cannot be read.
#include <fstream>

#include "ScrivoTest.h"

namespace fs = std::filesystem;
using namespace scrivotest;

namespace {

std::uint32_t stripes(int x, int) {
    return x % 2 ? 0x102030u : 0xF0E0D0u;
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

struct Saved {
    std::string objdata;  // between "{\*\objdata " and its closing brace
    std::string result;   // the whole "{\result ...}" group
};

// Splits SaveRtf's output along the layout it must have.
Saved split(const std::string& rtf) {
    const std::string head = "{\\object\\objemb{\\*\\objdata ";
    EXPECT_EQ(rtf.rfind(head, 0), 0u);
    const auto close = rtf.find('}', head.size());
    const auto result = rtf.find("{\\result ", close);
    EXPECT_EQ(result, close + 1);
    EXPECT_EQ(rtf.substr(rtf.size() - 2), "}}");
    return {rtf.substr(head.size(), close - head.size()),
            rtf.substr(result, rtf.size() - 1 - result)};
}

class Rtf : public ::testing::Test {
  protected:
    void SetUp() override {
        installHooks();
        useRegistry(fixture("classes.reg"));
        picture = dir.write("stripes.bmp", bmpFile(41, 17, stripes));
        object = newObject();
    }
    void TearDown() override {
        for (auto* o : {object, other})
            if (o) o->ops->Destroy(o, 1);
    }
    std::string save(ScrivoExtensionObject* o, bool compact, const char* format = "RTF") {
        Writer w(compact);
        EXPECT_EQ(o->ops->SaveRtf(o, &w.base, format), 1);
        for (auto n : w.pieces) EXPECT_LE(n, 12000u);
        return w.text;
    }
    ScrivoExtensionObject* load(const std::string& text, std::string* rest = nullptr) {
        if (!other) other = newObject();
        Reader r(text);
        EXPECT_EQ(other->ops->LoadRtf(other, &r.base, 0), 1);
        if (rest) *rest = r.rest();
        return other;
    }
    ScrivoRect rectOf(ScrivoExtensionObject* o) {
        ScrivoRect r{};
        o->ops->GetRect(o, &r);
        return r;
    }

    TempDir dir;
    fs::path picture;
    ScrivoExtensionObject* object = nullptr;
    ScrivoExtensionObject* other = nullptr;
};

TEST_F(Rtf, ObjectDataInLinesOf80DigitsAndAPictureWithout) {
    ASSERT_EQ(object->ops->Create(object, ("*" + picture.string()).c_str()), 1);
    const Saved s = split(save(object, false));
    ASSERT_EQ(s.objdata.substr(0, 2), "\r\n");
    ASSERT_EQ(s.objdata.substr(s.objdata.size() - 2), "\r\n");
    // Every line holds 80 digits but the last; the count runs over the whole object.
    std::vector<std::string> lines;
    for (std::size_t at = 2; at < s.objdata.size();) {
        const auto end = s.objdata.find("\r\n", at);
        lines.push_back(s.objdata.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_GT(lines.size(), 3u);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        ASSERT_EQ(lines[i].size(), 80u) << i;
    }
    for (char c : s.objdata)
        EXPECT_TRUE(c == '\r' || c == '\n' || std::isdigit(c) || (c >= 'a' && c <= 'f'));

    const auto bytes = fromHex(s.objdata);
    EXPECT_EQ(le32(bytes, 0), 0x0501u);
    EXPECT_EQ(le32(bytes, 4), 2u);
    EXPECT_EQ(le32(bytes, 8), 14u);
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 25), "Paint.Picture");
    const std::string native = bmpFile(41, 17, stripes);
    const std::string asText(bytes.begin(), bytes.end());
    EXPECT_NE(asText.find("stripes.bmp"), std::string::npos);
    EXPECT_NE(asText.find(native), std::string::npos);

    // {\pict\wmetafile8\picw..\pich..\picwgoal..\pichgoal.. CRLF hex}
    const std::string header =
        "{\\result {\\pict\\wmetafile8\\picw1084\\pich449\\picwgoal615"
        "\\pichgoal255 \r\n";
    ASSERT_EQ(s.result.rfind(header, 0), 0u) << s.result.substr(0, 80);
    const std::string hex = s.result.substr(header.size(), s.result.size() - header.size() - 2);
    EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(s.result.substr(s.result.size() - 2), "}}");

    // The picture is a metafile whose one bitmap record holds the picture.
    const auto wmf = fromHex(hex);
    EXPECT_EQ(le16(wmf, 0), 1);
    EXPECT_EQ(le16(wmf, 2), 9);
    EXPECT_EQ(le32(wmf, 6) * 2, wmf.size());
    bool found = false;
    for (std::size_t at = 18; at + 6 <= wmf.size();) {
        const std::uint32_t words = le32(wmf, at);
        ASSERT_GE(words, 3u);
        if (le16(wmf, at + 4) == 0x0F43) {
            const std::size_t dib = at + 6 + 22;
            EXPECT_EQ(le32(wmf, at + 6), 0x00CC0020u);
            EXPECT_EQ(le16(wmf, at + 20), 17);  // destination height and width
            EXPECT_EQ(le16(wmf, at + 22), 41);
            EXPECT_EQ(le32(wmf, dib + 4), 41u);
            EXPECT_EQ(le32(wmf, dib + 8), 17u);
            EXPECT_EQ(le16(wmf, dib + 14), 24);
            // Bottom row first; pixel 1 of it is the dark stripe.
            EXPECT_EQ(wmf[dib + 40 + 3], 0x30);
            EXPECT_EQ(wmf[dib + 40 + 5], 0x10);
            found = true;
        }
        at += words * 2;
    }
    EXPECT_TRUE(found);
}

TEST_F(Rtf, CompactWriterGetsNoLineBreaks) {
    ASSERT_EQ(object->ops->Create(object, ("*" + picture.string()).c_str()), 1);
    const std::string rtf = save(object, true);
    const Saved s = split(rtf);
    EXPECT_EQ(s.objdata.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(s.objdata.substr(0, 8), "01050000");
}

TEST_F(Rtf, FormatOtherThanRtfWritesAnEmptyResult) {
    ASSERT_EQ(object->ops->Create(object, ("*" + picture.string()).c_str()), 1);
    for (const char* format : {"TEXT", "", "RTF2"}) {
        const std::string rtf = save(object, false, format);
        EXPECT_EQ(rtf.substr(rtf.size() - 14), "\r\n}{\\result }}") << format;
    }
    EXPECT_EQ(split(save(object, false, "rtf")).result.find("{\\pict"), 9u);
}

TEST_F(Rtf, AFailedWriteEndsTheSave) {
    ASSERT_EQ(object->ops->Create(object, ("*" + picture.string()).c_str()), 1);
    for (int fail : {0, 1, 2, 5}) {
        Writer w(false);
        w.failAtCall = fail;
        EXPECT_EQ(object->ops->SaveRtf(object, &w.base, "RTF"), 0) << fail;
        EXPECT_EQ(w.calls, fail + 1) << fail;
    }
    ScrivoExtensionObject* empty = newObject();
    Writer w(false);
    EXPECT_EQ(empty->ops->SaveRtf(empty, &w.base, "RTF"), 0);
    empty->ops->Destroy(empty, 1);
}

TEST_F(Rtf, SaveLoadSaveGivesTheSameBytes) {
    const auto text = dir.write("notes.txt", "Lab notes: 5500 ml/min\n");
    for (const auto& file : {picture, text}) {
        ASSERT_EQ(object->ops->Create(object, ("Paint.Picture*" + file.string()).c_str()), 1);
        for (bool compact : {false, true}) {
            const std::string first = save(object, compact);
            const Saved s = split(first);
            std::string rest;
            ScrivoExtensionObject* copy = load(s.objdata + "}" + s.result + "}", &rest);
            EXPECT_EQ(rest, s.result + "}");
            EXPECT_EQ(copy->changed, 0);
            EXPECT_EQ(save(copy, compact), first);
            EXPECT_EQ(rectOf(copy).right, rectOf(object).right);
            EXPECT_EQ(rectOf(copy).bottom, rectOf(object).bottom);
        }
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(Rtf, LoadStopsAtTheFirstSpace) {
    ASSERT_EQ(object->ops->Create(object, ("*" + picture.string()).c_str()), 1);
    const std::string hex = split(save(object, true)).objdata;
    // A complete object followed by a space and more: the object is read, the rest passed over.
    std::string rest;
    ScrivoExtensionObject* copy = load(hex + " 0102 ab}{\\result x}", &rest);
    EXPECT_EQ(rest, "{\\result x}");
    EXPECT_EQ(rectOf(copy).right, 41);
    // A space inside the data cuts the object short: it cannot be read, and shows as a frame.
    copy = load(hex.substr(0, 100) + " " + hex.substr(100) + "}after", &rest);
    EXPECT_EQ(rest, "after");
    EXPECT_EQ(rectOf(copy).right, 100);
    EXPECT_EQ(rectOf(copy).bottom, 100);
    Device screen(kScreenCaps, 96);
    copy->ops->Paint(copy, &screen.dc, 0, 0);
    ASSERT_EQ(screen.drawn.size(), 1u);
    EXPECT_EQ(screen.drawn[0].width, 100);
    EXPECT_EQ(screen.drawn[0].pixel(0, 0), 0xFF808080u);
    EXPECT_EQ(screen.drawn[0].pixel(50, 50), 0u);
    // What could not be read is written back as it came.
    const Saved again = split(save(copy, true));
    EXPECT_EQ(again.objdata, hex.substr(0, 100));
}

TEST_F(Rtf, UpperCaseDigitsAndLineBreaksInsidePairs) {
    const auto bytes = ole1("Paint.Picture", "x.bmp", bmpFile(3, 2, stripes), noPresentation());
    std::string hex = toHex(bytes);
    for (auto& c : hex) c = static_cast<char>(std::toupper(c));
    hex.insert(1, "\r\n");
    std::string rest;
    ScrivoExtensionObject* copy = load(hex + "}", &rest);
    EXPECT_EQ(rest, "");
    EXPECT_EQ(rectOf(copy).right, 3);
}

TEST_F(Rtf, UpdateAfterLoadSetsChangedWithoutANotification) {
    // No presentation: the object has no extent until it updates itself after the load.
    const auto bytes = ole1("Paint.Picture", "x.bmp", bmpFile(12, 9, stripes), noPresentation());
    ScrivoExtensionObject* copy = load(toHex(bytes) + "}");
    EXPECT_EQ(copy->changed, 1);
    EXPECT_EQ(copy->updating, 0);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(rectOf(copy).right, 12);
    EXPECT_EQ(rectOf(copy).bottom, 9);
}

TEST_F(Rtf, ForeignObjectShowsItsStoredPresentation) {
    // A class this platform cannot draw, with the presentation of another writer: a metafile
    // holding a 2 x 1 bitmap, at 5 x 3 centimetres.
    ASSERT_EQ(object->ops->Create(object, ("*" + picture.string()).c_str()), 1);
    const auto saved = fromHex(split(save(object, true)).objdata);
    const std::size_t nativeEnd = 8 + 4 + 14 + 4 + 12 + 4 + 4 + bmpFile(41, 17, stripes).size();
    std::vector<std::uint8_t> presentation(saved.begin() + nativeEnd, saved.end());
    presentation[8 + 4 + 13] = 0xD0;  // width 5000 = 0x1388 ...
    presentation[8 + 4 + 14] = 0x07;  // ... rewritten as 2000
    const auto bytes = ole1("Word.Document.8", "", "opaque native data", presentation);
    ScrivoExtensionObject* copy = load(toHex(bytes) + "}");
    EXPECT_EQ(copy->changed, 0);
    EXPECT_EQ(rectOf(copy).right, 2000 * 96 / 2540);
    Device screen(kScreenCaps, 96);
    copy->ops->Draw(copy, &screen.dc, 0, 0);
    ASSERT_EQ(screen.drawn.size(), 1u);
    EXPECT_EQ(screen.drawn[0].width, 41);
    EXPECT_EQ(screen.drawn[0].pixel(1, 0), 0xFF102030u);
    EXPECT_EQ(split(save(copy, true)).objdata, toHex(bytes));
}

TEST_F(Rtf, AnAbsurdStoredExtentPrintsThroughABoundedBitmap) {
    ASSERT_EQ(object->ops->Create(object, ("*" + picture.string()).c_str()), 1);
    auto bytes = fromHex(split(save(object, true)).objdata);
    const std::size_t width = 8 + 4 + 14 + 4 + 12 + 4 + 4 + bmpFile(41, 17, stripes).size() + 25;
    for (std::size_t i = 0; i < 8; ++i) bytes[width + i] = i % 4 == 3 ? 0x7F : 0xFF;
    ScrivoExtensionObject* copy = load(toHex(bytes) + "}");
    ASSERT_EQ(rectOf(copy).right, static_cast<std::int32_t>(0x7FFFFFFFLL * 96 / 2540));
    Device printer(kPrinterCaps, 600);
    copy->ops->Paint(copy, &printer.dc, 0, 0);
    ASSERT_EQ(printer.drawn.size(), 1u);
    EXPECT_EQ(printer.drawn[0].cx, rectOf(copy).right);
    EXPECT_EQ(printer.drawn[0].width, 4096);
    EXPECT_EQ(printer.drawn[0].height, 4096);
}

TEST_F(Rtf, UnreadableObjectsBecomeEmptyFrames) {
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        {0x01, 0x05},
        fromHex("0105000001000000"),  // a linked object
        ole1("", "", "x", noPresentation()),
        [] {  // native size beyond the bytes present
            auto b = ole1("Paint.Picture", "", "abc", {});
            b[b.size() - 7] = 0xFF;
            return b;
        }(),
        [] {  // class name length beyond the bytes present
            auto b = ole1("Paint.Picture", "", "abc", {});
            b[11] = 0x7F;
            return b;
        }(),
    };
    for (const auto& bytes : bad) {
        std::string rest;
        ScrivoExtensionObject* copy = load(toHex(bytes) + "}tail", &rest);
        EXPECT_EQ(rest, "tail");
        EXPECT_EQ(rectOf(copy).right, 100);
        EXPECT_EQ(copy->changed, 0);
        copy->ops->Activate(copy, 0, 0);
        EXPECT_TRUE(hooks().launches.empty());
        EXPECT_EQ(split(save(copy, true)).objdata, toHex(bytes));
    }
    // The reader's end without a closing brace.
    ScrivoExtensionObject* copy = load("0105");
    EXPECT_EQ(rectOf(copy).right, 100);
}

}  // namespace
