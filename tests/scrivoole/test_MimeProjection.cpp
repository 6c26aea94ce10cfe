// The desktop's file-type database seen as a class registry (no SCRIVOOLE_REGISTRY).
#include <cstdlib>
#include <map>
#include <regex>

#include "ScrivoTest.h"

using namespace scrivotest;

namespace {

class Desktop : public ::testing::Test {
  protected:
    void SetUp() override {
        installHooks();
        ::unsetenv("SCRIVOOLE_REGISTRY");
        const auto root = fixture("desktop");
        ::setenv("XDG_DATA_HOME", (root / "no-such-folder").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", root.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root / "no-such-folder").c_str(), 1);
    }
    void TearDown() override {
        for (const char* v :
             {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
            ::unsetenv(v);
    }
};

std::vector<std::pair<std::string, std::string>> records() {
    std::vector<std::pair<std::string, std::string>> out;
    for (std::int32_t i = 0; i < 10000; ++i) {
        ScrivoString value = nullptr;
        std::string path = take(GET_REGISTRYRECORD(i, &value));
        std::string v = take(value);
        if (path.empty()) return out;
        out.emplace_back(path, v);
    }
    ADD_FAILURE() << "the records do not end";
    return out;
}

TEST_F(Desktop, GlobsAndApplicationsAsRegistryKeys) {
    const auto all = records();
    std::vector<std::string> paths;
    std::map<std::string, std::string> value;
    for (const auto& r : all) {
        paths.push_back(r.first);
        value[r.first] = r.second;
    }
    // Sorted without regard to case; a glob with other wildcards names no extension; the
    // hidden application's type has no key; ".TXT" is the same key as ".txt".
    std::vector<std::string> expected = {".bmp\\", ".log\\", ".png\\", ".ts\\", ".txt\\"};
    for (const char* type : {"image/bmp", "image/png", "text/plain"})
        for (const char* below : {"", "CLSID\\", "Protocol\\", "Protocol\\StdFileEditing\\",
                                  "Protocol\\StdFileEditing\\Server\\"})
            expected.push_back(std::string(type) + "\\" + below);
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(value[".ts\\"], "video/mp2t");  // the heavier glob wins
    EXPECT_EQ(value[".txt\\"], "text/plain");
    EXPECT_EQ(value["image/png\\"], "PNG image & more");
    EXPECT_EQ(value["image/bmp\\"], "image/bmp");  // no description: the name
    EXPECT_EQ(value["image/png\\Protocol\\StdFileEditing\\Server\\"], "viewer %f");  // alias
    EXPECT_EQ(value["image/bmp\\Protocol\\StdFileEditing\\Server\\"], "editor --new-window %U");
    // The default application of mimeapps.list wins over the first one found.
    EXPECT_EQ(value["text/plain\\Protocol\\StdFileEditing\\Server\\"], "viewer %f");
    const std::regex braced(
        "\\{[0-9A-F]{8}-[0-9A-F]{4}-8[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
    EXPECT_TRUE(std::regex_match(value["image/png\\CLSID\\"], braced))
        << value["image/png\\CLSID\\"];
    EXPECT_TRUE(std::regex_match(value["text/plain\\CLSID\\"], braced));
    EXPECT_NE(value["image/png\\CLSID\\"], value["text/plain\\CLSID\\"]);
}

TEST_F(Desktop, QueriesAndStableClassIdentifiers) {
    EXPECT_EQ(take(GET_EXTASS("PNG")), "image/png");
    ScrivoString server = nullptr;
    EXPECT_EQ(take(GET_OLESERVERNAME(1, &server)), "image/png");
    EXPECT_EQ(take(server), "viewer %f");
    EXPECT_EQ(take(GET_LASTFIRSTLEVELVALUE()), "PNG image & more");
    EXPECT_EQ(IS_OLESERVER("TEXT/PLAIN", &server), -1);
    EXPECT_EQ(take(server), "viewer %f");
    ScrivoString types = nullptr;
    EXPECT_EQ(take(GET_ASSEXTENSIONS(4, &types)), "text/plain");
    EXPECT_EQ(take(types), "*.txt");

    ScrivoString id = nullptr;
    EXPECT_EQ(take(GET_REGISTRYRECORD(11, &id)), "image/png\\CLSID\\");
    const std::string before = take(id);
    ::setenv("XDG_CONFIG_DIRS", "", 1);  // another choice of folders: read again
    EXPECT_EQ(take(GET_REGISTRYRECORD(11, &id)), "image/png\\CLSID\\");
    EXPECT_EQ(take(id), before);
}

TEST_F(Desktop, AFileOfAnInstalledTypeBecomesAnObject) {
    TempDir dir;
    const auto file = dir.write("note.txt", "hello");
    ScrivoExtensionObject* o = newObject();
    EXPECT_EQ(o->ops->Create(o, ("*" + file.string()).c_str()), 1);
    o->ops->Activate(o, 0, 0);
    ASSERT_EQ(hooks().launches.size(), 1u);
    EXPECT_EQ(hooks().launches[0].command, "viewer %f");
    // No installed application for logs: no class to make an object of.
    const auto log = dir.write("run.log", "x");
    EXPECT_EQ(o->ops->Create(o, ("*" + log.string()).c_str()), 0);
    o->ops->Destroy(o, 1);
}

}  // namespace
