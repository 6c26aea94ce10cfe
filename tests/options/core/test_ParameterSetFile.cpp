// Parameter-set files: the layout of the 75 lines, the exact round trip, the refusals that keep
// the model as it was, short, empty and oversized files, the ".txt" rule and the atomic save.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include <sys/stat.h>

#include "options/RunOptions.h"
#include "tests/options/core/ParameterFilesFixture.h"
#include "workbench/ParameterChanges.h"

using namespace vasora;
using namespace vasora::testing;
using namespace vasora::model;
using namespace vasora::options;
namespace fs = std::filesystem;

namespace {

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every value the file keeps, by line, independent of the code's own table.
std::vector<double> keptNumbers(const ModelState& s) {
    std::vector<double> v;
    for (int i = 1; i <= kCompartments; ++i)
        for (const PerCompartment* a : {&s.Press, &s.Flow, &s.Vstrs, &s.Vunstrs, &s.Comp, &s.Resis})
            v.push_back((*a)[static_cast<std::size_t>(i)]);
    for (double d : {s.CompPericard,
                     s.Pit,
                     s.HrtRate,
                     s.K2_RV,
                     s.HrtRate_LV,
                     s.K2_LV,
                     double(s.AVBlock),
                     s.SystP,
                     s.DiasP,
                     s.Emax_RV,
                     s.Emax_LV,
                     s.Vo_RV,
                     s.Vo_LV,
                     s.VunstrsChangeTarget,
                     s.VolChangeTarget,
                     s.VolChangeRate,
                     s.VolChangeDone,
                     s.VunstrsChangeRate,
                     s.VunstrsChangeDone,
                     s.CollapseRate,
                     s.VunstrsTotal,
                     s.VstrsTotal,
                     s.VtotalBody,
                     s.VolAdded,
                     s.IterInterval,
                     s.PrintInterval,
                     s.RunUntil,
                     s.ModelTime,
                     double(s.NormalSaved),
                     double(s.StepCount),
                     double(s.PlotSpan),
                     double(s.PlotHidden)})
        v.push_back(d);
    return v;
}

}  // namespace

TEST_F(ParameterFiles, TheNormalSetSavedAtStartHasTheKnownLines) {
    const std::string path = saveParameterSet(file("normal"));
    EXPECT_EQ(path, file("normal.txt"));
    const std::string text = readAll(path);
    const auto lines = splitCrLf(text);
    ASSERT_EQ(lines.size(), 75u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 75);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 75);
    const std::vector<std::string> names = {
        "\"Right Ventricle\"", "\"Left Ventricle\"", "\"Heart Rate\"",     "\"Heart Rate\"",
        "\"Unstressed\"",      "\"Total Body\"",     "\"P intrathoracic\""};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 36, lines.begin() + 43), names);
    const std::vector<std::string> tail = {"0.001", "0.1", "0", "0", "0", "0", "3000", "0"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 67, lines.end()), tail);
    EXPECT_EQ(lines[4], "2");        // Comp(SysA)
    EXPECT_EQ(lines[5], "0.01582");  // Resis(SysA)
    EXPECT_EQ(lines[44], "-4");      // Pit
    EXPECT_EQ(lines[49], "0");       // AVBlock
    // The clock was reset in the model too, so the next run stores a new normal.
    EXPECT_EQ(state().ModelTime, 0);
    EXPECT_EQ(state().NormalSaved, 0);
    EXPECT_EQ(paramSetFile(), path);
    EXPECT_EQ(view.caption(Window::CVModel, "txtCurrentF"), path);
    EXPECT_EQ(view.caption(Window::Layout, "txtCurrentF"), path);
}

TEST_F(ParameterFiles, SaveThenRetrieveRestoresEveryValueExactly) {
    ModelState& s = state();
    // Values whose shortest text is long, or that a careless format would round, all within
    // what a parameter set may hold.
    s.Comp[SysA] = 0.1 + 0.2;
    s.Resis[PulmV] = 1.0 / 3000.0;
    s.Vunstrs[SysV] = 2905.1000000000004;
    s.Pit = -0.0;
    s.VolChangeRate = -1.2345678901234567e-300;
    s.VolAdded = 99999.99999999999;
    s.K2_RV = 5e-324;
    s.HrtRate_LV = 91.25;
    s.AVBlock = 1;
    s.StepCount = 2147483647;
    s.PlotSpan = 32767;
    s.PlotHidden = 1;
    s.SegName[9] = "Heart Rate LV";
    const std::string path = saveParameterSet(file("exact"));
    ASSERT_FALSE(path.empty());
    const std::vector<double> saved = keptNumbers(s);
    const auto names = s.SegName;

    ModelState other{};
    other.Comp.fill(1);
    const ReadResult r = readParameterSet(readAll(path), other);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(r.line, 75);
    const std::vector<double> back = keptNumbers(other);
    ASSERT_EQ(back.size(), 75u - 7u);
    for (std::size_t k = 0; k < saved.size(); ++k)
        EXPECT_TRUE(sameBits(saved[k], back[k]))
            << "value " << k << ": " << saved[k] << " " << back[k];
    for (int k = 6; k <= 12; ++k) EXPECT_EQ(other.SegName[k], names[k]);
    EXPECT_TRUE(std::signbit(other.Pit));
}

