// The command-line run of the model, called in-process: the text and JSON reports, the
// options applied in order, the trace file and usage errors.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "model/ModelLabels.h"
#include "tests/tools/JsonReader.h"
#include "tools/vasora-cli/CliRun.h"

namespace {

using namespace vasora::testing;

struct Result {
    int status = -1;
    std::string out, err;
};

Result cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    Result r;
    r.status = vasora::cli::run(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l)) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        v.push_back(l);
    }
    return v;
}

std::map<std::string, std::string> textLabels(const std::string& out) {
    std::map<std::string, std::string> m;
    for (const std::string& l : lines(out)) {
        const auto tab = l.find('\t');
        if (tab != std::string::npos) m[l.substr(0, tab)] = l.substr(tab + 1);
    }
    return m;
}

Json jsonReport(std::vector<std::string> args) {
    args.insert(args.begin(), {"--format", "json"});
    const Result r = cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return parseJson(r.out);
}

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("vasora_cli_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

// ---------------------------------------------------------------------------------------------
// Text report

TEST(CliText, OneLinePerLabelInWindowOrder) {
    const Result r = cli({});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto ls = lines(r.out);
    const auto labels = vasora::model::displayLabels();
    // Every label the displays write, then the percent button, whose caption they write too.
    ASSERT_EQ(ls.size(), labels.size() + 1);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const auto tab = ls[i].find('\t');
        ASSERT_NE(tab, std::string::npos) << ls[i];
        EXPECT_EQ(ls[i].substr(0, tab), labels[i].name);
    }
    EXPECT_EQ(ls.back(), "cmdPercent\t Show % Normal");
    // The window's order: time first, the compartments around the loop, warnings last.
    EXPECT_EQ(ls.front(), "lblTime\t0.000");
    EXPECT_EQ(ls[labels.size() - 1], "lblWarning5\t");
    auto at = [&](const std::string& name) {
        for (std::size_t i = 0; i < ls.size(); ++i)
            if (ls[i].starts_with(name + "\t")) return i;
        return ls.size();
    };
    EXPECT_LT(at("lblFlowSysA"), at("lblFlowSysV"));
    EXPECT_LT(at("lblFlowSysV"), at("lblFlowRghtV"));
    EXPECT_LT(at("lblFlowRghtV"), at("lblFlowPulmA"));
    EXPECT_LT(at("lblFlowPulmA"), at("lblFlowPulmV"));
    EXPECT_LT(at("lblFlowPulmV"), at("lblFlowLeftV"));
}

TEST(CliText, StartsAsTheModelWindowLoads) {
    const auto m = textLabels(cli({}).out);
    EXPECT_EQ(m.at("lblTime"), "0.000");
    for (const char* f : {"lblFlowSysA", "lblFlowSysV", "lblFlowRghtV", "lblFlowPulmA",
                          "lblFlowPulmV", "lblFlowLeftV"})
        EXPECT_EQ(m.at(f), "5500.") << f;
    EXPECT_EQ(m.at("lblPressSysA"), "93.7");
    EXPECT_EQ(m.at("lblEjectF_RV"), "0.70");
    EXPECT_EQ(m.at("lblEjectF_LV"), "0.71");
    EXPECT_EQ(m.at("lblK2_RV"), "1.0");
    EXPECT_EQ(m.at("lblFlowError"), "");
    EXPECT_EQ(m.at("lblWarning1"), "");
}

TEST(CliText, RunClicksRunNTimes) {
    const auto m = textLabels(cli({"--run", "2"}).out);
    EXPECT_EQ(m.at("lblTime"), "0.200");
    EXPECT_EQ(textLabels(cli({"--run", "0"}).out).at("lblTime"), "0.000");
}

