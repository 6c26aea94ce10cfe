// The atomic replacement of a file: what it keeps of the old file, what it refuses before
// writing, that a failure leaves the old file and no temporary file, and that the temporary
// files of killed writes are cleared away.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/AtomicFile.h"
#include "tests/core/Unprivileged.h"
#include "tests/support/TempDir.h"

using namespace vasora;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void writePlain(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 07777;
}

std::vector<std::string> names(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// Runs with the given umask and puts the old one back.
struct Umask {
    explicit Umask(mode_t m) : old(::umask(m)) {}
    ~Umask() { ::umask(old); }
    mode_t old;
};

class AtomicFile : public ::testing::Test {
  protected:
    vasora::testing::TempDir tmp;
    fs::path dir{tmp.path()};
};

}  // namespace

TEST_F(AtomicFile, WritesANewFileWithTheUmaskAndReplacesAnOldOneWhole) {
    const Umask mask(022);
    const fs::path p = dir / "set.txt";
    EXPECT_EQ(writeFileAtomically(p.string(), "first\r\n"), "");
    EXPECT_EQ(readAll(p), "first\r\n");
    EXPECT_EQ(modeOf(p), 0644u);
    writePlain(p, std::string(50000, 'x'));
    EXPECT_EQ(writeFileAtomically(p.string(), "second"), "");
    EXPECT_EQ(readAll(p), "second");
    EXPECT_EQ(writeFileAtomically(p.string(), ""), "");
    EXPECT_EQ(readAll(p), "");
    EXPECT_EQ(names(dir), std::vector<std::string>{"set.txt"});
}

TEST_F(AtomicFile, AnExistingFileKeepsItsPermissions) {
    const Umask mask(022);
    for (const mode_t mode : {0600u, 0640u, 0664u, 0604u}) {
        const fs::path p = dir / "private.txt";
        writePlain(p, "old");
        ASSERT_EQ(::chmod(p.c_str(), mode), 0);
        EXPECT_EQ(writeFileAtomically(p.string(), "new"), "");
        EXPECT_EQ(readAll(p), "new");
        EXPECT_EQ(modeOf(p), mode) << std::oct << mode;
    }
}