TEST_F(ParameterFiles, RetrievingASavedSetContinuesFromTimeZeroWithANewNormal) {
    state().HrtRate = 90;
    RunModel();
    DisplayValues();
    const std::string path = saveParameterSet(file("fast heart"));
    const std::vector<double> saved = keptNumbers(state());
    // The learner goes on changing things, then retrieves the set.
    state().HrtRate = 150;
    state().Comp[SysV] = 50;
    RunModel();
    ASSERT_TRUE(retrieveParameterSet(path));
    const ModelState& s = state();
    EXPECT_EQ(s.ParamSetLoaded, 1);
    EXPECT_EQ(s.HrtRate, 90);
    EXPECT_EQ(s.Comp[SysV], saved[1 * 6 + 4]);
    EXPECT_NEAR(s.ModelTime, 0.1, 1e-9);
    EXPECT_EQ(s.NormalSaved, 1);
    EXPECT_EQ(s.HrtRate_N, 90);
    EXPECT_EQ(view.caption(Window::CVModel, "lblHR_RV"), "90.0");
    EXPECT_EQ(paramSetFile(), path);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ParameterFiles, AHemorrhageSavedAndRetrievedIsNoErrorOfTheBookkeeping) {
    // The volume bled counts from the normal reference, and a saved or retrieved set is the
    // reference of its own runs: the model error stays zero throughout.
    ASSERT_EQ(workbench::changeBloodVolume(-1000).status, workbench::ChangeResult::Applied);
    for (int i = 0; i < 40; ++i) RunModel();
    ASSERT_EQ(state().VolChangeTarget, 0) << "the bleed is done";
    EXPECT_NEAR(state().VolError, 0, 1e-6);
    EXPECT_LT(state().VolAdded, -1000);
    const std::string path = saveParameterSet(file("bled"));
    RunModel();
    EXPECT_NEAR(state().VolError, 0, 1e-6);
    EXPECT_EQ(state().VolAdded, 0);
    // Retrieved into a session whose reference is the normal circulation again.
    model::resetState();
    workbench::loadModelWindow();
    ASSERT_TRUE(retrieveParameterSet(path));
    EXPECT_NEAR(state().VolError, 0, 1e-6);
    EXPECT_NEAR(state().VtotalBody, 4000, 1);
    DisplayValues();
    EXPECT_EQ(view.caption(Window::CVModel, "lblVolError").substr(0, 3), "0.0");
    // Normals stored again after a transfusion (custom intervals switched off): no error.
    ASSERT_EQ(workbench::changeBloodVolume(500).status, workbench::ChangeResult::Applied);
    for (int i = 0; i < 40; ++i) RunModel();
    untickIntervals();
    RunModel();
    EXPECT_NEAR(state().VolError, 0, 1e-6);
}

TEST_F(ParameterFiles, UnsoundFilesAreRefusedAsAWholeNamingTheLine) {
    const std::string good = readAll(saveParameterSet(file("good")));
    const auto lines = splitCrLf(good);
    struct Case {
        int line;
        const char* text;
    };
    const Case cases[] = {
        {12, "abc"},  {1, "0,5"}, {3, ""},       {70, "nan"}, {71, "inf"},
        {2, "1e999"}, {5, "0"},   {11, "0"},     {17, "0.0"}, {23, "-0"},
        {29, "0"},    {35, "0"},  {6, "0"},      {12, "0"},   {24, "0"},
        {30, "0"},    {46, "0"},  {48, "0"},     {53, "0"},   {54, "0"},
        {50, "1.5"},  {73, "x"},  {74, "40000"}, {68, "0"},   {68, "-0.001"},
    };
    for (const Case& c : cases) {
        auto bad = lines;
        bad[static_cast<std::size_t>(c.line - 1)] = c.text;
        const std::string path = file("bad.txt");
        std::ofstream(path, std::ios::binary) << join(bad);
        state().HrtRate = 77;  // something the file would overwrite
        const std::string before = writeParameterSet(state());
        const double time = state().ModelTime;
        view.messages.clear();
        EXPECT_FALSE(retrieveParameterSet(path)) << c.line << " " << c.text;
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].find("line " + std::to_string(c.line) + " "), std::string::npos)
            << view.messages[0];
        EXPECT_EQ(writeParameterSet(state()), before) << c.line;
        EXPECT_EQ(state().ModelTime, time);
        EXPECT_EQ(state().ParamSetLoaded, 0);
    }
}

