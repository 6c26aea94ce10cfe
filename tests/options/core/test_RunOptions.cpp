// The options window's interval checks, the AV-block switch and the return to the model, on the
// model state through a recording view.

#include <gtest/gtest.h>

#include <array>

#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "options/RunOptions.h"
#include "workbench/CVModelActions.h"

using namespace vasora;
using namespace vasora::model;
using namespace vasora::options;

namespace {

class RunOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetState();
        setView(&view);
        workbench::setRestartHooks({});
        workbench::loadModelWindow();
        view.messages.clear();
    }
    void TearDown() override { setView(nullptr); }

    RecordingView view;
};

}  // namespace

TEST_F(RunOptionsTest, AcceptedIntervalsTakeEffectWithoutARun) {
    const double time = state().ModelTime;
    EXPECT_TRUE(tickIntervals("0.002", "0.5"));
    EXPECT_EQ(state().IterInterval, 0.002);
    EXPECT_EQ(state().PrintInterval, 0.5);
    EXPECT_EQ(state().IterIntervalEntry, 0.002);
    EXPECT_EQ(state().PrintIntervalEntry, 0.5);
    EXPECT_EQ(state().IntervalsCustom, 1);
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_TRUE(view.messages.empty());

    const auto steps = state().StepCount;
    RunModel();
    EXPECT_NEAR(state().ModelTime - time, 0.5, 0.0021);
    EXPECT_NEAR(state().StepCount - steps, 250, 1);
}

TEST_F(RunOptionsTest, BoundsAreInclusiveAndRefusalsLeaveTheIntervals) {
    struct Case {
        const char *iter, *print;
        bool ok;
        std::string_view message;
    };
    const Case cases[] = {
        {"0.0001", "0.1", true, {}},
        {"0.00005", "0.1", false, kIterTooSmall},
        {"0.00009999", "0.1", false, kIterTooSmall},
        {"0.01", "3", true, {}},
        {"0.0100001", "0.1", false, kIterTooLarge},
        {"0.02", "0.1", false, kIterTooLarge},
        {"0.001", "0.0005", false, kPrintBelowIter},
        {"0.001", "0.001", true, {}},
        {"0.001", "3.0001", false, kPrintTooLarge},
        {"0.001", "4", false, kPrintTooLarge},
    };
    for (const Case& c : cases) {
        SetUp();
        const double iter = state().IterInterval, print = state().PrintInterval;
        EXPECT_EQ(tickIntervals(c.iter, c.print), c.ok) << c.iter << " " << c.print;
        EXPECT_EQ(state().IntervalsCustom, 1);
        if (c.ok) {
            EXPECT_TRUE(view.messages.empty());
            continue;
        }
        ASSERT_EQ(view.messages.size(), 1u) << c.iter << " " << c.print;
        EXPECT_EQ(view.messages[0], c.message);
        EXPECT_EQ(state().PrintInterval, print);
        if (c.message == kIterTooSmall || c.message == kIterTooLarge)
            EXPECT_EQ(state().IterInterval, iter);
        else  // the iteration interval accepted first stays
            EXPECT_EQ(state().IterInterval, parseDecimal(c.iter));
    }
}

TEST_F(RunOptionsTest, ATextThatIsNoNumberChecksTheIntervalInForce) {
    EXPECT_TRUE(tickIntervals("abc", "0,5"));
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[0], kNotNumeric);
    EXPECT_EQ(view.messages[1], kNotNumeric);
    EXPECT_EQ(state().IterInterval, 0.001);
    EXPECT_EQ(state().PrintInterval, 0.1);
}

TEST_F(RunOptionsTest, UntickingRunsOnceAndMakesTheResultTheNormal) {
    ASSERT_TRUE(tickIntervals("0.002", "0.5"));
    state().Comp[SysA] = 3.0;  // a change the new normal must take up
    const double time = state().ModelTime;
    untickIntervals();
    const ModelState& s = state();
    EXPECT_EQ(s.IntervalsCustom, 0);
    EXPECT_EQ(s.IterInterval, 0.001);
    EXPECT_EQ(s.PrintInterval, 0.1);
    EXPECT_NEAR(s.ModelTime - time, 0.1, 1e-9);
    EXPECT_EQ(s.Comp_N[SysA], 3.0);
    EXPECT_EQ(s.Flow_N[SysA], s.Flow[SysA]);
    EXPECT_EQ(s.Vstrs_N[SysV], s.Vstrs[SysV]);
    // The model window shows compliances as percent of normal: the changed one now reads 100.
    EXPECT_EQ(view.caption(Window::CVModel, "lblCompSysA"), "100.0");
}

