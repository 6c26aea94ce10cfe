// The registry queries on registry export files: the file's rules, the depth-first walk with
// its resume records, the server walk with its skips, and the file-type lists.
#include <fstream>
#include <random>

#include "ScrivoTest.h"

namespace fs = std::filesystem;
using namespace scrivotest;

namespace {

struct Record {
    std::string path, value;
};

Record record(std::int32_t index) {
    ScrivoString value = nullptr;
    Record r;
    r.path = take(GET_REGISTRYRECORD(index, &value));
    r.value = take(value);
    return r;
}

std::pair<std::string, std::string> server(std::int16_t index) {
    ScrivoString path = nullptr;
    std::string name = take(GET_OLESERVERNAME(index, &path));
    return {name, take(path)};
}

std::vector<Record> allRecords() {
    std::vector<Record> out;
    // A walk that never ends its list is a fault, not a reason to run forever.
    for (std::int32_t i = 0; i < 100000; ++i) {
        Record r = record(i);
        if (r.path.empty()) return out;
        out.push_back(r);
    }
    ADD_FAILURE() << "the records do not end";
    return out;
}

class Registry : public ::testing::Test {
  protected:
    void SetUp() override { installHooks(); }
    TempDir dir;
    void load(const std::string& text) { useRegistry(dir.write("r.reg", text)); }
};

TEST_F(Registry, ExportFileRules) {
    load(
        "REGEDIT4\r\n\r\n"
        "[HKEY_CLASSES_ROOT\\Alpha\\Deep\\Deeper]\r\n@=\"deep\"\r\n"
        "[HKEY_CLASSES_ROOT\\Zulu]\r\n\"Named\"=\"ignored\"\r\n"
        "[HKEY_CLASSES_ROOT\\ALPHA]\r\n@=\"say \\\"hi\\\" C:\\\\dir\"\r\n"
        "[HKEY_CLASSES_ROOT\\alpha\\Beta]\r\n@=hex:01,02,\\\r\n  03\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n@=\"elsewhere\"\r\n"
        "[HKEY_CLASSES_ROOT\\Gone\\Child]\r\n[-HKEY_CLASSES_ROOT\\Gone]\r\n"
        "; a comment\r\n[HKEY_CLASSES_ROOT\\Zulu\\Leaf]\r\n@=\"z\"\r\n@=-\r\n");
    const auto records = allRecords();
    // Parents made by a deeper section come at that point; "ALPHA" is the key seen first.
    std::vector<std::string> paths;
    for (const auto& r : records) paths.push_back(r.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"Alpha\\", "Alpha\\Deep\\", "Alpha\\Deep\\Deeper\\",
                                               "Alpha\\Beta\\", "Zulu\\", "Zulu\\Leaf\\"}));
    EXPECT_EQ(records[0].value, "say \"hi\" C:\\dir");
    EXPECT_EQ(records[1].value, "");  // no @ line
    EXPECT_EQ(records[2].value, "deep");
    EXPECT_EQ(records[3].value, "");  // not a text value
    EXPECT_EQ(records[5].value, "");  // deleted by @=-
}

TEST_F(Registry, Version5FileInUtf16) {
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : text) {
        utf16 += c;
        utf16 += '\0';
    }
    useRegistry(dir.write("u.reg", utf16));
    EXPECT_EQ(take(GET_EXTASS("txt")), "txtfile");
}

TEST_F(Registry, TextWithoutHeaderIsAnEmptyRegistry) {
    load("[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n");
    EXPECT_EQ(record(0).path, "");
    useRegistry(dir.path() / "missing.reg");
    EXPECT_EQ(record(0).path, "");
    EXPECT_EQ(take(GET_EXTASS("txt")), "");
}

TEST_F(Registry, BufferLimitsOfEightyBytes) {
    const std::string longName(80, 'n'), fitName(79, 'f');
    load("REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n@=\"" + std::string(80, 'v') +
         "\"\n"
         "[HKEY_CLASSES_ROOT\\A\\" +
         fitName + "]\n@=\"" + std::string(79, 'w') +
         "\"\n"
         "[HKEY_CLASSES_ROOT\\A\\" +
         longName +
         "]\n[HKEY_CLASSES_ROOT\\A\\After]\n"
         "[HKEY_CLASSES_ROOT\\B]\n");
    const auto records = allRecords();
    ASSERT_EQ(records.size(), 3u);  // the long name ends A's subkeys; B still follows
    EXPECT_EQ(records[0].value, "");
    EXPECT_EQ(records[1].path, "A\\" + fitName + "\\");
    EXPECT_EQ(records[1].value, std::string(79, 'w'));
    EXPECT_EQ(records[2].path, "B\\");
}

