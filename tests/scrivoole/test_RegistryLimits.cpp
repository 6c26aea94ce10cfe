// Registry export files that are hostile or broken: what is not a regular file, files that
// would take far more memory than their size, lines, names and paths beyond the limits, and a
// host that runs out of memory. Each is answered as an unreadable registry, quickly.
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include "ScrivoTest.h"

namespace fs = std::filesystem;
using namespace scrivotest;

namespace {

// The growth of memory and the time one query may cost on a hostile file.
constexpr long kMaxGrowthKb = 64 * 1024;
constexpr auto kMaxTime = std::chrono::milliseconds(900);

std::string firstRecord() {
    ScrivoString value = nullptr;
    std::string path = take(GET_REGISTRYRECORD(0, &value));
    take(value);
    return path;
}

// The first record of a registry file, asked for in a child process, which fails (exit code
// 1) when the answer was not expected or took too much time or memory.
int firstRecordInChild(const fs::path& file, const std::string& expected) {
    return inChild(
        [&] {
            useRegistry(file);
            const long before = peakMemoryKb();
            const auto start = std::chrono::steady_clock::now();
            const std::string path = firstRecord();
            const auto time = std::chrono::steady_clock::now() - start;
            if (path != expected) return 1;
            if (time > kMaxTime) return 2;
            return peakMemoryKb() - before > kMaxGrowthKb ? 3 : 0;
        },
        10);
}

const std::string kHeader = "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\First]\r\n@=\"one\"\r\n";

class RegistryLimits : public ::testing::Test {
  protected:
    void SetUp() override { installHooks(); }
    TempDir dir;
};

TEST_F(RegistryLimits, OnlyRegularFilesAreRead) {
    const fs::path fifo = dir.path() / "fifo.reg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path folder = dir.path() / "folder.reg";
    fs::create_directory(folder);
    for (const fs::path& file : {fs::path("/dev/zero"), fifo, folder})
        EXPECT_EQ(firstRecordInChild(file, ""), 0) << file;
    // A link to a regular file is that file.
    const fs::path real = dir.write("real.reg", kHeader);
    fs::create_symlink(real, dir.path() / "link.reg");
    EXPECT_EQ(firstRecordInChild(dir.path() / "link.reg", "First\\"), 0);
}

TEST_F(RegistryLimits, EmptyLinesCostNoMemory) {
    const std::string blank(32u << 20, '\n');
    // Without a header the file is no export at all; with one, the key after the lines counts.
    EXPECT_EQ(firstRecordInChild(dir.write("blank.reg", blank), ""), 0);
    const std::string text = "REGEDIT4\r\n" + blank + "[HKEY_CLASSES_ROOT\\Last]\r\n";
    EXPECT_EQ(firstRecordInChild(dir.write("late.reg", text), "Last\\"), 0);
}

TEST_F(RegistryLimits, ASectionOfAMillionKeysRefusesTheWholeFile) {
    std::string text = kHeader + "[HKEY_CLASSES_ROOT";
    for (int i = 0; i < 1000000; ++i) text += "\\a";
    text += "]\r\n";
    EXPECT_EQ(firstRecordInChild(dir.write("deep.reg", text), ""), 0);
}

// Each case is read after a first key: the key shows when the file is read, and nothing shows
// when the file is refused.
TEST_F(RegistryLimits, LinesNamesAndPathsAtTheirLimits) {
    const auto section = [](int depth, const std::string& name) {
        std::string s = "[HKEY_CLASSES_ROOT";
        for (int i = 0; i < depth; ++i) s += "\\" + name;
        return s + "]\r\n";
    };
    const auto repeated = [](const std::string& piece, std::size_t times) {
        std::string s;
        for (std::size_t i = 0; i < times; ++i) s += piece;
        return s;
    };
    const std::size_t mib = 1u << 20;
    const std::string named = "\"Big\"=\"";  // then the text, then a closing quote
    const std::string hexLines =
        "\"Blob\"=hex:" + repeated("00,01,02,03,04,05,06,07,\\\r\n  ", 80000) + "ff\r\n";
    struct Case {
        const char* what;
        std::string body;
        bool read;
    };
    const Case cases[] = {
        {"512 keys deep", section(512, "k"), true},
        {"513 keys deep", section(513, "k"), false},
        {"a name of 255 characters", section(1, repeated("\xC3\xA4", 255)), true},
        {"a name of 256 characters", section(1, repeated("\xC3\xA4", 256)), false},
        {"a line of 1 MiB", named + std::string(mib - named.size() - 1, 'x') + "\"\r\n", true},
        {"a line of 1 MiB and a byte", named + std::string(mib - named.size(), 'x') + "\"\r\n",
         false},
        {"a default value over lines beyond 1 MiB",
         "@=\"" + repeated(std::string(1000, 'v') + "\\\r\n", 1100) + "\"\r\n", false},
        {"a named value over 2 MB of continuation lines", hexLines, true},
        {"a section in another hive beyond every limit",
         "[HKEY_LOCAL_MACHINE" + repeated("\\" + std::string(300, 'h'), 600) + "]\r\n", true},
    };
    for (const Case& c : cases) {
        const fs::path file =
            dir.write("case.reg", kHeader + c.body + "[HKEY_CLASSES_ROOT\\Z]\r\n");
        useRegistry(file);
        EXPECT_EQ(firstRecord(), c.read ? "First\\" : "") << c.what;
    }
}

TEST_F(RegistryLimits, AHostOutOfMemoryGetsAnEmptyAnswerAndTheNextOneReadsTheFile) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit an address space limit";
#else
    std::string text = "REGEDIT4\r\n";
    for (int i = 0; i < 600000; ++i) text += "[HKEY_CLASSES_ROOT\\K" + std::to_string(i) + "]\r\n";
    const fs::path file = dir.write("many.reg", text);
    const int code = inChild([&] {
        useRegistry(file);
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        const rlim_t original = limit.rlim_cur;
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        limit.rlim_cur = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (16u << 20);
        ::setrlimit(RLIMIT_AS, &limit);
        if (firstRecord() != "") return 1;
        limit.rlim_cur = original;
        ::setrlimit(RLIMIT_AS, &limit);
        return firstRecord() == "K0\\" ? 0 : 2;
    });
    EXPECT_EQ(code, 0);
#endif
}

}  // namespace
