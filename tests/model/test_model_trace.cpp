// The strip chart the run draws: trace points, sweeps and their captions.

#include <cmath>
#include <limits>

#include "ModelTestSupport.h"

namespace vasora::model::test {
namespace {

using namespace palette;

// ---------------------------------------------------------------------------------------------
// Strip chart: trace points, sweeps and captions

using StripChart = EngineTest;

TEST_F(StripChart, FourPointsPerStepInTheirColoursAndPens) {
    view.keepPoints = true;
    load();
    ASSERT_EQ(view.points.size(), 400u);
    const RecordingView::Point* p = view.points.data();
    for (int k = 0; k < 100; ++k, p += 4) {
        EXPECT_EQ(p[0].colour, Black);
        EXPECT_EQ(p[0].penWidth, 1);
        EXPECT_EQ(p[1].colour, LightMagenta);
        EXPECT_EQ(p[1].penWidth, 1);
        EXPECT_EQ(p[2].colour, LightBlue);
        EXPECT_EQ(p[2].penWidth, 2);
        EXPECT_EQ(p[3].colour, LightRed);
        EXPECT_EQ(p[3].penWidth, 2);
        for (int j = 1; j < 4; ++j) EXPECT_EQ(p[j].x, p[0].x);
    }
}

TEST_F(StripChart, TracePositionsFollowTheScales) {
    view.keepPoints = true;
    load();
    // Default view: 4800 wide, 3000 high. The zero line lies at 85 % of the height.
    const RecordingView::Point* last = &view.points[view.points.size() - 4];
    EXPECT_EQ(last[0].y, 2550);
    // 5500 ml/min: (0.85 - 5500/15000) * 3000 = 1450; 93.7 mmHg: (0.85 - 93.7/200) * 3000.
    EXPECT_NEAR(last[1].y, 1450, 1);
    EXPECT_NEAR(last[2].y, 1144.5, 1);
    EXPECT_NEAR(last[3].y, 1450, 1);
    // The last step starts at 0.099 minute: 0.099 / 3 of the width.
    EXPECT_NEAR(last[0].x, 0.099 / 3 * 4800, 1);

    // Halfway through the first sweep.
    s().ModelTime = s().RunUntil = 1.5;
    view.points.clear();
    runOneStep();
    ASSERT_EQ(view.points.size(), 4u);
    EXPECT_EQ(view.points[0].x, 2400);
    EXPECT_EQ(s().PlotX, 2400);
}

TEST_F(StripChart, HighFlowsAndPressuresSitAtFixedHeights) {
    view.keepPoints = true;
    load();
    s().Vstrs[SysA] = 400;  // 200 mmHg, above 170
    s().HrtRate = 200;      // with a big left ventricle: output above 12800
    s().Vstrs[LeftV] = 170;
    s().Emax_LV = 100;
    view.points.clear();
    runOneStep();
    ASSERT_GT(s().Flow[LeftV], 12800);
    ASSERT_EQ(view.points.size(), 4u);
    EXPECT_EQ(view.points[2].y, 30);
    EXPECT_EQ(view.points[3].y, 10);
    EXPECT_EQ(s().PlotY_Psa, 30);
    EXPECT_EQ(s().PlotY_CO, 10);
}

TEST_F(StripChart, PositionsOutsideTheDrawingAreaAreClamped) {
    view.keepPoints = true;
    load();
    // A hugely negative arterial volume: flows and pressure far below zero, so the trace would
    // lie far below the drawing area (and outside the 16-bit range).
    s().Vstrs[SysA] = -1e7;
    view.points.clear();
    RunModel();
    ASSERT_FALSE(view.points.empty());
    for (const auto& p : view.points) {
        EXPECT_GE(p.x, 0);
        EXPECT_LT(p.x, 4800);
        EXPECT_GE(p.y, 0);
        EXPECT_LT(p.y, 3000);
    }
    // The end of a sweep lies at the right edge, never beyond.
    load();
    s().ModelTime = s().RunUntil = 2.9995;
    view.points.clear();
    runOneStep();
    ASSERT_EQ(view.points.size(), 4u);
    EXPECT_LE(view.points[0].x, 4799);
    EXPECT_GE(view.points[0].x, 4790);
}

TEST_F(StripChart, NewSweepStartsBetweenThreeAnd3003) {
    view.keepPoints = true;
    load();
    s().ModelTime = s().RunUntil = 2.95;
    view.sweepEnds = 0;
    view.points.clear();
    RunModel();
    EXPECT_GE(view.sweepEnds, 1);
    // Only points of the new sweep are left: they start again at the left edge.
    ASSERT_FALSE(view.points.empty());
    EXPECT_LT(view.points.size(), 400u);
    for (const auto& p : view.points) EXPECT_LE(p.x, 0.05 / 3 * 4800 + 1);
    EXPECT_EQ(view.caption(Window::PlotData, "Label4"), "^--3      Time ->");
    EXPECT_EQ(view.caption(Window::PlotData, "Label5"), "^4 minute");
    EXPECT_EQ(view.caption(Window::PlotData, "Label6"), "^5");
}

TEST_F(StripChart, EverySweepBoundaryStartsANewSweep) {
    load();
    view.clears = 0;
    for (int k : {3, 6, 9, 12, 15}) {
        s().ModelTime = s().RunUntil = k - 0.05;
        view.sweepEnds = 0;
        RunModel();
        EXPECT_GE(view.sweepEnds, 1) << k;
        EXPECT_LE(view.sweepEnds, 3) << k << ": only the steps inside the 0.003 minute window";
        EXPECT_EQ(view.caption(Window::PlotData, "Label4"),
                  "^--" + std::to_string(k) + (k < 9 ? "      Time ->" : "     Time ->"));
        // Away from a boundary nothing is cleared.
        view.sweepEnds = 0;
        s().ModelTime = s().RunUntil = k + 1.0;
        RunModel();
        EXPECT_EQ(view.sweepEnds, 0) << k;
        // A sweep's end is not a clear: the chart keeps the sweep before in view.
        EXPECT_EQ(view.clears, 0) << k;
    }
}

TEST_F(StripChart, ALongStepCanSkipTheClearing) {
    load();
    s().ModelTime = s().RunUntil = 2.9985;
    s().IterInterval = 0.005;
    view.sweepEnds = 0;
    runOneStep();  // t = 2.9985
    runOneStep();  // t = 3.0035: past the clearing window
    EXPECT_EQ(view.sweepEnds, 0);
    EXPECT_EQ(view.caption(Window::PlotData, "Label4"), "^--3      Time ->");
}

TEST_F(StripChart, CaptionsOfEachSweep) {
    struct Sweep {
        double t;
        const char *l4, *l5, *l6;
    };
    const Sweep sweeps[] = {
        {0.5, "^--0      Time ->", "^1 minute", "^2"},
        {4.0, "^--3      Time ->", "^4 minute", "^5"},
        {7.0, "^--6      Time ->", "^7 minute", "^8"},
        {10.0, "^--9     Time ->", "^10 minute", "^11"},
        {13.0, "^--12     Time ->", "^13 minute", "^14"},
        {16.0, "^--15     Time ->", "Save LabBook!", "^17"},
        // Back to the first sweep when the clock is reset.
        {1.0, "^--0      Time ->", "^1 minute", "^2"},
    };
    load();
    for (const Sweep& w : sweeps) {
        s().ModelTime = s().RunUntil = w.t;
        RunModel();
        EXPECT_EQ(view.caption(Window::PlotData, "Label4"), w.l4) << w.t;
        EXPECT_EQ(view.caption(Window::PlotData, "Label5"), w.l5) << w.t;
        EXPECT_EQ(view.caption(Window::PlotData, "Label6"), w.l6) << w.t;
        // The trace position counts from the start of the sweep.
        const double k = std::floor(s().ModelTime / 3) * 3;
        EXPECT_NEAR(s().PlotX, (s().ModelTime - 0.001 - k) / 3 * 4800, 2) << w.t;
    }
}

// Counts the writes of the strip chart's axis captions.
class CaptionCountingView : public RecordingView {
  public:
    int plotCaptions = 0;
    void setCaption(Window w, std::string_view control, std::string_view text) override {
        if (w == Window::PlotData) ++plotCaptions;
        RecordingView::setCaption(w, control, text);
    }
};

TEST_F(StripChart, AxisCaptionsAreWrittenOncePerSweep) {
    CaptionCountingView counting;
    setView(&counting);
    load();
    s().ModelTime = s().RunUntil = 13.1;
    counting.plotCaptions = 0;
    RunModel();
    RunModel();
    // Two runs of 100 steps inside one sweep: the three captions once, not at every step and
    // not once for each earlier sweep.
    EXPECT_EQ(counting.plotCaptions, 3);
    EXPECT_EQ(counting.caption(Window::PlotData, "Label4"), "^--12     Time ->");
    setView(&view);
}

TEST_F(StripChart, HiddenPlotStaysHiddenWhileRunning) {
    load();
    EXPECT_TRUE(view.visible(Window::PlotData));
    s().PlotHidden = 1;
    RunModel();
    EXPECT_FALSE(view.visible(Window::PlotData));
    s().PlotHidden = 0;
    RunModel();
    EXPECT_TRUE(view.visible(Window::PlotData));
}

}  // namespace
}  // namespace vasora::model::test