TEST_F(Registry, FileIsReadAgainWhenItChanges) {
    load("REGEDIT4\n[HKEY_CLASSES_ROOT\\.a]\n@=\"one\"\n");
    EXPECT_EQ(take(GET_EXTASS("a")), "one");
    EXPECT_EQ(record(0).path, ".a\\");
    load("REGEDIT4\n[HKEY_CLASSES_ROOT\\.b]\n[HKEY_CLASSES_ROOT\\.a]\n@=\"two, longer\"\n");
    EXPECT_EQ(take(GET_EXTASS("a")), "two, longer");
    // The record of the earlier walk does not carry over to the new tree.
    EXPECT_EQ(record(1).path, ".a\\");
}

// A generated tree of a few thousand keys, written in depth-first order with the letter case
// of repeated sections varied; the expected walk is worked out from the tree itself.
TEST_F(Registry, DepthFirstWalkAndSequentialRecordsOnALargeTree) {
    std::mt19937 random(1234);
    std::string text = "REGEDIT4\n\n";
    std::vector<Record> expected;
    std::function<void(const std::string&, int)> grow = [&](const std::string& path, int depth) {
        const int children = depth == 0 ? 300 : static_cast<int>(random() % (depth < 3 ? 5 : 2));
        for (int i = 0; i < children; ++i) {
            const std::string name =
                "K" + std::to_string(random() % 100000) + "x" + std::to_string(i);
            const std::string child = path.empty() ? name : path + "\\" + name;
            std::string value = random() % 3 ? "v" + std::to_string(expected.size()) : "";
            expected.push_back({child + "\\", value});
            text += "[HKEY_CLASSES_ROOT\\" + child + "]\n";
            if (!value.empty()) text += "@=\"" + value + "\"\n";
            if (random() % 7 == 0) {
                std::string shouted = child;
                for (auto& c : shouted) c = static_cast<char>(std::toupper(c));
                text += "[HKEY_CLASSES_ROOT\\" + shouted + "]\n";
            }
            grow(child, depth + 1);
        }
    };
    grow("", 0);
    ASSERT_GT(expected.size(), 2000u);
    load(text);

    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Record r = record(static_cast<std::int32_t>(i));
        ASSERT_EQ(r.path, expected[i].path) << "sequential index " << i;
        ASSERT_EQ(r.value, expected[i].value) << "sequential index " << i;
    }
    EXPECT_EQ(record(static_cast<std::int32_t>(expected.size())).path, "");
    // Fresh calls, never the successor of the one before.
    for (std::size_t i = expected.size(); i-- > 0;) {
        if (i % 7 != 0) continue;
        const Record r = record(static_cast<std::int32_t>(i));
        ASSERT_EQ(r.path, expected[i].path) << "fresh index " << i;
        ASSERT_EQ(r.value, expected[i].value) << "fresh index " << i;
    }
}

TEST_F(Registry, NegativeIndexAndFirstRecord) {
    useRegistry(fixture("classes.reg"));
    ScrivoString value = ScrivoOLE_AllocString("old", 3);
    EXPECT_EQ(take(GET_REGISTRYRECORD(-1, &value)), "");
    EXPECT_EQ(take(value), "");
    EXPECT_EQ(record(0).path, ".txt\\");
    EXPECT_EQ(record(0).value, "txtfile");
}

TEST_F(Registry, WalkStopsBelowFiftyLevels) {
    std::string path, text = "REGEDIT4\n";
    for (int i = 0; i < 60; ++i) path += (i ? "\\L" : "L") + std::to_string(i);
    text += "[HKEY_CLASSES_ROOT\\" + path + "]\n[HKEY_CLASSES_ROOT\\Next]\n";
    load(text);
    const auto records = allRecords();
    ASSERT_EQ(records.size(), 51u);
    EXPECT_EQ(std::count(records[49].path.begin(), records[49].path.end(), '\\'), 50);
    EXPECT_EQ(records[50].path, "Next\\");
}

TEST_F(Registry, ServerWalkCountsOnlyClassesWithServersAndSkipsTheRest) {
    useRegistry(fixture("classes.reg"));
    std::vector<std::pair<std::string, std::string>> servers;
    for (std::int16_t i = 0; i < 1000; ++i) {
        auto s = server(i);
        if (s.first.empty()) break;
        servers.push_back(s);
    }
    // Not ".hidden", "CLSID" or "Interface"; not txtfile (no CLSID), not Word (empty server).
    EXPECT_EQ(servers,
              (std::vector<std::pair<std::string, std::string>>{{"Paint.Picture", "paintsrv %1"},
                                                                {"Sound.Rec", "soundrec.exe"},
                                                                {"BadId", "bad.exe"}}));
    server(1);
    EXPECT_EQ(take(GET_LASTFIRSTLEVELVALUE()), "Sound");
    // Fresh calls agree with the sequential ones.
    EXPECT_EQ(server(2), servers[2]);
    EXPECT_EQ(server(0), servers[0]);
    EXPECT_EQ(server(-1), std::make_pair(std::string(), std::string()));
}

