// What a parameter set may hold: values no circulation has are refused by line and value with
// the model left as it was, the dialogs' limits themselves are accepted, and every set the
// program writes (the normal set, the shipped sets, sets changed to the dialogs' limits, a
// chain of such changes) loads again; a state that would not load is not saved.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "model/Quantities.h"
#include "options/RunOptions.h"
#include "tests/options/core/ParameterFilesFixture.h"
#include "workbench/ParameterChanges.h"

using namespace vasora;
using namespace vasora::testing;
using namespace vasora::model;
using namespace vasora::options;
namespace fs = std::filesystem;

namespace {

class ParameterChecks : public ParameterFiles {
  protected:
    // The normal set as a file, with line `line` replaced by `text`.
    std::string normalWith(int line, const std::string& text) {
        auto lines = splitCrLf(writeParameterSet(state()));
        lines[static_cast<std::size_t>(line - 1)] = text;
        return join(lines);
    }
    // Retrieves `text`; on a refusal checks that the model stayed as it was.
    bool retrieveText(const std::string& text) {
        const std::string path = file("set.txt");
        writeText(path, text);
        const std::string before = writeParameterSet(state());
        const double time = state().ModelTime;
        view.messages.clear();
        const bool loaded = retrieveParameterSet(path);
        if (!loaded) {
            EXPECT_EQ(writeParameterSet(state()), before);
            EXPECT_EQ(state().ModelTime, time);
            EXPECT_EQ(state().ParamSetLoaded, 0);
            EXPECT_EQ(view.caption(Window::CVModel, "txtCurrentF"), "");
        }
        return loaded;
    }
    // Saves the model and retrieves the file again, both without a word.
    void saveAndRetrieve(const char* name) {
        view.messages.clear();
        const std::string path = saveParameterSet(file(name));
        ASSERT_FALSE(path.empty()) << (view.messages.empty() ? "" : view.messages[0]);
        ASSERT_TRUE(retrieveParameterSet(path)) << view.messages[0];
        EXPECT_TRUE(view.messages.empty()) << view.messages[0];
    }
};

}  // namespace

