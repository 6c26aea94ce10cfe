// The run: the normal set and its steady state, filling, the stiff ventricle, the end-systolic
// clamp, the heart block, the shrinking step, the strip chart's sweeps and trace, the
// 17-minute end, volume ramps and vein collapse, and the guard against non-finite runs.

#include <cmath>
#include <limits>

#include "ModelTestSupport.h"

namespace vasora::model::test {
namespace {

using namespace palette;

// ---------------------------------------------------------------------------------------------
// Normal set and the first run

using NormalSet = EngineTest;

TEST_F(NormalSet, LoadsTheTabledValues) {
    SetNormalParameters();
    const double comp[] = {0, 2.0, 104.0, 21.0, 11.0, 14.0, 13.0};
    const double resis[] = {0, 0.01582, 0.0010027, 0.0, 0.001001, 0.0002442, 0.0};
    const double vstrs[] = {0, 187.38, 695.99, 108.73, 166.13, 134.36, 107.308};
    const double vunstrs[] = {0, 553.0, 2905.1, 5.0, 60.0, 72.0, 5.0};
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(s().Comp[i], comp[i]) << i;
        EXPECT_EQ(s().Resis[i], resis[i]) << i;
        EXPECT_EQ(s().Vstrs[i], vstrs[i]) << i;
        EXPECT_EQ(s().Vunstrs[i], vunstrs[i]) << i;
        EXPECT_EQ(s().Flow[i], 5500) << i;
    }
    // The tabled volumes add up to the tabled totals, to the rounding of the table.
    double vs = 0, vu = 0;
    for (int i = 1; i <= 6; ++i) vs += s().Vstrs[i], vu += s().Vunstrs[i];
    EXPECT_NEAR(vs, 1400, 0.2);
    EXPECT_NEAR(vu, 3600, 0.2);
    EXPECT_EQ(s().Pit, -4.0);
    EXPECT_EQ(s().HrtRate, 72);
    EXPECT_EQ(s().IterInterval, 0.001);
    EXPECT_EQ(s().PrintInterval, 0.1);
    EXPECT_EQ(s().PlotSpan, 3000);
    EXPECT_EQ(s().NormalSaved, 0);
    EXPECT_EQ(s().SegName[6], "Right Ventricle");
    EXPECT_EQ(s().SegName[12], "P intrathoracic");
    EXPECT_EQ(s().SegName[5], "");
}

TEST_F(NormalSet, OneRunIsAHundredStepsAtSteadyState) {
    SetNormalParameters();
    RunModel();
    EXPECT_EQ(s().StepCount, 100);
    EXPECT_NEAR(s().ModelTime, 0.1, 1e-12);
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(s().Flow[i], 5500, 1.0) << "compartment " << i;
    // Pmcf = stressed volume over the summed compliances, 1400 / 165.
    EXPECT_NEAR(s().Pmcf, 1400.0 / 165.0, 0.01);
    EXPECT_NEAR(s().Press[SysA], 93.7, 0.05);
    // The run conserves volume: the totals of the state equal the frozen totals.
    EXPECT_EQ(s().VolError, 0.0);
    EXPECT_NEAR(s().VtotalBody, 5000, 0.01);
}

TEST_F(NormalSet, ReferenceIsTheStateAfterTheFirstRun) {
    SetNormalParameters();
    RunModel();
    const ModelState& m = s();
    EXPECT_EQ(m.NormalSaved, 1);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(m.Comp_N[i], m.Comp[i]);
        EXPECT_EQ(m.Flow_N[i], m.Flow[i]);
        EXPECT_EQ(m.Press_N[i], m.Press[i]);
        EXPECT_EQ(m.Vstrs_N[i], m.Vstrs[i]);
    }
    for (int i : {SysA, SysV, PulmA, PulmV}) EXPECT_EQ(m.Resis_N[i], m.Resis[i]);
    EXPECT_EQ(m.VstrsTotal_N, m.VstrsTotal);
    EXPECT_EQ(m.VunstrsTotal_N, m.VunstrsTotal);
    EXPECT_EQ(m.VtotalBody_N, m.VunstrsTotal + m.VstrsTotal);
    EXPECT_EQ(m.Pmcf_N, m.Pmcf);
    EXPECT_EQ(m.SV_LV_N, m.SV_LV);
    EXPECT_EQ(m.ESV_RV_N, m.ESV_RV);
    EXPECT_EQ(m.K2_RV_N, m.K2_RV);
    EXPECT_EQ(m.HrtRate_LV_N, 72);
    EXPECT_EQ(m.Emax_LV_N, 3.52);
    // The stored arterial pressures use 0.0023611 per beat/min: 38.2 mmHg of pulse pressure,
    // 0.33 of it below the mean of 93.7, close to the normal set's 119.185 and 80.987.
    EXPECT_NEAR(m.SystP_N, 119.185, 0.2);
    EXPECT_NEAR(m.DiasP_N, 80.987, 0.2);
    EXPECT_DOUBLE_EQ(m.SystP_N - m.DiasP_N, m.SV_LV / m.Comp[SysA]);
}