TEST_F(ParameterFiles, TheVentriclesZeroResistancesAndOlderNumberFormsAreAccepted) {
    auto lines = splitCrLf(readAll(saveParameterSet(file("good"))));
    EXPECT_EQ(lines[17], "0");  // Resis(RghtV), in no equation
    EXPECT_EQ(lines[35], "0");  // Resis(LeftV)
    lines[67] = "1E-03";        // as older programs wrote numbers
    lines[68] = " .1 ";
    lines[45] = "Heart Rate";  // a text line holds anything
    lines[44] = "-4.";
    ModelState s{};
    std::string text = "\xEF\xBB\xBF" + join(lines, "\n");  // an editor's mark and line ends
    const ReadResult r = readParameterSet(text, s);
    EXPECT_FALSE(r.ok);  // line 46 is the heart rate, not a text
    EXPECT_EQ(r.line, 46);
    lines[45] = "72";
    lines[36] = "Right Ventricle";  // a text without quotes
    const ReadResult ok = readParameterSet("\xEF\xBB\xBF" + join(lines, "\n"), s);
    ASSERT_TRUE(ok.ok) << ok.reason;
    EXPECT_EQ(s.IterInterval, 0.001);
    EXPECT_EQ(s.PrintInterval, 0.1);
    EXPECT_EQ(s.Pit, -4);
    EXPECT_EQ(s.SegName[6], "Right Ventricle");
    EXPECT_EQ(s.Press[SysA], state().Press[SysA]);
}

TEST_F(ParameterFiles, AShortFileLoadsTheLinesItHas) {
    const auto lines = splitCrLf(readAll(saveParameterSet(file("good"))));
    ModelState s = state();
    s.Press[SysA] = 1;
    s.Comp[SysV] = 55;  // line 11: beyond the file
    s.HrtRate = 60;
    std::vector<std::string> shortFile(lines.begin(), lines.begin() + 10);
    shortFile[0] = "100.5";
    const ReadResult r = readParameterSet(join(shortFile), s);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(r.line, 10);
    EXPECT_EQ(s.Press[SysA], 100.5);
    EXPECT_EQ(s.Comp[SysV], 55);
    EXPECT_EQ(s.HrtRate, 60);
    // A last line without its line end still counts.
    const ReadResult r2 = readParameterSet("93.5\r\n5400", s);
    ASSERT_TRUE(r2.ok);
    EXPECT_EQ(s.Flow[SysA], 5400);
}

TEST(TxtExtension, IsAppendedOnlyWhenMissingIgnoringCase) {
    EXPECT_EQ(withTxtExtension("heart failure"), "heart failure.txt");
    EXPECT_EQ(withTxtExtension("heart failure.txt"), "heart failure.txt");
    EXPECT_EQ(withTxtExtension("HEART.TXT"), "HEART.TXT");
    EXPECT_EQ(withTxtExtension("a.Txt"), "a.Txt");
    EXPECT_EQ(withTxtExtension("a.txt.bak"), "a.txt.bak.txt");
    EXPECT_EQ(withTxtExtension("atxt"), "atxt.txt");
    EXPECT_EQ(withTxtExtension(".txt"), ".txt");
}

TEST_F(ParameterFiles, ASaveThatCannotBeWrittenIsReportedAndChangesNothing) {
    const double time = state().ModelTime;
    paramSetFile() = "previous.txt";
    // No such folder.
    EXPECT_EQ(saveParameterSet(file("missing/set")), "");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("could not be saved"), std::string::npos);
    EXPECT_NE(view.messages[0].find(": its folder does not exist."), std::string::npos)
        << view.messages[0];
    // A folder stands where the file would go: the temporary file must not stay behind.
    fs::create_directory(dir / "taken.txt");
    fs::create_directory(dir / "taken.txt" / "inside");
    EXPECT_EQ(saveParameterSet(file("taken")), "");
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_NE(view.messages[1].find(": there is a folder of that name."), std::string::npos)
        << view.messages[1];
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir)) left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"taken.txt"});
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_EQ(state().NormalSaved, 1);
    EXPECT_EQ(paramSetFile(), "previous.txt");
}

TEST_F(ParameterFiles, SavingOverAnOlderFileReplacesItWhole) {
    const std::string path = file("set.txt");
    std::ofstream(path, std::ios::binary) << std::string(20000, 'x');
    ASSERT_EQ(saveParameterSet(path), path);
    const std::string text = readAll(path);
    EXPECT_EQ(splitCrLf(text).size(), 75u);
    EXPECT_EQ(text.find('x'), std::string::npos);
}