TEST(CliText, PercentShowsPercentOfNormal) {
    const auto m = textLabels(cli({"--percent"}).out);
    EXPECT_EQ(m.at("lblFlowSysA"), "  100 ");
    EXPECT_EQ(m.at("lblPmcf"), " 100 ");
    EXPECT_EQ(m.at("lblPercent"), "   DATA as PERCENT ");
    EXPECT_EQ(m.at("lblTime"), ".000");
    EXPECT_EQ(m.at("lblLeftVent"), "Left Ventricle");
    // Percent is shown before printing, wherever it stands among the options.
    EXPECT_EQ(textLabels(cli({"--percent", "--run", "1"}).out).at("lblTime"), ".100");
}

// ---------------------------------------------------------------------------------------------
// JSON report

TEST(CliJson, WellFormedWithTheFourParts) {
    const Json j = jsonReport({});
    ASSERT_EQ(j.kind, Json::Object);
    ASSERT_EQ(j.members.size(), 4u);
    EXPECT_EQ(j.members[0].first, "labels");
    EXPECT_EQ(j.members[1].first, "colors");
    EXPECT_EQ(j.members[2].first, "state");
    EXPECT_EQ(j.members[3].first, "messages");

    const Json& labels = j["labels"];
    ASSERT_EQ(labels.kind, Json::Object);
    ASSERT_EQ(labels.members.size(), vasora::model::displayLabels().size() + 1);
    EXPECT_EQ(labels["cmdPercent"].s, " Show % Normal");
    // The same captions as the text report.
    const auto text = textLabels(cli({}).out);
    for (const auto& [name, caption] : labels.members) {
        ASSERT_EQ(caption.kind, Json::String) << name;
        EXPECT_EQ(caption.s, text.at(name)) << name;
    }
    EXPECT_EQ(labels["lblPressSysA"].s, "93.7");

    const Json& colors = j["colors"];
    ASSERT_EQ(colors.members.size(), labels.members.size());
    for (const auto& [name, c] : colors.members) {
        ASSERT_EQ(c.kind, Json::Object) << name;
        for (const char* k : {"fore", "back"}) {
            ASSERT_EQ(c[k].kind, Json::String) << name;
            ASSERT_EQ(c[k].s.size(), 7u) << name;
            EXPECT_EQ(c[k].s[0], '#');
            EXPECT_EQ(c[k].s.find_first_not_of("0123456789abcdef", 1), std::string::npos);
        }
        EXPECT_EQ(c["bold"].kind, Json::Bool) << name;
    }
    // Parameter labels at normal are yellow; a value label is black on white.
    EXPECT_EQ(colors["lblCompSysA"]["back"].s, "#ffff00");
    EXPECT_EQ(colors["lblFlowSysA"]["fore"].s, "#000000");
    EXPECT_EQ(colors["lblFlowError"]["back"].s, "#ffffff");
    EXPECT_FALSE(colors["lblCompRghtV"]["bold"].b);

    EXPECT_EQ(j["messages"].kind, Json::Array);
    EXPECT_TRUE(j["messages"].items.empty());
}

TEST(CliJson, BytesThatAreNotUtf8StayValidJson) {
    // A parameter file in another encoding: its bytes are quoted in the refusal message.
    const std::string path = tempPath("latin.txt");
    std::ofstream(path, std::ios::binary) << "\xff\xfe"
                                             "72,5\r\n"
                                             "caf\xe9\r\n";
    const Result r = cli({"--format", "json", "--params", path});
    std::filesystem::remove(path);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_TRUE(validUtf8(r.out));
    const Json j = parseJson(r.out);
    ASSERT_EQ(j["messages"].kind, Json::Array);
    ASSERT_FALSE(j["messages"].items.empty());
    EXPECT_NE(j["messages"].items.front().s.find("\xef\xbf\xbd"), std::string::npos);
    // The checker itself: well-formed text passes, stray or overlong bytes do not.
    EXPECT_TRUE(validUtf8("\xce\xb1\xe2\x89\xa4"));
    EXPECT_FALSE(validUtf8("\xff"));
    EXPECT_FALSE(validUtf8("\xc3"));
    EXPECT_FALSE(validUtf8("\xe0\x80\x80"));
}