TEST_F(RunOptionsTest, ReturnPutsTheAcceptedCustomIntervalsBack) {
    ASSERT_TRUE(tickIntervals("0.002", "0.5"));
    state().IterInterval = 0.0002;  // as a run lowers it after a low pulmonary resistance
    restoreIntervals();
    EXPECT_EQ(state().IterInterval, 0.002);
    EXPECT_EQ(state().PrintInterval, 0.5);

    SetUp();
    state().IterInterval = 0.0002;
    restoreIntervals();  // custom intervals off: the defaults
    EXPECT_EQ(state().IterInterval, 0.001);
    EXPECT_EQ(state().PrintInterval, 0.1);
}

TEST_F(RunOptionsTest, ReturnAfterOnlyRefusedValuesKeepsARunnableInterval) {
    // The box is ticked but its first value was refused: no entry was ever accepted, and an
    // iteration interval of 0 would hang the next run.
    ASSERT_FALSE(tickIntervals("0.5", "0.1"));
    restoreIntervals();
    EXPECT_EQ(state().IterInterval, 0.001);
    EXPECT_EQ(state().PrintInterval, 0.1);
    const auto steps = state().StepCount;
    RunModel();
    EXPECT_EQ(state().StepCount - steps, 100);
}

TEST_F(RunOptionsTest, AVBlockSetsTheFlagAndTheLeftRateBackground) {
    const double hr = state().HrtRate_LV;
    setAVBlock(true);
    EXPECT_EQ(state().AVBlock, 1);
    EXPECT_EQ(view.look(Window::CVModel, "lblHR_LV").back, palette::LightYellow);
    EXPECT_EQ(state().HrtRate_LV, hr);  // nothing runs
    setAVBlock(false);
    EXPECT_EQ(state().AVBlock, 0);
    EXPECT_EQ(view.look(Window::CVModel, "lblHR_LV").back, palette::BrightWhite);
}

TEST_F(RunOptionsTest, OriginalSetIsLoadedRunAndNamed) {
    state().HrtRate = 120;
    useOriginalParameters();
    EXPECT_EQ(state().HrtRate, 72);
    EXPECT_NEAR(state().ModelTime, 0.1, 1e-9);
    EXPECT_EQ(state().NormalSaved, 1);
    EXPECT_EQ(view.caption(Window::CVModel, "txtCurrentF"), "Orignal Parameter Set");
    EXPECT_EQ(view.caption(Window::Layout, "txtCurrentF"), "Original Parameter Set");
    EXPECT_TRUE(view.visible(Window::PlotData));
}

namespace {

// vasora-cli's --reflex=LIST: any of the four names in any order; anything else refused with
// the options left as they were.
TEST(ReflexEffectorList, NamesTheChosenEffectorsAndRefusesAnythingElse) {
    ReflexOptions o;
    ASSERT_TRUE(parseReflexEffectors("venous,hr", o));
    EXPECT_EQ(o.effector, (std::array<bool, kEffectors>{true, false, false, true}));
    ASSERT_TRUE(parseReflexEffectors("hr,emax,resis,venous", o));
    EXPECT_EQ(o.effector, (std::array<bool, kEffectors>{true, true, true, true}));
    for (const char* bad : {"", "hr,", ",hr", "heart", "HR", "hr,,emax", "hr emax"}) {
        ReflexOptions kept;
        kept.effector = {false, true, false, false};
        EXPECT_FALSE(parseReflexEffectors(bad, kept)) << bad;
        EXPECT_EQ(kept.effector, (std::array<bool, kEffectors>{false, true, false, false}));
    }
}

}  // namespace
