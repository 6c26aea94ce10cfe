// The run over time: the 17-minute end, volume ramps and vein collapse, and the guard against
// non-finite runs.

#include <cmath>
#include <limits>

#include "ModelTestSupport.h"

namespace vasora::model::test {
namespace {

using namespace palette;

// ---------------------------------------------------------------------------------------------
// The end of the clock past 17 minutes

using SeventeenMinutes = EngineTest;

TEST_F(SeventeenMinutes, ACallPast17DoesOneStepAndNothingElse) {
    view.keepPoints = true;
    load();
    // A state that would raise warnings: a left ventricle that ejects nothing.
    s().Emax_LV = 0.5;
    s().ModelTime = s().RunUntil = 17.2;
    view.setCaption(Window::CVModel, "lblWarning1", "old");
    const int steps = s().StepCount;
    const long long points = view.pointCount;
    const double totalBefore = s().VtotalBody;
    const double vSysA = s().Vstrs[SysA];
    RunModel();

    EXPECT_EQ(s().ModelTime, 17.2) << "no time advance";
    EXPECT_EQ(s().StepCount, steps) << "the step is not counted";
    EXPECT_EQ(view.pointCount, points) << "no trace point";
    EXPECT_EQ(s().VtotalBody, totalBefore) << "no closing computations";
    for (const char* w :
         {"lblWarning1", "lblWarning2", "lblWarning3", "lblWarning4", "lblWarning5"})
        EXPECT_EQ(cap(w), "") << w << ": cleared and not posted again";
    // Exactly one Euler step with this step's flows.
    EXPECT_NEAR(s().Vstrs[SysA] - vSysA, (s().Flow[LeftV] - s().Flow[SysA]) * 0.001, 1e-9);
    EXPECT_EQ(view.caption(Window::PlotData, "Label5"), "Save LabBook!");

    // Every later call again does one step and returns.
    const double v2 = s().Vstrs[SysA];
    RunModel();
    EXPECT_EQ(s().ModelTime, 17.2);
    EXPECT_NEAR(s().Vstrs[SysA] - v2, (s().Flow[LeftV] - s().Flow[SysA]) * 0.001, 1e-9);
    EXPECT_EQ(view.pointCount, points);
}

TEST_F(SeventeenMinutes, ARunCrossing17StopsJustAbove) {
    load();
    s().ModelTime = s().RunUntil = 16.95;
    RunModel();
    EXPECT_GT(s().ModelTime, 17.0);
    EXPECT_LT(s().ModelTime, 17.0 + 0.0011);
    EXPECT_NEAR(s().StepCount, 100 + 51, 1);
    // The normal set resets the clock.
    SetNormalParameters();
    RunModel();
    EXPECT_EQ(s().StepCount, 100);
    EXPECT_NEAR(s().ModelTime, 0.1, 1e-12);
}

// ---------------------------------------------------------------------------------------------
// Volume ramps and vein collapse

using Ramps = EngineTest;

void startBloodVolumeChange(double target, double rate) {
    ModelState& m = state();
    m.VolChangeKind = 1;
    m.VolChangeTarget = target;
    m.VolChangeRate = rate;
    m.VolChangeDone = 0;
}

void startUnstressedChange(double target, double rate) {
    ModelState& m = state();
    m.VolChangeKind = 0;
    m.VunstrsChangeTarget = target;
    m.VunstrsChangeRate = rate;
    m.VunstrsChangeDone = 0;
}

TEST_F(Ramps, HemorrhageStopsWhenTheTargetIsReached) {
    load();
    startBloodVolumeChange(-300, -1200);
    int stoppedAt = -1;
    for (int call = 0; call < 5; ++call) {
        const int before = s().StepCount;
        RunModel();
        if (stoppedAt < 0 && s().VolChangeRate == 0) stoppedAt = before;
    }
    ASSERT_GE(stoppedAt, 0);
    EXPECT_EQ(s().VolChangeRate, 0);
    EXPECT_EQ(s().VolChangeTarget, 0);
    // 1.2 ml per step: 250 steps, about 0.25 minute, overshooting by less than one step.
    EXPECT_GE(std::fabs(s().VolChangeDone), 300 - 1e-9);
    EXPECT_LE(std::fabs(s().VolChangeDone), 301.2);
    EXPECT_EQ(s().VolAdded, s().VolChangeDone);
    EXPECT_NEAR(s().VtotalBody, 5000 + s().VolAdded, 0.01);
    EXPECT_NEAR(s().VolError, 0, 1e-6);
    EXPECT_NEAR(s().VtotalBody, 4700, 1.3);
}

TEST_F(Ramps, HemorrhageTakesAboutAQuarterMinute) {
    load();
    startBloodVolumeChange(-300, -1200);
    const double t0 = s().ModelTime;
    while (s().VolChangeRate != 0 && s().ModelTime < t0 + 1) runOneStep();
    EXPECT_NEAR(s().ModelTime - t0, 0.25, 0.0011);
}

TEST_F(Ramps, VenoconstrictionMovesVolumeWithoutChangingTheTotal) {
    load();
    const double vu0 = s().Vunstrs[SysV];
    startUnstressedChange(200, 400);
    for (int i = 0; i < 10; ++i) RunModel();
    EXPECT_EQ(s().VunstrsChangeRate, 0);
    EXPECT_EQ(s().VunstrsChangeTarget, 0);
    EXPECT_GE(s().VunstrsChangeDone, 200 - 1e-9);
    EXPECT_LE(s().VunstrsChangeDone, 200.4 + 1e-9);
    EXPECT_NEAR(s().Vunstrs[SysV], vu0 - s().VunstrsChangeDone, 1e-9);
    EXPECT_NEAR(s().VstrsTotal, 1400 + s().VunstrsChangeDone, 0.2);
    EXPECT_EQ(s().VolAdded, 0);
    EXPECT_NEAR(s().VolError, 0, 1e-6);
}

TEST_F(Ramps, BothKindsStartedOneAfterTheOtherEachEnd) {
    for (bool bloodFirst : {true, false}) {
        SCOPED_TRACE(bloodFirst ? "blood volume first" : "unstressed volume first");
        resetState();
        load();
        const double vu0 = s().Vunstrs[SysV];
        if (bloodFirst) {
            startBloodVolumeChange(250, 500);
            RunModel();
            startUnstressedChange(-150, -300);
        } else {
            startUnstressedChange(-150, -300);
            RunModel();
            startBloodVolumeChange(250, 500);
        }
        for (int i = 0; i < 20; ++i) RunModel();
        EXPECT_EQ(s().VolChangeRate, 0);
        EXPECT_EQ(s().VunstrsChangeRate, 0);
        EXPECT_EQ(s().VolChangeTarget, 0);
        EXPECT_EQ(s().VunstrsChangeTarget, 0);
        EXPECT_NEAR(s().VolAdded, 250, 0.5 + 1e-9);
        EXPECT_NEAR(s().VunstrsChangeDone, -150, 0.3 + 1e-9);
        // The books balance: the added volume is in the body, the unstressed change moved
        // exactly what it counted.
        EXPECT_NEAR(s().Vunstrs[SysV], vu0 - s().VunstrsChangeDone, 1e-9);
        EXPECT_NEAR(s().VtotalBody, 5000 + s().VolAdded, 0.01);
        EXPECT_NEAR(s().VolError, 0, 1e-6);
    }
}

using VeinCollapse = EngineTest;

TEST_F(VeinCollapse, EmptiedVeinsRecruitUnstressedVolume) {
    load();
    s().Vstrs[SysV] = -20;
    const double vu0 = s().Vunstrs[SysV];
    runOneStep();
    EXPECT_EQ(s().CollapseRate, 200);
    EXPECT_DOUBLE_EQ(s().CollapseVol, 0.2);
    EXPECT_DOUBLE_EQ(s().Vunstrs[SysV], vu0 - 0.2);
    EXPECT_EQ(cap("lblWarning5"), "0.2 ml collapse");
    EXPECT_EQ(look("lblWarning5").fore, Black);
    EXPECT_EQ(cap("lblWarning3"), "Veins COLLAPSING!");
}

TEST_F(VeinCollapse, RefillingGivesTheVolumeBackAndConservesTheTotal) {
    load();
    s().Vstrs[SysV] = -20;
    int collapsing = 0;
    while (s().Vstrs[SysV] < 0 && collapsing < 10) runOneStep(), ++collapsing;
    const double collapsed = s().CollapseVol;
    EXPECT_DOUBLE_EQ(collapsed, 0.2 * collapsing);
    EXPECT_NEAR(s().VolError, -20 - 695.979, 1.0) << "the volume taken away is missing";
    // Once the veins hold volume again the collapse is returned at 100 ml/min.
    s().Vstrs[SysV] = 600;
    const double vu = s().Vunstrs[SysV];
    runOneStep();
    EXPECT_EQ(s().CollapseRate, -100);
    EXPECT_DOUBLE_EQ(s().CollapseVol, collapsed - 0.1);
    EXPECT_DOUBLE_EQ(s().Vunstrs[SysV], vu + 0.1);
}

TEST_F(VeinCollapse, CaptionRoundsToOneDecimal) {
    load();
    s().CollapseVol = 12.36;  // one collapsing step adds 0.2
    s().Vstrs[SysV] = -5;
    runOneStep();
    EXPECT_EQ(cap("lblWarning5"), "12.6 ml collapse");
}

TEST_F(VeinCollapse, NormalSetKeepsCollapseVolumeRestartClearsIt) {
    load();
    s().Vstrs[SysV] = -20;
    runOneStep();
    const double collapsed = s().CollapseVol;
    ASSERT_GT(collapsed, 0);
    SetNormalParameters();
    EXPECT_EQ(s().CollapseVol, collapsed);
    workbench::clickRestart();
    EXPECT_EQ(s().CollapseVol, 0);
}

// ---------------------------------------------------------------------------------------------
// Runs that would leave values that are not numbers are undone

using RunGuard = EngineTest;

void expectSameState(const ModelState& a, const ModelState& b) {
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(a.Vstrs[i], b.Vstrs[i]) << i;
        EXPECT_EQ(a.Press[i], b.Press[i]) << i;
        EXPECT_EQ(a.Flow[i], b.Flow[i]) << i;
        EXPECT_EQ(a.Vunstrs[i], b.Vunstrs[i]) << i;
        EXPECT_EQ(a.Comp[i], b.Comp[i]) << i;
    }
    EXPECT_EQ(a.ModelTime, b.ModelTime);
    EXPECT_EQ(a.RunUntil, b.RunUntil);
    EXPECT_EQ(a.StepCount, b.StepCount);
    EXPECT_EQ(a.IterInterval, b.IterInterval);
    EXPECT_EQ(a.VtotalBody, b.VtotalBody);
    EXPECT_EQ(a.VolError, b.VolError);
    EXPECT_EQ(a.Pmcf, b.Pmcf);
    EXPECT_EQ(a.SV_LV, b.SV_LV);
    EXPECT_EQ(a.ESV_RV, b.ESV_RV);
    EXPECT_EQ(a.K2_RV, b.K2_RV);
    EXPECT_EQ(a.FlowMax, b.FlowMax);
    EXPECT_EQ(a.FlowMin, b.FlowMin);
    EXPECT_EQ(a.CollapseVol, b.CollapseVol);
    EXPECT_EQ(a.NormalSaved, b.NormalSaved);
}

TEST_F(RunGuard, ZeroComplianceRestoresTheStateAndTellsTheLearner) {
    load();
    RunModel();
    s().Comp[SysV] = 0;
    s().AutoRunOn = 1;
    view.setChecked(Window::CVModel, "chkAutoRun", true);
    const ModelState before = s();
    RunModel();
    {
        ModelState expected = before;
        expected.AutoRunOn = 0;
        expectSameState(s(), expected);
    }
    EXPECT_EQ(s().AutoRunOn, 0);
    EXPECT_FALSE(checked("chkAutoRun"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], kRunFailedMessage);
    DisplayValues();
    EXPECT_EQ(view.messages.size(), 1u) << "the display runs nothing more";
    const std::string all = allCaptions();
    EXPECT_EQ(all.find("nan"), std::string::npos) << all;
    EXPECT_EQ(all.find("inf"), std::string::npos) << all;
}

TEST_F(RunGuard, HugeIterationIntervalBlowsUpAndIsUndone) {
    load();
    s().IterInterval = 1000;
    ModelState before;
    int calls = 0;
    while (view.messages.empty() && calls < 500) {
        before = s();
        workbench::clickRun();
        ++calls;
    }
    ASSERT_EQ(view.messages.size(), 1u) << "the explicit step must blow up";
    expectSameState(s(), before);
    for (double v : s().Vstrs) EXPECT_TRUE(std::isfinite(v));
    const std::string all = allCaptions();
    EXPECT_EQ(all.find("nan"), std::string::npos) << all;
    EXPECT_EQ(all.find("inf"), std::string::npos) << all;
    DisplayPercent();
    const std::string pct = allCaptions();
    EXPECT_EQ(pct.find("nan"), std::string::npos) << pct;
    EXPECT_EQ(pct.find("inf"), std::string::npos) << pct;
}

// An accepted but unstable step: the run swings, posts warnings on its way and is undone; the
// warnings shown are then those of the state put back, not of the failed run.
TEST_F(RunGuard, TheWarningsOfAnUndoneRunGoWithIt) {
    load();
    s().IterInterval = 0.005;
    for (int i = 0; i < 200 && view.messages.empty(); ++i) workbench::clickRun();
    ASSERT_EQ(view.messages.size(), 1u) << "a step of 0.005 minute must fail";
    std::vector<std::string> shown;
    for (int w = 1; w <= 5; ++w)
        shown.push_back(view.captionOf(Window::CVModel, "lblWarning" + std::to_string(w)));
    // The warnings that the state put back gives, posted afresh.
    redisplayState();
    for (int w = 1; w <= 5; ++w)
        EXPECT_EQ(shown[std::size_t(w - 1)],
                  view.captionOf(Window::CVModel, "lblWarning" + std::to_string(w)))
            << w;
}

TEST_F(RunGuard, IntervalsThatCannotEndARunAreRefusedWithoutRunning) {
    load();
    for (double iter : {0.0, -0.001}) {
        view.messages.clear();
        s().IterInterval = iter;
        s().AutoRunOn = 1;
        const ModelState before = s();
        RunModel();  // must return at once rather than loop for ever
        ModelState expected = before;
        expected.AutoRunOn = 0;
        expectSameState(s(), expected);
        EXPECT_FALSE(checked("chkAutoRun"));
        ASSERT_EQ(view.messages.size(), 1u) << iter;
        EXPECT_EQ(view.messages[0], kBadIntervalsMessage);
    }
    s().IterInterval = std::nan("");
    view.messages.clear();
    const int before = s().StepCount;
    RunModel();
    EXPECT_EQ(s().StepCount, before);
    EXPECT_EQ(view.messages.size(), 1u);
    // Ten million steps is the most a call may take; one more is refused.
    s().IterInterval = 1e-7;
    s().PrintInterval = 1.0000001;
    view.messages.clear();
    const int steps = s().StepCount;
    RunModel();
    EXPECT_EQ(s().StepCount, steps);
    EXPECT_EQ(view.messages.size(), 1u);
    s().PrintInterval = std::numeric_limits<double>::infinity();
    s().IterInterval = 0.001;
    RunModel();
    EXPECT_EQ(s().StepCount, steps);
    EXPECT_EQ(view.messages.size(), 2u);
}

TEST_F(RunGuard, FailedRunInsideAutoRunStopsIt) {
    load();
    s().Resis[SysA] *= 2;
    s().IterInterval = 0.05;  // unstable for the pulmonary veins' time constant
    view.setChecked(Window::CVModel, "chkAutoRun", true);
    workbench::clickAutoRun(true);
    EXPECT_EQ(s().AutoRunOn, 0);
    EXPECT_FALSE(checked("chkAutoRun"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_LT(s().ModelTime, 15);
    const std::string all = allCaptions();
    EXPECT_EQ(all.find("nan"), std::string::npos) << all;
    EXPECT_EQ(all.find("inf"), std::string::npos) << all;
}

}  // namespace
}  // namespace vasora::model::test