TEST_F(AtomicFile, ASymbolicLinkIsFollowedAndStays) {
    fs::create_directory(dir / "real");
    writePlain(dir / "real" / "set.txt", "old");
    ASSERT_EQ(::chmod((dir / "real" / "set.txt").c_str(), 0600), 0);
    // A relative link, through a second link.
    fs::create_symlink("real/set.txt", dir / "link1.txt");
    fs::create_symlink("link1.txt", dir / "link2.txt");
    EXPECT_EQ(writeFileAtomically((dir / "link2.txt").string(), "new"), "");
    EXPECT_TRUE(fs::is_symlink(dir / "link1.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "link2.txt"));
    EXPECT_EQ(readAll(dir / "real" / "set.txt"), "new");
    EXPECT_EQ(modeOf(dir / "real" / "set.txt"), 0600u);
    // The temporary file was made beside the target, not beside the link.
    EXPECT_EQ(names(dir / "real"), std::vector<std::string>{"set.txt"});
    // A link to a file not yet there makes that file.
    fs::create_symlink(dir / "real" / "later.txt", dir / "later.txt");
    EXPECT_EQ(writeFileAtomically((dir / "later.txt").string(), "made"), "");
    EXPECT_TRUE(fs::is_symlink(dir / "later.txt"));
    EXPECT_EQ(readAll(dir / "real" / "later.txt"), "made");
    // Links that lead round in a circle are refused.
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    EXPECT_NE(writeFileAtomically((dir / "loop-a").string(), "x"), "");
    EXPECT_TRUE(fs::is_symlink(dir / "loop-a"));
}

TEST_F(AtomicFile, WhatCannotBeReplacedIsRefusedBeforeAnythingIsWritten) {
    const fs::path ro = dir / "locked.txt";
    writePlain(ro, "kept");
    ASSERT_EQ(::chmod(ro.c_str(), 0444), 0);
    EXPECT_EQ(writeFileAtomically(ro.string(), "new"), "the file is read-only");
    EXPECT_EQ(readAll(ro), "kept");
    EXPECT_EQ(modeOf(ro), 0444u);

    fs::create_directories(dir / "taken.txt" / "inside");
    EXPECT_EQ(writeFileAtomically((dir / "taken.txt").string(), "new"),
              "there is a folder of that name");
    EXPECT_TRUE(fs::is_directory(dir / "taken.txt" / "inside"));

    EXPECT_EQ(writeFileAtomically((dir / "missing" / "set.txt").string(), "new"),
              "its folder does not exist");
    writePlain(dir / "plain", "a file");
    EXPECT_EQ(writeFileAtomically((dir / "plain" / "set.txt").string(), "new"),
              "a file stands where its folder should be");
    EXPECT_EQ(writeFileAtomically("", "new"), "no file name was given");
    EXPECT_EQ(writeFileAtomically("/dev/null", "new"), "it is not a plain file");

    EXPECT_EQ(names(dir), (std::vector<std::string>{"locked.txt", "plain", "taken.txt"}));
}

TEST_F(AtomicFile, AFolderThatMayNotBeWrittenIsReportedWithTheSystemsReason) {
    fs::create_directory(dir / "shared");
    writePlain(dir / "shared" / "set.txt", "kept");
    ASSERT_EQ(::chmod((dir / "shared" / "set.txt").c_str(), 0666), 0);
    ASSERT_EQ(::chmod((dir / "shared").c_str(), 0555), 0);
    std::string why;
    {
        const vasora::testing::Unprivileged user;
        why = writeFileAtomically((dir / "shared" / "set.txt").string(), "new");
    }
    EXPECT_EQ(why, "no new file can be made in its folder (Permission denied)");
    EXPECT_EQ(readAll(dir / "shared" / "set.txt"), "kept");
    EXPECT_EQ(names(dir / "shared"), std::vector<std::string>{"set.txt"});
    ::chmod((dir / "shared").c_str(), 0755);
}

TEST_F(AtomicFile, AWriteThatFailsHalfwayLeavesTheOldFileAndNoTemporaryFile) {
    // The size limit makes the system refuse the write past 1000 bytes, as a full disk would.
    const fs::path p = dir / "book.rtf";
    writePlain(p, "the old book");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string why = writeFileAtomically(p.string(), std::string(5000, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(why, "writing it failed (File too large)");
    EXPECT_EQ(readAll(p), "the old book");
    EXPECT_EQ(names(dir), std::vector<std::string>{"book.rtf"});
}

TEST_F(AtomicFile, TemporaryFilesOfKilledWritesAreRemovedByTheNextWrite) {
    const std::string mine = std::to_string(::getpid());
    // No process has this id: it is above the largest the system hands out.
    const std::string gone = "2147483646";
    const std::vector<std::string> stale = {
        "set.txt.saving-" + gone + "-0000abcd",  // its process is gone
        "other.txt.saving-" + gone + "-12",      // of another file in the folder
        "set.txt.saving-123456",                 // an earlier version's, hours old
    };
    const std::vector<std::string> kept = {
        "set.txt.saving-" + mine + "-0000abcd",  // a write of a live process
        "set.txt.saving-654321",                 // an earlier version's, just made
        "notes.saving-draft",                    // not one of ours
        ".saving-12",                            // no file name before the mark
    };
    for (const auto& n : stale) writePlain(dir / n, "left");
    for (const auto& n : kept) writePlain(dir / n, "left");
    fs::last_write_time(dir / "set.txt.saving-123456",
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    fs::create_directory(dir / "dir.saving-1");  // folders are never removed
    fs::last_write_time(dir / "dir.saving-1",
                        fs::file_time_type::clock::now() - std::chrono::hours(2));

    ASSERT_EQ(writeFileAtomically((dir / "set.txt").string(), "new"), "");
    std::vector<std::string> expected = kept;
    expected.push_back("dir.saving-1");
    expected.push_back("set.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names(dir), expected);
}

TEST(AtomicTempNames, AreRecognisedByTheirPattern) {
    EXPECT_TRUE(isAtomicTempName("a.txt.saving-12-00ff"));
    EXPECT_TRUE(isAtomicTempName("a.txt.saving-7"));
    EXPECT_TRUE(isAtomicTempName("x.saving-1.saving-2-a"));
    EXPECT_FALSE(isAtomicTempName("a.txt.saving-"));
    EXPECT_FALSE(isAtomicTempName("a.txt.saving-12-"));
    EXPECT_FALSE(isAtomicTempName("a.txt.saving-12-XY"));
    EXPECT_FALSE(isAtomicTempName("a.txt.saving-1a"));
    EXPECT_FALSE(isAtomicTempName(".saving-12"));
    EXPECT_FALSE(isAtomicTempName("a.txt"));
}