TEST_F(Registry, IsOleServer) {
    useRegistry(fixture("classes.reg"));
    ScrivoString out = ScrivoOLE_AllocString("untouched", 9);
    EXPECT_EQ(IS_OLESERVER("", &out), 0);
    EXPECT_EQ(IS_OLESERVER(nullptr, &out), 0);
    EXPECT_EQ(std::string(out), "untouched");
    EXPECT_EQ(IS_OLESERVER("paint.PICTURE", &out), -1);
    EXPECT_EQ(std::string(out), "paintsrv %1");
    EXPECT_EQ(take(GET_LASTFIRSTLEVELVALUE()), "Bitmap Image");
    for (const char* no : {"txtfile", "Word.Document.8", ".hidden", "CLSID", "Interface", "None"}) {
        EXPECT_EQ(IS_OLESERVER(no, &out), 0) << no;
        EXPECT_EQ(std::string(out), "") << no;
    }
    ScrivoOLE_FreeString(out);
}

TEST_F(Registry, FileTypesWithTheirPatterns) {
    useRegistry(fixture("classes.reg"));
    std::vector<std::pair<std::string, std::string>> types;
    for (std::int16_t i = 0; i < 1000; ++i) {
        ScrivoString patterns = nullptr;
        std::string type = take(GET_ASSEXTENSIONS(i, &patterns));
        std::string list = take(patterns);
        if (type.empty()) {
            EXPECT_EQ(list, "");
            break;
        }
        types.emplace_back(type, list);
    }
    // ".LOG" names "TxtFile": the same type as "txtfile"; ".noclass" has no type.
    EXPECT_EQ(types, (std::vector<std::pair<std::string, std::string>>{{"txtfile", "*.txt;*.LOG"},
                                                                       {"Paint.Picture", "*.bmp"},
                                                                       {"Sound.Rec", "*.wav"},
                                                                       {"PngFile", "*.png"},
                                                                       {"BadId", "*.bad"}}));
    ScrivoString patterns = nullptr;
    EXPECT_EQ(take(GET_ASSEXTENSIONS(-1, &patterns)), "");
    EXPECT_EQ(take(patterns), "");
}

// Letter case beyond ASCII, in UTF-8 names: one key however its name is written, lookups and
// file types alike; "ß" and "ss" stay apart, and bytes that are no UTF-8 compare as they are.
TEST_F(Registry, NamesCompareIgnoringCaseBeyondAscii) {
    load(
        "REGEDIT4\n"
        "[HKEY_CLASSES_ROOT\\\xC3\x84pfel]\n@=\"apples\"\n"  // Äpfel
        "[HKEY_CLASSES_ROOT\\\xC3\xA4PFEL\\Sorte]\n"         // äPFEL
        "[HKEY_CLASSES_ROOT\\Stra\xC3\x9F"
        "e]\n@=\"street\"\n"  // Straße
        "[HKEY_CLASSES_ROOT\\STRASSE]\n@=\"shouted\"\n"
        "[HKEY_CLASSES_ROOT\\\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91\xCE\xA3]\n@=\"greek\"\n"  // ΣΟΦΊΑΣ
        "[HKEY_CLASSES_ROOT\\\xE2\x84\xAA"
        "elvin]\n@=\"kelvin\"\n"  // Kelvin sign
        "[HKEY_CLASSES_ROOT\\\xC4pfel]\n@=\"latin-1\"\n"
        "[HKEY_CLASSES_ROOT\\.\xC3\xA4pf]\n@=\"\xC3\x84pfel\"\n"
        "[HKEY_CLASSES_ROOT\\.\xC3\x84PF2]\n@=\"\xC3\xA4PFEL\"\n");
    std::vector<std::string> paths;
    for (const auto& r : allRecords()) paths.push_back(r.path);
    EXPECT_EQ(paths.size(), 9u);
    EXPECT_EQ(paths[1], "\xC3\x84pfel\\Sorte\\");
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("\xC3\xA4pfel")), "apples");
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("\xC3\x84PFEL")), "apples");
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("STRA\xE1\xBA\x9E"
                                          "E")),
              "street");  // capital ẞ
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("strasse")), "shouted");
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1\xCF\x82")),
              "greek");  // σοφίας
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("KELVIN")), "kelvin");
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("\xE4pfel")), "");  // Latin-1 ä: no UTF-8, no case
    EXPECT_EQ(take(GET_EXTASS("\xC3\x84PF")), "\xC3\x84pfel");
    ScrivoString patterns = nullptr;
    EXPECT_EQ(take(GET_ASSEXTENSIONS(0, &patterns)), "\xC3\x84pfel");
    EXPECT_EQ(take(patterns), "*.\xC3\xA4pf;*.\xC3\x84PF2");
}

TEST_F(Registry, FirstLevelLookups) {
    useRegistry(fixture("classes.reg"));
    EXPECT_EQ(take(GET_EXTASS("BMP")), "Paint.Picture");
    EXPECT_EQ(take(GET_EXTASS("")), "");
    EXPECT_EQ(take(GET_EXTASS(".bmp")), "");
    EXPECT_EQ(take(GET_EXTASS("noclass")), "");
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("sound.rec")), "Sound");
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE("Missing")), "");
    EXPECT_EQ(take(GET_KEYFIRSTLEVELVALUE(nullptr)), "");
}

}  // namespace
