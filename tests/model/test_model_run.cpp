// The run: the normal set and its steady state, filling, the stiff ventricle, the end-systolic
// clamp, the heart block and the shrinking step.

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

}  // namespace
}  // namespace vasora::model::test
