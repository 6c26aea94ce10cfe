// vasora-cli --set: the learner's typed changes from the command line, with the dialogs' checks
// and messages, refusals on standard error and exit status 2.

#include <gtest/gtest.h>

#include <sstream>

#include "tools/vasora-cli/CliRun.h"

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

// The caption of `label` in the text report.
std::string labelText(const std::string& report, const std::string& label) {
    const std::string key = label + '\t';
    const std::size_t at = report.find(key);
    if (at == std::string::npos) return "<missing>";
    const std::size_t end = report.find('\n', at);
    return report.substr(at + key.size(), end - at - key.size());
}

// A number of the JSON report's state.
double stateNumber(const std::string& report, const std::string& name) {
    const std::string key = "\"" + name + "\": ";
    const std::size_t at = report.find(key);
    return at == std::string::npos ? -1e300 : std::stod(report.substr(at + key.size()));
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(CliSet, AnAcceptedChangeIsAppliedAsTheDialogsOkWould) {
    const Result r = cli({"--set", "lblResisSysA=200", "--format", "json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "\"lblResisSysA\": \"200.0\"")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"lblResisSysA\": {\"fore\": \"#000000\", \"back\": \"#c8ffff\""));
    // One run after the change: the clock shows 0.1 minute, and the flows are unequal.
    EXPECT_TRUE(contains(r.out, "\"lblTime\": \"0.100\""));
    EXPECT_TRUE(contains(r.out, "\"lblFlowError\": \"Click Run (Flows not equal)\""));
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(CliSet, ARefusedChangeChangesNothingAndTheOtherOptionsStillRun) {
    const Result r = cli({"--set", "lblCompSysA=28.9", "--set", "lblPit=-2,5", "--run", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "Value too small.  Please retry with  more than 30%")) << r.err;
    EXPECT_TRUE(contains(r.err, "Please enter a numeric value")) << r.err;
    EXPECT_EQ(labelText(r.out, "lblCompSysA"), "100.0");
    EXPECT_EQ(labelText(r.out, "lblPit"), "-4.0");
    EXPECT_EQ(labelText(r.out, "lblTime"), "0.100");  // the run still ran

    // In JSON the refusal is among the messages and on standard error as well.
    const Result j = cli({"--set", "lblPit=16", "--format", "json"});
    EXPECT_EQ(j.status, 2);
    EXPECT_TRUE(contains(j.err, "This value is dangerous.")) << j.err;
    EXPECT_TRUE(contains(j.out, "\"messages\": [\"This value is dangerous.")) << j.out;
}

TEST(CliSet, VolumeChangesAreSignedMillilitresAndRampOverLaterRuns) {
    const Result bleed = cli({"--set", "lblVtotalBody=-300", "--run", "5", "--format", "json"});
    EXPECT_EQ(bleed.status, 0) << bleed.err;
    // 300 ml at 1200 ml/min, done to within the last step of 1.2 ml.
    EXPECT_NEAR(stateNumber(bleed.out, "VolAdded"), -300.6, 0.61) << bleed.out;

    const Result busy = cli({"--set", "lblVtotalBody=600", "--set", "lblVtotalBody=100"});
    EXPECT_EQ(busy.status, 2);
    EXPECT_TRUE(contains(busy.err, "Do not attempt another change in blood volume")) << busy.err;

    const Result constrict = cli({"--set", "lblVunstrsTotal=-200", "--run", "5"});
    EXPECT_EQ(constrict.status, 0) << constrict.err;
    EXPECT_EQ(labelText(constrict.out, "lblVunstrsTotal"), "3400.");
}

TEST(CliSet, TheLeftRateNeedsAvBlockAndBadOptionsAreUsageErrors) {
    const Result lv = cli({"--set", "lblHR_LV=90"});
    EXPECT_EQ(lv.status, 2);
    EXPECT_TRUE(contains(lv.err, "AV block")) << lv.err;
    EXPECT_EQ(labelText(lv.out, "lblHR_LV"), "72.0");

    for (const char* bad : {"lblPressSysA=3", "lblPit", "=5"}) {
        const Result r = cli({"--set", bad, "--run", "1"});
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;  // nothing ran
    }
    EXPECT_EQ(cli({"--set"}).status, 1);
    const Result blank = cli({"--set", "lblVo_LV="});
    EXPECT_EQ(blank.status, 2);
    EXPECT_TRUE(contains(blank.err, "New parameter value cannot be blank"));
}