TEST_F(ParameterChecks, ValuesNoCirculationHasAreRefusedNamingTheLineAndTheValue) {
    struct Case {
        int line;
        const char* text;
        const char* shown;  // how the message writes the value
    };
    const Case cases[] = {
        {5, "-100", "-100 ml/mmHg"},
        {5, "1e308", "1e+308 ml/mmHg"},
        {11, "5000", "5000 ml/mmHg"},
        {12, "-0.001", "-0.001 mmHg/(ml/min)"},
        {46, "1e300", "1e+300 beats/min"},
        {46, "250", "250 beats/min"},
        {48, "0.5", "0.5 beats/min"},
        {45, "16", "16 mmHg"},
        {54, "4000", "4000 mmHg/ml"},
        {56, "102", "102 ml"},
        {55, "-11", "-11 ml"},
        {1, "1000.5", "1000.5 mmHg"},
        {2, "-2e6", "-2e+06 ml/min"},
        {3, "-100001", "-100001 ml"},
        {10, "-1", "-1 ml"},
        {18, "-1", "-1 mmHg/(ml/min)"},
        {44, "-2", "-2 ml/mmHg"},
        {47, "1.5", "1.5"},
        {50, "2", "2, but it can only be 0 or 1"},
        {59, "1e6", "1e+06 ml/min"},
        {63, "5000", "5000 ml/min"},
        {66, "-5", "-5 ml"},
        {68, "0.02", "0.02 min"},
        {69, "5", "5 min"},
        {71, "1e9", "1e+09 min"},
        {72, "-1", "-1, but it can only be 0 or 1"},
        {73, "-5", "-5"},
        {74, "0", "0"},
        {75, "3", "3, but it can only be 0 or 1"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(retrieveText(normalWith(c.line, c.text))) << c.line << " " << c.text;
        ASSERT_EQ(view.messages.size(), 1u) << c.line;
        const std::string& m = view.messages[0];
        EXPECT_NE(m.find("line " + std::to_string(c.line) + " ("), std::string::npos) << m;
        EXPECT_NE(m.find(std::string(" is ") + c.shown), std::string::npos) << m;
        EXPECT_NE(m.find("The model is unchanged."), std::string::npos) << m;
    }
    // The message says whose limits were passed.
    retrieveText(normalWith(46, "1e300"));
    EXPECT_NE(view.messages[0].find("outside the 1 to 249.5 beats/min that the change dialogs "
                                    "allow"),
              std::string::npos)
        << view.messages[0];
}

TEST_F(ParameterChecks, TheFirstFaultInFileOrderIsNamed) {
    auto lines = splitCrLf(writeParameterSet(state()));
    lines[4] = "-100";  // out of bounds, before
    lines[11] = "abc";  // a line that is no number
    EXPECT_FALSE(retrieveText(join(lines)));
    EXPECT_NE(view.messages[0].find("line 5 "), std::string::npos) << view.messages[0];
    // The display interval may not be shorter than the iteration step.
    EXPECT_FALSE(retrieveText(normalWith(69, "0.0005")));
    EXPECT_NE(view.messages[0].find("line 69 "), std::string::npos) << view.messages[0];
}

TEST_F(ParameterChecks, TheDialogsOwnLimitsLoad) {
    struct Case {
        int line;
        const char* text;
    };
    const Case cases[] = {{46, "249.5"},  {46, "1"},     {48, "249.5"}, {45, "15"}, {45, "-15"},
                          {56, "101"},    {56, "-10.1"}, {55, "101"},   {47, "0"},  {74, "1"},
                          {68, "0.0001"}, {68, "0.01"},  {69, "3"},     {71, "0"},  {50, "1"}};
    for (const Case& c : cases) {
        SetNormalParameters();
        EXPECT_TRUE(retrieveText(normalWith(c.line, c.text)))
            << c.line << " " << c.text << ": " << view.messages[0];
    }
    // The change dialogs agree on the intrathoracic pressure.
    EXPECT_EQ(workbench::changePit(15).status, workbench::ChangeResult::Applied);
    EXPECT_EQ(workbench::changePit(15.01).status, workbench::ChangeResult::Refused);
}

TEST_F(ParameterChecks, PercentParametersMayHoldThreeDialogChangesFromTheNormalSet) {
    // The bounds are taken of the normal set as SetNormalParameters makes it, so that a change
    // of the normal set cannot leave them behind.
    const ModelState normal = state();
    const std::pair<int, const char*> rows[] = {
        {5, "lblCompSysA"},    {6, "lblResisSysA"},  {11, "lblCompSysV"},   {12, "lblResisSysV"},
        {17, "lblCompRghtV"},  {23, "lblCompPulmA"}, {24, "lblResisPulmA"}, {29, "lblCompPulmV"},
        {30, "lblResisPulmV"}, {35, "lblCompLeftV"}, {53, "lblEmax_RV"},    {54, "lblEmax_LV"}};
    int chained = 0;
    for (int line = 1; line <= kParameterSetLines; ++line)
        if (lineBound(line) && lineBound(line)->origin == LineBound::DialogChain) ++chained;
    EXPECT_EQ(chained, 12);
    for (const auto& [line, label] : rows) {
        const auto b = lineBound(line);
        const Quantity* q = parameterByLabel(label);
        ASSERT_TRUE(b && q) << line;
        const ChangeLimits& row = q->limits;
        const double n = *lineValue(normal, line);
        EXPECT_EQ(b->origin, LineBound::DialogChain) << line;
        EXPECT_NEAR(b->lower, n * std::pow(row.lower / 100, 3), 1e-6 * n) << line;
        EXPECT_NEAR(b->upper, n * std::pow(row.upper / 100, 3), 1e-6 * b->upper) << line;
    }
}

TEST_F(ParameterChecks, EveryDialogLimitReachedFromTheNormalSetSavesAndLoads) {
    int parameters = 0;
    for (const Quantity& row : quantities()) {
        if (row.change != Change::Parameter) continue;
        ++parameters;
        for (const double entry : {row.limits.lower, row.limits.upper}) {
            resetState();
            SetNormalParameters();
            RunModel();
            setAVBlock(row.label == "lblHR_LV");
            ASSERT_EQ(workbench::changeParameter(row, entry).status,
                      workbench::ChangeResult::Applied)
                << row.label;
            for (int k = 0; k < 5; ++k) RunModel();
            SCOPED_TRACE(std::string(row.label) + " " + std::to_string(entry));
            saveAndRetrieve("limit");
        }
    }
    EXPECT_EQ(parameters, 15);
}

TEST_F(ParameterChecks, AChainOfSavedChangesLoadsUntilItPassesWhatTheDialogsCanReach) {
    const Quantity& row = *parameterByLabel("lblCompSysV");
    for (int k = 1; k <= 3; ++k) {
        ASSERT_EQ(workbench::changeParameter(row, row.limits.upper).status,
                  workbench::ChangeResult::Applied);
        RunModel();
        saveAndRetrieve("chain");  // its first run makes it the normal of the next change
    }
    // A fourth change passes the bound: the save says so and writes nothing, so that no file
    // is made that its own retrieval refuses.
    ASSERT_EQ(workbench::changeParameter(row, row.limits.upper).status,
              workbench::ChangeResult::Applied);
    const std::string before = readAll(file("chain.txt"));
    const double time = state().ModelTime;
    view.messages.clear();
    EXPECT_EQ(saveParameterSet(file("chain")), "");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("could not be saved"), std::string::npos);
    EXPECT_NE(view.messages[0].find("line 11 (compliance of the systemic veins)"),
              std::string::npos)
        << view.messages[0];
    EXPECT_EQ(readAll(file("chain.txt")), before);
    EXPECT_EQ(state().ModelTime, time);
}

TEST_F(ParameterChecks, AStateTheLabBookCanMakeButNoFileMayHoldIsNotSaved) {
    // The lab book's input cells check no limits.
    state().HrtRate = 1000;
    paramSetFile() = "previous.txt";
    EXPECT_EQ(saveParameterSet(file("fast")), "");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("line 46 (heart rate) is 1000 beats/min"), std::string::npos)
        << view.messages[0];
    EXPECT_FALSE(fs::exists(file("fast.txt")));
    EXPECT_EQ(paramSetFile(), "previous.txt");
}

TEST_F(ParameterChecks, TheNormalAndTheShippedSetsLoadAndSaveAgain) {
    saveAndRetrieve("normal");
    const char* source = std::getenv("VASORA_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "the tests are run by CTest, which names the source folder";
    int sets = 0;
    for (const auto& e : fs::directory_iterator(fs::path(source) / "content" / "Parameters")) {
        if (e.path().extension() != ".txt") continue;
        ++sets;
        SCOPED_TRACE(e.path().filename().string());
        view.messages.clear();
        ASSERT_TRUE(retrieveParameterSet(e.path().string()))
            << (view.messages.empty() ? "" : view.messages[0]);
        for (int k = 0; k < 20; ++k) RunModel();
        saveAndRetrieve("again");
    }
    EXPECT_GE(sets, 4);
}