TEST(CliJson, AnUnstableRunIsUndoneBeforeItsNumbersGrowLong) {
    // An iteration interval three times the normal one is unstable with a raised arterial
    // resistance: the volumes swing further at every step.
    const Json j =
        jsonReport({"--intervals", "0.003", "0.1", "--set", "lblResisSysA=150", "--autorun"});
    const Json& messages = j["messages"];
    ASSERT_FALSE(messages.items.empty());
    EXPECT_NE(messages.items.back().s.find("put back as it was"), std::string::npos);
    EXPECT_EQ(j["state"]["AutoRunOn"].n, 0);
    // Every caption still fits its label: no number of hundreds of digits is ever shown.
    for (const auto& [name, caption] : j["labels"].members)
        EXPECT_LE(caption.s.size(), 30u) << name << ": " << caption.s;
    for (const Json& f : j["state"]["Flow"].items) EXPECT_LT(std::fabs(f.n), 1e7);
}

TEST(CliJson, StateAfterLoad) {
    const Json j = jsonReport({});
    const Json& s = j["state"];
    for (const char* k :
         {"ModelTime", "StepCount", "IterInterval", "PrintInterval", "AutoRunOn", "VtotalBody",
          "VstrsTotal", "VunstrsTotal", "VolAdded", "CollapseVol", "Pmcf"}) {
        ASSERT_TRUE(s.has(k)) << k;
        EXPECT_EQ(s[k].kind, Json::Number) << k;
    }
    EXPECT_NEAR(s["ModelTime"].n, 0.1, 1e-12);
    EXPECT_EQ(s["StepCount"].n, 100);
    EXPECT_EQ(s["IterInterval"].n, 0.001);
    EXPECT_EQ(s["PrintInterval"].n, 0.1);
    EXPECT_EQ(s["AutoRunOn"].n, 0);
    EXPECT_NEAR(s["VtotalBody"].n, 5000, 0.01);
    EXPECT_NEAR(s["Pmcf"].n, 1400.0 / 165.0, 0.01);
    EXPECT_EQ(s["VolAdded"].n, 0);
    for (const char* a : {"Flow", "Press", "Vstrs", "Vunstrs"}) {
        ASSERT_EQ(s[a].kind, Json::Array) << a;
        EXPECT_EQ(s[a].items.size(), 6u) << a;
    }
    for (const Json& f : s["Flow"].items) EXPECT_NEAR(f.n, 5500, 1);
    EXPECT_NEAR(s["Press"].items[0].n, 93.7, 0.05);
    EXPECT_EQ(s["Vunstrs"].items[1].n, 2905.1);
    // Numbers are written so that they read back exactly.
    EXPECT_NEAR(s["VstrsTotal"].n + s["VunstrsTotal"].n, s["VtotalBody"].n, 1e-9);
    EXPECT_FALSE(s["Reflex"]["on"].b);
    // The reflex with two effectors after a bleed: the rate's share grows, venous tone's stays.
    const Json bled =
        jsonReport({"--reflex=hr,resis", "--set", "lblVtotalBody=-500", "--run", "20"});
    const Json& r = bled["state"]["Reflex"];
    EXPECT_TRUE(r["on"].b);
    ASSERT_EQ(r["effectors"].items.size(), 2u);
    EXPECT_EQ(r["effectors"].items[1].s, "resis");
    EXPECT_GT(r["effect"].items.at(0).n, 0.05);
    EXPECT_EQ(r["effect"].items.at(3).n, 0);
}

TEST(CliJson, OptionsApplyInCommandLineOrder) {
    EXPECT_EQ(jsonReport({"--run", "3"})["state"]["StepCount"].n, 400);
    // Restart after the runs goes back to the run made at load ...
    const Json restarted = jsonReport({"--run", "3", "--restart"});
    EXPECT_EQ(restarted["state"]["StepCount"].n, 100);
    EXPECT_EQ(restarted["labels"]["lblTime"].s, "0.000");
    // ... and runs after the restart count from there.
    EXPECT_EQ(jsonReport({"--restart", "--run", "3"})["state"]["StepCount"].n, 400);
    // Restart switches AutoRun off again.
    EXPECT_EQ(jsonReport({"--autorun"})["state"]["AutoRunOn"].n, 1);
    EXPECT_EQ(jsonReport({"--autorun", "--restart"})["state"]["AutoRunOn"].n, 0);
}

