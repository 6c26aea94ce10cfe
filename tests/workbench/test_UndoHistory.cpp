// Taking changes back, on the engine with a recording view: the whole state, the marks, the
// labels and the warnings as they were before each change, ten steps and more, nothing run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ModelLabels.h"
#include "model/Quantities.h"
#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "options/ParameterSetFile.h"
#include "options/RunOptions.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"
#include "workbench/UndoHistory.h"

using namespace vasora;
using namespace vasora::workbench;
using model::state;
using model::Window;

namespace {

// Everything of the state a learner could tell apart: the 75 values of a parameter set, the
// clock, the normal reference and the marks.
std::string fingerprint() {
    const model::ModelState& s = state();
    return options::writeParameterSet(s) + "|" + std::to_string(s.ModelTime) + "|" +
           std::to_string(s.StepCount) + "|" + std::to_string(s.Press_N[model::SysA]) + "|" +
           std::to_string(s.Flow_N[model::LeftV]) + "|" + std::to_string(s.ChangedMarks) + "|" +
           std::to_string(s.VolChangeKind);
}

class Undo : public ::testing::Test {
  protected:
    void SetUp() override {
        model::resetState();
        model::setView(&view);
        setRestartHooks({});
        setUndoViewHooks({});
        setUndoListener({});
        loadModelWindow();
    }
    void TearDown() override {
        setUndoViewHooks({});
        setUndoListener({});
        forgetUndo();
        model::setView(nullptr);
    }
    void change(const char* label, const char* text) {
        const ChangeResult r = changeByText(label, text);
        ASSERT_EQ(r.status, ChangeResult::Applied) << label << "=" << text << ": " << r.message;
    }
    bool marked(const char* label) {
        return view.look(Window::CVModel, label).back == model::kColorChanged &&
               view.look(Window::Layout, label).back == model::kColorChanged;
    }
    std::string allCaptions() {
        std::string all;
        for (const model::LabelInfo& l : model::displayLabels())
            all += std::string(l.name) + "=" + view.caption(Window::CVModel, l.name) + "\n";
        return all;
    }

    model::RecordingView view;
};

}  // namespace

TEST_F(Undo, AChangeIsTakenBackWithItsMarkItsLabelsAndItsWarnings) {
    const std::string before = fingerprint();
    const std::string captions = allCaptions();
    EXPECT_FALSE(canUndo());

    // A high pressure in the chest: the heart cannot fill, the warnings say so, the label is
    // marked.
    change("lblPit", "12");
    for (int i = 0; i < 10; ++i) clickRun();
    ASSERT_TRUE(marked("lblPit"));
    ASSERT_NE(view.caption(Window::CVModel, "lblWarning1"), "");
    ASSERT_TRUE(canUndo());
    const int steps = state().StepCount;

    ASSERT_TRUE(undoLastChange());
    EXPECT_EQ(fingerprint(), before);
    EXPECT_FALSE(marked("lblPit"));
    EXPECT_EQ(view.look(Window::CVModel, "lblPit").back, model::kParamNormal);
    EXPECT_EQ(allCaptions(), captions);
    EXPECT_EQ(view.caption(Window::CVModel, "lblWarning1"), "");
    EXPECT_FALSE(canUndo());
    EXPECT_FALSE(undoLastChange());
    // Nothing ran: the clock is the one before the change, not a step further.
    EXPECT_LT(state().StepCount, steps);
}

TEST_F(Undo, TenChangesAndMoreGoBackInOrderEachKind) {
    const char* const changes[][2] = {
        {"lblResisSysA", "150"},   {"lblCompSysV", "80"},   {"lblHR_RV", "110"},
        {"lblVtotalBody", "-500"}, {"lblPit", "-8"},        {"lblEmax_RV", "60"},
        {"lblVo_LV", "10"},        {"lblCompPulmV", "200"}, {"lblVunstrsTotal", "-200"},
        {"lblResisPulmA", "300"},  {"lblCompLeftV", "50"},  {"lblPit", "2"},
    };
    std::vector<std::string> seen;
    for (const auto& c : changes) {
        // Volume changes ramp over the following runs; each waits until the last one is done.
        for (int i = 0; i < 40 && (state().VolChangeRate != 0 || state().VunstrsChangeRate != 0);
             ++i)
            clickRun();
        seen.push_back(fingerprint());
        change(c[0], c[1]);
        clickRun();
    }
    ASSERT_EQ(undoSteps(), std::size(changes));
    for (std::size_t i = std::size(changes); i-- > 0;) {
        ASSERT_TRUE(undoLastChange()) << i;
        EXPECT_EQ(fingerprint(), seen[i])
            << "step back to before change " << i << " (" << changes[i][0] << ")";
    }
    EXPECT_FALSE(canUndo());
}

TEST_F(Undo, TheOldestStepsGoPastTheDepth) {
    for (std::size_t i = 0; i < kUndoDepth + 5; ++i) change("lblHR_RV", i % 2 ? "80" : "90");
    EXPECT_EQ(undoSteps(), kUndoDepth);
    std::size_t taken = 0;
    while (undoLastChange()) ++taken;
    EXPECT_EQ(taken, kUndoDepth);
    // The oldest kept step is the state before the sixth change (i = 5), after the fifth
    // (i = 4): heart rate 90.
    EXPECT_EQ(state().HrtRate, 90);
}