TEST_F(NormalSet, LaterRunsKeepTheReference) {
    load();
    const double flowN = s().Flow_N[SysA];
    s().Resis[SysA] *= 2;
    RunModel();
    EXPECT_EQ(s().Flow_N[SysA], flowN);
    EXPECT_EQ(s().Resis_N[SysA], 0.01582);
    EXPECT_LT(s().Flow[SysA], 5000);
}

TEST_F(NormalSet, StoreNormalsPaintsParameterLabelsYellowButHeartRateOnlyWithBlock) {
    load();
    for (Window w : {Window::CVModel, Window::Layout}) {
        for (std::string_view l : parameterLabels()) view.setBackColor(w, l, kColorChanged);
        view.setBackColor(w, "lblHR_LV", BrightWhite);
    }
    s().AVBlock = 0;
    StoreNormals();
    for (Window w : {Window::CVModel, Window::Layout}) {
        for (std::string_view l : parameterLabels()) {
            if (l == "lblHR_LV") continue;
            EXPECT_EQ(view.look(w, l).back, kParamNormal) << l;
        }
        EXPECT_EQ(view.look(w, "lblHR_LV").back, BrightWhite);
    }
    s().AVBlock = 1;
    StoreNormals();
    EXPECT_EQ(view.look(Window::CVModel, "lblHR_LV").back, kParamNormal);
    EXPECT_EQ(view.look(Window::Layout, "lblHR_LV").back, kParamNormal);
}

// ---------------------------------------------------------------------------------------------
// Diastolic filling against heart rate

using Filling = EngineTest;

TEST_F(Filling, K2FallsWithHeartRate) {
    struct Case {
        double rate, k2, tol;
    };
    for (Case c : {Case{72, 1.0, 1e-4}, Case{150, 0.923, 1e-3}, Case{200, 0.526, 1e-3},
                   Case{249.5, 0.005, 1e-3}}) {
        load();
        s().HrtRate = c.rate;
        runOneStep();
        EXPECT_NEAR(s().K2_RV, c.k2, c.tol) << c.rate;
        EXPECT_EQ(s().K2_LV, s().K2_RV) << "without block the left ventricle follows";
        EXPECT_EQ(s().HrtRate_LV, c.rate);
        EXPECT_EQ(s().Kfill_RV, 1600);
    }
}

TEST_F(Filling, FillingTimeCrossesZeroNear250And375) {
    load();
    s().HrtRate = 250.0;
    runOneStep();
    EXPECT_GT(s().FillTime_RV, 0);
    s().HrtRate = 250.2;
    runOneStep();
    EXPECT_LT(s().FillTime_RV, 0);
    EXPECT_LT(s().K2_RV, 0) << "filling reverses";
    s().HrtRate = 374.6;
    runOneStep();
    EXPECT_LT(s().FillTime_RV, 0);
    s().HrtRate = 374.8;
    runOneStep();
    EXPECT_GT(s().FillTime_RV, 0);
}

TEST_F(Filling, K2MultipliesTheVentricularInflows) {
    load();
    s().HrtRate = 150;
    runOneStep();
    const ModelState& m = s();
    EXPECT_DOUBLE_EQ(m.Flow[SysV], (m.Press[SysV] - m.Press[RghtV]) * m.K2_RV / m.Resis[SysV]);
    EXPECT_DOUBLE_EQ(m.Flow[PulmV], (m.Press[PulmV] - m.Press[LeftV]) / m.Resis[PulmV] * m.K2_LV);
}

TEST_F(Filling, AVBlockLetsTheLeftVentricleBeatAtItsOwnRate) {
    load();
    s().AVBlock = 1;
    s().HrtRate_LV = 40;
    runOneStep();
    EXPECT_EQ(s().HrtRate_LV, 40);
    EXPECT_EQ(s().HrtRate, 72);
    EXPECT_NEAR(s().K2_LV, 1.0, 1e-6);
    EXPECT_DOUBLE_EQ(s().Flow[LeftV], 40 * s().SV_LV);
    EXPECT_DOUBLE_EQ(s().Flow[RghtV], 72 * s().SV_RV);

    s().HrtRate_LV = 200;
    runOneStep();
    EXPECT_NEAR(s().K2_LV, 0.526, 1e-3);
    EXPECT_NEAR(s().K2_RV, 1.0, 1e-4);

    // Without the block the left rate is the heart rate again.
    s().AVBlock = 0;
    runOneStep();
    EXPECT_EQ(s().HrtRate_LV, 72);
    EXPECT_EQ(s().K2_LV, s().K2_RV);
}

// ---------------------------------------------------------------------------------------------
// Ventricles: the stiff range above 175 ml and the end-systolic clamp

using Ventricles = EngineTest;

TEST_F(Ventricles, At175MlTheSingleSlopeHolds) {
    load();
    s().Vstrs[RghtV] = 175;
    s().Vstrs[LeftV] = 175;
    runOneStep();
    EXPECT_EQ(s().Press[RghtV], 175.0 / 21.0 + -4.0);
    EXPECT_EQ(s().Press[LeftV], 175.0 / 13.0 + -4.0);
}

