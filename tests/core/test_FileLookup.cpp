// Shipped file names are found whatever case the program spells them in.

#include <gtest/gtest.h>

#include <fstream>
#include "tests/support/TempDir.h"

#include "core/FileLookup.h"

using namespace vasora;

namespace {
void touch(const std::string& path) {
    std::ofstream(path) << "x";
}
}  // namespace

TEST(FileLookup, FindsAFileIgnoringTheCaseOfItsName) {
    vasora::testing::TempDir dir;
    const std::string d = dir.path();
    touch(d + "/FinalLB.rtf");
    EXPECT_EQ(findFileNoCase(d + "/finalLB.rtf"), d + "/FinalLB.rtf");
    EXPECT_EQ(findFileNoCase(d + "/FINALLB.RTF"), d + "/FinalLB.rtf");
    EXPECT_EQ(findFileNoCase(d + "/FinalLB.rtf"), d + "/FinalLB.rtf");
    EXPECT_TRUE(fileExistsNoCase(d + "/finallb.rtf"));
    // No match leaves the name as it was.
    EXPECT_EQ(findFileNoCase(d + "/FinalNT.rtf"), d + "/FinalNT.rtf");
    EXPECT_FALSE(fileExistsNoCase(d + "/FinalNT.rtf"));
}

TEST(FileLookup, FindsTheFolderIgnoringCaseTooAndPrefersTheExactName) {
    vasora::testing::TempDir dir;
    const std::string d = dir.path();
    std::filesystem::create_directory(d + "/Lab Book");
    touch(d + "/Lab Book/Mine.rtf");
    EXPECT_EQ(findFileNoCase(d + "/lab book/mine.RTF"), d + "/Lab Book/Mine.rtf");
    touch(d + "/a.txt");
    touch(d + "/A.txt");
    EXPECT_EQ(findFileNoCase(d + "/a.txt"), d + "/a.txt");
    EXPECT_EQ(findFileNoCase(d + "/A.TXT"), d + "/A.txt");  // first in name order
    // A folder is not a file.
    EXPECT_FALSE(fileExistsNoCase(d + "/LAB BOOK"));
}

TEST(FileLookup, ComparesNamesWithoutCase) {
    EXPECT_TRUE(sameFileName("Explore", "explore"));
    EXPECT_FALSE(sameFileName("Explore", "Explorer"));
}