TEST_F(ParameterFiles, RestartReadsTheRetrievedSetAgain) {
    workbench::setRestartHooks({[] { return false; }, [] { reloadParameterSet(); }, {}});
    state().Emax_LV = 2.5;
    RunModel();
    const std::string path = saveParameterSet(file("weak"));
    ASSERT_TRUE(retrieveParameterSet(path));
    state().Emax_LV = 5;
    RunModel();
    RunModel();
    workbench::clickRestart();
    EXPECT_EQ(state().Emax_LV, 2.5);
    EXPECT_EQ(state().ParamSetLoaded, 1);
    EXPECT_NEAR(state().ModelTime, 0.1, 1e-9);

    // The file went away: Restart says so and starts from the normal set.
    fs::remove(path);
    view.messages.clear();
    workbench::clickRestart();
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(state().Emax_LV, 3.52);
    EXPECT_EQ(state().ParamSetLoaded, 0);
    workbench::setRestartHooks({});
}

TEST_F(ParameterFiles, AFileWithNoValuesOrLargerThanAnySetIsRefusedAndChangesNothing) {
    const std::string good = readAll(saveParameterSet(file("good")));
    state().HrtRate = 77;  // something a loaded file would overwrite
    const std::string before = writeParameterSet(state());
    auto refused = [&](const std::string& text, const std::string& why) {
        writeText(dir / "bad.txt", text);
        view.messages.clear();
        EXPECT_FALSE(retrieveParameterSet(file("bad.txt"))) << why;
        ASSERT_EQ(view.messages.size(), 1u) << why;
        EXPECT_NE(view.messages[0].find(why), std::string::npos) << view.messages[0];
        EXPECT_EQ(writeParameterSet(state()), before) << why;
        EXPECT_EQ(state().ParamSetLoaded, 0);
        EXPECT_EQ(paramSetFile(), file("good.txt"));
    };
    refused("", "was not loaded: the file is empty. The model is unchanged.");
    refused("\xEF\xBB\xBF", "the file holds only a byte-order mark and no values");
    // Sound lines, but the segment name of line 37 runs past the most a set may have: its
    // beginning must not be loaded as if it were the whole file.
    auto padded = [&](std::size_t total) {
        std::string t = good;
        const std::size_t at = t.find("\"Right Ventricle\"") + 1;
        t.insert(at, total - good.size(), 'x');
        return t;
    };
    refused(padded(kMostParameterSetBytes + 1), "longer than the 1048576 bytes read of it");
    refused(padded(2 * kMostParameterSetBytes), "longer than the 1048576 bytes read of it");
    // What just fits is read whole.
    writeText(dir / "full.txt", padded(kMostParameterSetBytes));
    ASSERT_TRUE(retrieveParameterSet(file("full.txt")));
    EXPECT_EQ(state().SegName[6].size(), kMostParameterSetBytes - good.size() + 15);
    EXPECT_EQ(state().HrtRate, 72);
    // A folder is no file.
    view.messages.clear();
    EXPECT_FALSE(retrieveParameterSet(dir.string()));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("could not be read: it is a folder."), std::string::npos)
        << view.messages[0];
}

TEST_F(ParameterFiles, ASaveKeepsTheFilesPermissionsAndLinksAndRefusesAReadOnlyFile) {
    const std::string set = file("private.txt");
    writeText(set, "old");
    ASSERT_EQ(::chmod(set.c_str(), 0600), 0);
    // A killed save of an earlier version left this behind, hours ago.
    writeText(dir / "private.txt.saving-123456", "half");
    fs::last_write_time(dir / "private.txt.saving-123456",
                        fs::file_time_type::clock::now() - std::chrono::hours(3));
    ASSERT_EQ(saveParameterSet(set), set);
    struct stat st {};
    ASSERT_EQ(::stat(set.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(splitCrLf(readAll(set)).size(), 75u);
    EXPECT_FALSE(fs::exists(dir / "private.txt.saving-123456"));

    fs::create_directory(dir / "course");
    fs::create_symlink("course/shared.txt", dir / "link.txt");
    ASSERT_EQ(saveParameterSet(file("link.txt")), file("link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(splitCrLf(readAll(dir / "course" / "shared.txt")).size(), 75u);

    const std::string locked = file("handout.txt");
    writeText(locked, "the teacher's set");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    RunModel();
    const double time = state().ModelTime;
    view.messages.clear();
    EXPECT_EQ(saveParameterSet(locked), "");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("could not be saved as " + locked + ": the file is read-only."),
              std::string::npos)
        << view.messages[0];
    EXPECT_EQ(readAll(locked), "the teacher's set");
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_EQ(paramSetFile(), file("link.txt"));
}