TEST_F(Ventricles, Above175MlTheVentricleIsThreeTimesStiffer) {
    load();
    s().Vstrs[RghtV] = 185;
    s().Vstrs[LeftV] = 176;
    runOneStep();
    EXPECT_DOUBLE_EQ(s().Press[RghtV], 185.0 / 21.0 - 4.0 + 10.0 / (0.33 * 21.0));
    EXPECT_DOUBLE_EQ(s().Press[LeftV], 176.0 / 13.0 - 4.0 + 1.0 / (0.33 * 13.0));
    // The stiff branch starts continuously: just above 175 the extra pressure is tiny.
    s().Vstrs[RghtV] = std::nextafter(175.0, 200.0);
    runOneStep();
    EXPECT_NEAR(s().Press[RghtV], 175.0 / 21.0 - 4.0, 1e-9);
    EXPECT_GT(s().Press[RghtV], 175.0 / 21.0 - 4.0);
}

TEST_F(Ventricles, EndSystolicVolumeAboveTheVolumeMeansNoOutput) {
    load();
    // A weak right ventricle: ESV = P(PulmA) / 0.01 + 3, far above its volume.
    s().Emax_RV = 0.01;
    const double edv = s().Vstrs[RghtV];
    runOneStep();
    EXPECT_EQ(s().ESV_RV, edv) << "ESV is clamped to the volume before this step's update";
    EXPECT_EQ(s().SV_RV, 0);
    EXPECT_EQ(s().Flow[RghtV], 0);
    EXPECT_GT(s().Flow[LeftV], 0);
}

TEST_F(Ventricles, EqualEndSystolicVolumeAlsoClamps) {
    load();
    // ESV_LV = 100 / 4 + 5 = 30 exactly, the ventricle holds 30 ml.
    s().Vstrs[SysA] = 200;
    s().Comp[SysA] = 2;
    s().Emax_LV = 4;
    s().Vo_LV = 5;
    s().Vstrs[LeftV] = 30;
    runOneStep();
    EXPECT_EQ(s().SV_LV, 0);
    EXPECT_EQ(s().Flow[LeftV], 0);
    EXPECT_EQ(cap("lblWarning5"), "No LEFT heart output!");
}

TEST_F(Ventricles, StrokeVolumeIsNeverNegativeOverAWholeRun) {
    load();
    s().Emax_LV = 0.001;  // ESV = 1000 x P(SysA) + 4.3, far above anything the LV can hold
    RunModel();
    EXPECT_EQ(s().SV_LV, 0);
    EXPECT_EQ(s().Flow[LeftV], 0);
    // The warning holds after a whole run, not only after a single step.
    EXPECT_EQ(cap("lblWarning5"), "No LEFT heart output!");
    EXPECT_EQ(look("lblWarning5").fore, Black);
}

// ---------------------------------------------------------------------------------------------
// The step shrinks when the pulmonary resistances fall below normal

using StepLength = EngineTest;

TEST_F(StepLength, LowPulmonaryArterialResistanceShrinksTheStepForGood) {
    load();
    s().Resis[PulmA] = 0.9 * s().Resis_N[PulmA];
    const int before = s().StepCount;
    RunModel();
    // 0.1 minute in steps of 0.0002 minute, the first step included.
    EXPECT_NEAR(s().StepCount - before, 500, 1);
    EXPECT_EQ(s().IterInterval, 0.0002);
    EXPECT_NEAR(s().ModelTime, 0.2, 1e-9);

    // Back at normal the interval stays short until something sets it again.
    s().Resis[PulmA] = s().Resis_N[PulmA];
    const int mid = s().StepCount;
    RunModel();
    EXPECT_NEAR(s().StepCount - mid, 500, 1);
}

TEST_F(StepLength, LowPulmonaryVenousResistanceShrinksTheStep) {
    load();
    s().Resis[PulmV] = 0.5 * s().Resis_N[PulmV];
    const int before = s().StepCount;
    RunModel();
    EXPECT_NEAR(s().StepCount - before, 500, 1);
    EXPECT_EQ(s().IterInterval, 0.0002);
}

TEST_F(StepLength, TheShrinkingStepIsItselfShort) {
    load();
    s().Resis[PulmV] = 0.5 * s().Resis_N[PulmV];
    const double t0 = s().ModelTime;
    const double vSysA = s().Vstrs[SysA];
    runOneStep();
    EXPECT_NEAR(s().ModelTime - t0, 0.0002, 1e-12);
    EXPECT_NEAR(s().Vstrs[SysA] - vSysA, (s().Flow[LeftV] - s().Flow[SysA]) * 0.0002, 1e-12);
}

TEST_F(StepLength, HigherResistancesKeepTheStep) {
    load();
    s().Resis[PulmA] = 2 * s().Resis_N[PulmA];
    s().Resis[PulmV] = s().Resis_N[PulmV];
    RunModel();
    EXPECT_EQ(s().StepCount, 200);
    EXPECT_EQ(s().IterInterval, 0.001);
}

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