TEST_F(Undo, TheMarksFollowTheStateTheyBelongTo) {
    change("lblCompSysA", "150");
    change("lblResisSysV", "50");
    ASSERT_TRUE(marked("lblCompSysA"));
    ASSERT_TRUE(marked("lblResisSysV"));
    undoLastChange();
    EXPECT_TRUE(marked("lblCompSysA"));
    EXPECT_FALSE(marked("lblResisSysV"));
    EXPECT_EQ(state().ChangedMarks, model::parameterMark("lblCompSysA"));
    undoLastChange();
    EXPECT_FALSE(marked("lblCompSysA"));
    EXPECT_EQ(state().ChangedMarks, 0u);

    // The left heart rate's mark comes back with the AV block it was made under; without AV
    // block the label is no parameter and goes back to white, not yellow.
    options::setAVBlock(true);
    change("lblHR_LV", "40");
    change("lblPit", "-6");
    undoLastChange();
    EXPECT_TRUE(marked("lblHR_LV"));
    options::setAVBlock(false);
    EXPECT_EQ(view.look(Window::CVModel, "lblHR_LV").back, model::palette::BrightWhite);
    change("lblHR_RV", "80");
    undoLastChange();
    EXPECT_EQ(view.look(Window::CVModel, "lblHR_LV").back, model::palette::BrightWhite);
    EXPECT_FALSE(view.look(Window::CVModel, "lblHR_LV").enabled);
    // Before the change of the left rate: AV block on, the label a parameter again, unmarked.
    undoLastChange();
    EXPECT_EQ(state().AVBlock, 1);
    EXPECT_EQ(view.look(Window::CVModel, "lblHR_LV").back, model::kParamNormal);
    EXPECT_TRUE(view.look(Window::CVModel, "lblHR_LV").enabled);
}

TEST_F(Undo, RefusalsAndNoChangeAnswersLeaveNothingToTakeBack) {
    EXPECT_EQ(changeByText("lblResisSysA", "900").status, ChangeResult::Refused);
    EXPECT_EQ(changeByText("lblResisSysA", "").status, ChangeResult::Refused);
    EXPECT_EQ(changeByText("lblResisSysA", "-1").status, ChangeResult::NoChange);
    EXPECT_EQ(changeByText("lblVtotalBody", "-5000").status, ChangeResult::Refused);
    EXPECT_EQ(changeByText("lblPit", "40").status, ChangeResult::Refused);
    EXPECT_EQ(changeByText("lblHR_LV", "40").status, ChangeResult::Ignored);
    EXPECT_FALSE(canUndo());
}

TEST_F(Undo, AFreshStartOfTheModelForgetsTheHistory) {
    change("lblResisSysA", "200");
    clickRestart();
    EXPECT_FALSE(canUndo());
    change("lblResisSysA", "200");
    loadModelWindow();  // also what the lab book's restart tag does
    EXPECT_FALSE(canUndo());
}

TEST_F(Undo, UndoSwitchesAutoRunOffAndRunsNothing) {
    clickAutoRun(true);
    change("lblResisSysA", "300");  // AutoRun settles the new circulation at once
    ASSERT_EQ(state().AutoRunOn, 1);
    change("lblHR_RV", "120");
    const int stepsBefore = state().StepCount;
    ASSERT_TRUE(undoLastChange());
    EXPECT_EQ(state().AutoRunOn, 0);
    EXPECT_FALSE(view.look(Window::CVModel, "chkAutoRun").checked);
    EXPECT_LE(state().StepCount, stepsBefore);
    EXPECT_EQ(state().HrtRate, 72);
    EXPECT_DOUBLE_EQ(state().Resis[model::SysA], 3 * state().Resis_N[model::SysA]);
}

TEST_F(Undo, OtherCodeRemembersBeforeItsOwnChangeAndTheWindowsPartComesBack) {
    // What the windows keep of their own: here a number standing for the strip chart.
    int chart = 1;
    setUndoViewHooks(
        {[&chart]() -> ViewRestore { return [&chart, was = chart] { chart = was; }; }});
    std::vector<bool> told;
    setUndoListener([&told](bool can) { told.push_back(can); });
    told.clear();

    // As the lab book's input cells do: remember once, then change two values directly.
    const std::string before = fingerprint();
    rememberForUndo();
    state().Comp[model::SysA] *= 2;
    markParameterChanged("lblCompSysA");
    state().HrtRate = 100;
    markParameterChanged("lblHR_RV");
    model::RunModel();
    model::DisplayValues();
    chart = 7;

    ASSERT_TRUE(undoLastChange());
    EXPECT_EQ(fingerprint(), before);
    EXPECT_FALSE(marked("lblCompSysA"));
    EXPECT_FALSE(marked("lblHR_RV"));
    EXPECT_EQ(chart, 1);
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
}
