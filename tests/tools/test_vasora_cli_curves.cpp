// vasora-cli --curves: the file holds Guyton's curves and the loops of the state the other
// options left, exactly as the model writes them; a hemorrhage moves the crossing; a file that
// cannot be written is an error.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "model/Curves.h"
#include "model/Vasora_Model_coding.h"
#include "tools/vasora-cli/CliRun.h"

namespace {

using namespace vasora::model;

struct Result {
    int status = -1;
    std::string out, err;
};

Result cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Result r;
    r.status = vasora::cli::run(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("vasora_cli_curves_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The single-row series of the file ("series,x,y"), by the series' name up to its units.
std::map<std::string, std::pair<double, double>> singleRows(const std::string& csv) {
    std::map<std::string, std::vector<std::pair<double, double>>> all;
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t c2 = line.rfind(','), c1 = line.rfind(',', c2 - 1);
        if (c1 == std::string::npos || c2 == std::string::npos) continue;
        std::string name = line.substr(0, c1);
        name = name.substr(0, name.find(" ("));
        all[name].emplace_back(std::stod(line.substr(c1 + 1, c2 - c1 - 1)),
                               std::stod(line.substr(c2 + 1)));
    }
    std::map<std::string, std::pair<double, double>> single;
    for (const auto& [name, rows] : all)
        if (rows.size() == 1) single[name] = rows.front();
    return single;
}

// The option stands first but is written last: the curves are those of the bled, settled
// circulation, byte for byte what the model writes for the state the run left.
TEST(CliCurves, TheFileIsTheModelsCsvOfTheStateTheOptionsLeft) {
    const std::string path = tempPath("bled.csv");
    const Result r =
        cli({"--curves", path, "--set", "lblVtotalBody=-1000", "--autorun", "--run", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    const ModelState& s = state();
    ASSERT_EQ(s.VolChangeRate, 0) << "the ramp is over";
    ASSERT_NEAR(s.VtotalBody, 4000, 1);
    ASSERT_LE(s.FlowMax - s.FlowMin, 0.3) << "and the flows agree";
    const std::string file = readFile(path);
    EXPECT_EQ(file, diagramCsv(diagramData(s)));
    EXPECT_EQ(file.rfind("series,x,y\n", 0), 0u) << file.substr(0, 40);
    // The text report is of the same state.
    EXPECT_NE(r.out.find("lblVtotalBody\t4000"), std::string::npos) << r.out;
    std::filesystem::remove(path);
}

TEST(CliCurves, AHemorrhageMovesTheCrossingDownTheHeartsCurve) {
    const std::string normalPath = tempPath("normal.csv"), bledPath = tempPath("bled2.csv");
    ASSERT_EQ(cli({"--curves", normalPath}).status, 0);
    const double normalFlow = state().Flow[LeftV];
    ASSERT_EQ(cli({"--set", "lblVtotalBody=-1000", "--autorun", "--run", "2", "--curves", bledPath})
                  .status,
              0);
    const double bledFlow = state().Flow[LeftV];
    auto n = singleRows(readFile(normalPath)), b = singleRows(readFile(bledPath));
    ASSERT_TRUE(n.count("crossing") && b.count("crossing"));
    ASSERT_TRUE(n.count("mean systemic filling pressure"));
    // Each crossing is where that model settled.
    EXPECT_NEAR(n["crossing"].second, normalFlow, 1.0);
    EXPECT_NEAR(b["crossing"].second, bledFlow, 1.0);
    EXPECT_NEAR(n["crossing"].first, n["operating point"].first, 0.01);
    EXPECT_NEAR(b["crossing"].first, b["operating point"].first, 0.01);
    EXPECT_LT(b["crossing"].second, 0.5 * n["crossing"].second);
    EXPECT_LT(b["crossing"].first, n["crossing"].first - 2);
    // The venous return curve moved to a lower Pmsf with the same resistance.
    EXPECT_LT(b["mean systemic filling pressure"].first,
              n["mean systemic filling pressure"].first - 5);
    EXPECT_EQ(b["resistance to venous return"].first, n["resistance to venous return"].first);
    std::filesystem::remove(normalPath);
    std::filesystem::remove(bledPath);
}

TEST(CliCurves, AFileThatCannotBeWrittenIsAnErrorAndNoFileIsLeft) {
    const std::string missing = tempPath("no/such/folder/curves.csv");
    const Result r = cli({"--curves", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("vasora-cli: the curves file " + missing + " could not be saved"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(missing));
    // The report of the run is still printed.
    EXPECT_NE(r.out.find("lblFlowLeftV\t"), std::string::npos);

    const std::string folder = tempPath("a_folder");
    std::filesystem::create_directory(folder);
    const Result f = cli({"--curves", folder, "--format", "json"});
    EXPECT_EQ(f.status, 1);
    EXPECT_NE(f.err.find("could not be saved"), std::string::npos) << f.err;
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    std::filesystem::remove(folder);
}

TEST(CliCurves, TheOptionNeedsAFileNameAndIsInTheHelp) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--curves"}, {"--curves", ""}}) {
        const Result r = cli(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("--curves needs a file name"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_NE(cli({"--help"}).out.find("--curves FILE"), std::string::npos);
}

}  // namespace
