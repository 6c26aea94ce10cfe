// vasora-cli's run options and parameter-set files, in-process.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/vasora-cli/CliRun.h"

namespace fs = std::filesystem;

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = vasora::cli::run(args, out, err);
    return {status, out.str(), err.str()};
}

std::string line(const std::string& text, const std::string& label) {
    const auto at = text.find(label + "\t");
    if (at == std::string::npos) return "<missing>";
    const auto start = at + label.size() + 1;
    return text.substr(start, text.find('\n', start) - start);
}

class CliOptions : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vasora-cli-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

}  // namespace

TEST_F(CliOptions, IntervalsAreCheckedAsTheOptionsWindowChecksThem) {
    const Result ok = cli({"--intervals", "0.002", "0.5", "--run", "1", "--format", "json"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_NE(ok.out.find("\"IterInterval\": 0.002"), std::string::npos);
    EXPECT_NE(ok.out.find("\"StepCount\": 350"), std::string::npos);  // 100 at load, then 250

    const Result refused = cli({"--intervals", "0.00005", "0.5", "--run", "1"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("The Iteration Interval should be greater than 0.0001 minute"),
              std::string::npos);
    EXPECT_EQ(line(refused.out, "lblTime"), "0.100");  // the remaining options still ran

    EXPECT_EQ(cli({"--intervals", "0.002"}).status, 1);
    EXPECT_EQ(cli({"--params"}).status, 1);
}

TEST_F(CliOptions, AVBlockColoursTheLeftRateAndSurvivesRestart) {
    const Result r = cli({"--av-block", "--restart", "--format", "json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\"lblHR_LV\": {\"fore\": \"#000000\", \"back\": \"#ffff00\""),
              std::string::npos);
    const Result plain = cli({"--restart", "--format", "json"});
    EXPECT_NE(plain.out.find("\"lblHR_LV\": {\"fore\": \"#000000\", \"back\": \"#ffffff\""),
              std::string::npos);
}

TEST_F(CliOptions, SaveAndRetrieveShareTheFileCode) {
    const std::string path = (dir / "set").string();
    const Result saved = cli({"--intervals", "0.002", "0.5", "--run", "2", "--save-params", path});
    ASSERT_EQ(saved.status, 0) << saved.err;
    ASSERT_TRUE(fs::exists(path + ".txt"));
    EXPECT_EQ(fs::file_size(path + ".txt") > 200, true);

    // A changed heart rate in the file comes back, and Restart reads the file again.
    std::ifstream in(path + ".txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string t = text.str();
    const auto at = [&t](int n) {
        std::size_t p = 0;
        for (int k = 1; k < n; ++k) p = t.find("\r\n", p) + 2;
        return p;
    };
    const std::size_t p46 = at(46);
    t.replace(p46, t.find("\r\n", p46) - p46, "90");
    std::ofstream(dir / "fast.txt", std::ios::binary) << t;
    const Result loaded = cli({"--params", (dir / "fast.txt").string(), "--run", "3", "--restart"});
    EXPECT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_EQ(line(loaded.out, "lblHR_RV"), "90.0");
    EXPECT_EQ(line(loaded.out, "lblTime"), "0.000");

    const Result missing = cli({"--params", (dir / "none.txt").string(), "--run", "1"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("could not be read"), std::string::npos);
    EXPECT_EQ(line(missing.out, "lblHR_RV"), "72.0");

    const Result unwritable = cli({"--save-params", (dir / "no" / "such").string()});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find("could not be saved"), std::string::npos);
}
