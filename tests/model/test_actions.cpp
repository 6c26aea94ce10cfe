// The model window's actions shared by the window and the command-line program.

#include "ModelTestSupport.h"

namespace vasora::model::test {
namespace {

using namespace palette;

using Actions = EngineTest;

TEST_F(Actions, LoadMakesOneRunAndShowsUnits) {
    load();
    EXPECT_EQ(s().StepCount, 100);
    EXPECT_EQ(s().ShowUnits, 1);
    EXPECT_EQ(s().AutoRunOn, 0);
    EXPECT_EQ(cap("cmdPercent"), " Show % Normal");
    EXPECT_TRUE(view.visible(Window::PlotData));
}

TEST_F(Actions, RunShowsTheStripChartEvenWhenHidden) {
    load();
    workbench::clickHidePlot();
    EXPECT_EQ(s().PlotHidden, 1);
    EXPECT_FALSE(view.visible(Window::PlotData));
    workbench::clickRun();
    EXPECT_EQ(s().StepCount, 200);
    EXPECT_TRUE(view.visible(Window::PlotData));
    workbench::clickPlotData();
    EXPECT_EQ(s().PlotHidden, 0);
    EXPECT_TRUE(view.visible(Window::PlotData));
}

TEST_F(Actions, PercentToggleCaptions) {
    load();
    workbench::clickPercent();
    EXPECT_EQ(s().ShowUnits, 0);
    EXPECT_EQ(cap("lblPercent"), "   DATA as PERCENT ");
    EXPECT_EQ(look("lblPercent").fore, LightYellow);
    EXPECT_EQ(look("lblPercent").back, LightBlue);
    EXPECT_EQ(cap("cmdPercent"), " Show Units");
    EXPECT_EQ(look("cmdPercent").back, LightYellow);
    EXPECT_EQ(cap("lblFlowSysA"), "  100 ");

    workbench::clickPercent();
    EXPECT_EQ(s().ShowUnits, 1);
    EXPECT_EQ(cap("cmdPercent"), " Show % of Normal");
    EXPECT_EQ(look("cmdPercent").back, BrightWhite);
    EXPECT_EQ(cap("lblPercent"), "");
    EXPECT_EQ(look("lblPercent").back, BrightWhite);
    EXPECT_EQ(cap("lblFlowSysA"), "5500.");
    EXPECT_EQ(s().StepCount, 100) << "toggling runs nothing";
}

TEST_F(Actions, UntickingAutoRunOnlyStopsIt) {
    load();
    s().AutoRunOn = 1;
    workbench::clickAutoRun(false);
    EXPECT_EQ(s().AutoRunOn, 0);
    EXPECT_EQ(s().StepCount, 100);
}

TEST_F(Actions, TickingAutoRunAtEquilibriumRunsOnceAndStaysOn) {
    load();
    view.setChecked(Window::CVModel, "chkAutoRun", true);
    workbench::clickAutoRun(true);
    EXPECT_EQ(s().StepCount, 200);
    EXPECT_EQ(s().AutoRunOn, 1);
    EXPECT_TRUE(checked("chkAutoRun"));
}

TEST_F(Actions, RestartGoesBackToTheNormalCirculation) {
    load();
    for (int i = 0; i < 3; ++i) workbench::clickRun();
    s().Resis[SysA] *= 3;
    s().IterInterval = 0.0005;
    s().PrintInterval = 0.5;
    s().CollapseVol = 5;
    s().AutoRunOn = 1;
    view.setChecked(Window::CVModel, "chkAutoRun", true);
    workbench::clickRun();
    workbench::clickPercent();
    ASSERT_EQ(s().ShowUnits, 0);
    const int clears = view.clears;

    workbench::clickRestart();
    EXPECT_GT(view.clears, clears) << "the strip chart starts empty";
    EXPECT_EQ(s().IterInterval, 0.001);
    EXPECT_EQ(s().PrintInterval, 0.1);
    EXPECT_EQ(s().CollapseVol, 0);
    EXPECT_EQ(s().AutoRunOn, 0);
    EXPECT_FALSE(checked("chkAutoRun"));
    EXPECT_EQ(s().ShowUnits, 1);
    EXPECT_EQ(s().StepCount, 100);
    EXPECT_EQ(s().Resis[SysA], 0.01582);
    EXPECT_EQ(cap("cmdPercent"), " Show % Normal");
    EXPECT_EQ(look("cmdPercent").back, BrightWhite);
    EXPECT_EQ(look("lblPercent").back, BrightWhite);
    EXPECT_EQ(cap("lblTime"), "0.000");
    EXPECT_EQ(cap("lblFlowSysA"), "5500.");
    EXPECT_EQ(cap("lblResisSysA"), "100.0");
    EXPECT_EQ(look("lblHR_LV").back, BrightWhite);
    EXPECT_TRUE(view.visible(Window::PlotData));
}

TEST_F(Actions, RestartColoursTheLeftHeartRateFromTheBlockBox) {
    bool blockTicked = true;
    workbench::setRestartHooks({[&] { return blockTicked; }, {}, {}});
    load();
    workbench::clickRestart();
    EXPECT_EQ(s().AVBlock, 1);
    EXPECT_EQ(look("lblHR_LV").back, LightYellow);

    blockTicked = false;
    workbench::clickRestart();
    EXPECT_EQ(s().AVBlock, 0) << "the normal set cleared the block";
    EXPECT_EQ(look("lblHR_LV").back, BrightWhite);
}

TEST_F(Actions, RestartRereadsARetrievedParameterSet) {
    int retrieved = 0;
    workbench::setRestartHooks({{},
                                [&] {
                                    // What retrieving a set does: load it, run, keep the flag.
                                    ++retrieved;
                                    SetNormalParameters();
                                    s().Resis[SysA] = 0.02;
                                    s().ParamSetLoaded = 1;
                                    RunModel();
                                },
                                {}});
    load();
    s().ParamSetLoaded = 1;
    s().AutoRunOn = 1;
    workbench::clickRestart();
    EXPECT_EQ(retrieved, 1);
    EXPECT_EQ(s().Resis[SysA], 0.02);
    EXPECT_EQ(s().AutoRunOn, 0);
    EXPECT_EQ(s().ShowUnits, 1);

    // Without a retrieved set Restart loads the normal set.
    s().ParamSetLoaded = 0;
    workbench::clickRestart();
    EXPECT_EQ(retrieved, 1);
    EXPECT_EQ(s().Resis[SysA], 0.01582);
}

}  // namespace
}  // namespace vasora::model::test