TEST(CliJson, AutoRunAtTheNormalEquilibriumRunsOnce) {
    const Json j = jsonReport({"--autorun"});
    EXPECT_EQ(j["state"]["StepCount"].n, 200);
    EXPECT_EQ(j["labels"]["lblFlowError"].s, "");
}

TEST(CliJson, PercentReport) {
    const Json j = jsonReport({"--percent"});
    EXPECT_EQ(j["labels"]["lblCompSysA"].s, "  100 ");
    EXPECT_EQ(j["colors"]["lblPercent"]["back"].s, "#0000ff");
    EXPECT_EQ(j["colors"]["lblPercent"]["fore"].s, "#ffff00");
}

// ---------------------------------------------------------------------------------------------
// Trace file

TEST(CliTrace, OneRowPerIntegrationStep) {
    const std::string path = tempPath("trace.csv");
    const Result r = cli({"--trace", path, "--run", "2", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json j = parseJson(r.out);
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const auto rows = lines(content.str());
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "ModelTime,Press(SysA),Flow(LeftV),Flow(SysV)");
    ASSERT_EQ(static_cast<double>(rows.size() - 1), j["state"]["StepCount"].n);
    double lastTime = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        std::vector<double> f;
        std::stringstream ss(rows[i]);
        std::string cell;
        while (std::getline(ss, cell, ',')) f.push_back(std::stod(cell));
        ASSERT_EQ(f.size(), 4u) << rows[i];
        // The clock after each step: 0.001 minute further each row.
        EXPECT_NEAR(f[0] - lastTime, 0.001, 1e-9) << "row " << i;
        lastTime = f[0];
        EXPECT_NEAR(f[1], 93.7, 0.1);
        EXPECT_NEAR(f[2], 5500, 1);
        EXPECT_NEAR(f[3], 5500, 1);
    }
    EXPECT_EQ(lastTime, j["state"]["ModelTime"].n);
    std::filesystem::remove(path);
}

TEST(CliTrace, RestartKeepsWritingFromTheNewClock) {
    const std::string path = tempPath("restart.csv");
    ASSERT_EQ(cli({"--trace", path, "--run", "1", "--restart"}).status, 0);
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const auto rows = lines(content.str());
    ASSERT_EQ(rows.size(), 1u + 300u);
    EXPECT_NEAR(std::stod(rows[201]), 0.001, 1e-12) << "the restarted clock";
    std::filesystem::remove(path);
}

TEST(CliTrace, UnwritableFileIsAnError) {
    const Result r = cli({"--trace", tempPath("no/such/folder/trace.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

// ---------------------------------------------------------------------------------------------
// Usage errors

TEST(CliUsage, UnknownOptionsAndValuesExitWith1) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},  {"--run"},           {"--run", "abc"}, {"--run", "-1"},      {"--run", "2x"},
        {"--format"}, {"--format", "xml"}, {"--trace"},      {"--run", "1", "-x"}, {"run"},
    };
    for (const auto& args : bad) {
        const Result r = cli(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(r.status, 1) << joined;
        EXPECT_NE(r.err.find("usage: vasora-cli"), std::string::npos) << joined;
        EXPECT_EQ(r.out, "") << joined << ": nothing is run or printed";
    }
    const Result unknown = cli({"--bogus"});
    EXPECT_NE(unknown.err.find("--bogus"), std::string::npos) << unknown.err;
}

TEST(CliUsage, HelpPrintsUsageAndSucceeds) {
    const Result r = cli({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: vasora-cli"), std::string::npos);
    for (const char* opt : {"--run", "--autorun", "--restart", "--percent", "--format", "--trace"})
        EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
}

}  // namespace
