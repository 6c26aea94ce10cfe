// The units display with the flow balance and AutoRun, and the percent-of-normal display.

#include <cmath>
#include <cstdlib>
#include <limits>

#include "ModelTestSupport.h"

namespace vasora::model::test {
namespace {

using namespace palette;

double spread(const ModelState& m) {
    double lo = m.Flow[1], hi = m.Flow[1];
    for (int i = 2; i <= kCompartments; ++i) {
        lo = std::min(lo, m.Flow[i]);
        hi = std::max(hi, m.Flow[i]);
    }
    return hi - lo;
}

double number(const std::string& caption) {
    return std::strtod(caption.c_str(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Units display

using UnitsDisplay = EngineTest;

TEST_F(UnitsDisplay, AfterLoadTheWindowReadsTheNormalCirculation) {
    load();
    const std::pair<const char*, const char*> expected[] = {
        {"lblTime", "0.000"},
        {"lblSysArt", "Systemic Artery"},
        {"lblSysVein", "Systemic Vein"},
        {"lblRghtVent", "Rght Vent,End Dias"},
        {"lblPulmArt", "Pulmonary Artery"},
        {"lblPulmVein", "Pulmonary Vein"},
        {"lblLeftVent", "Left Vent,End Dias"},
        {"lblFlowSysA", "5500."},
        {"lblFlowSysV", "5500."},
        {"lblFlowRghtV", "5500."},
        {"lblFlowPulmA", "5500."},
        {"lblFlowPulmV", "5500."},
        {"lblFlowLeftV", "5500."},
        {"lblPressSysA", "93.7"},
        {"lblPressSysV", "6.7"},
        {"lblPressRghtV", "1.2"},
        {"lblPressPulmA", "11.1"},
        {"lblPressPulmV", "5.6"},
        {"lblPressLeftV", "4.3"},
        {"lblVstrsSysA", "187."},
        {"lblVstrsSysV", "696."},
        {"lblVstrsRghtV", "109."},
        {"lblVstrsPulmA", "166."},
        {"lblVstrsPulmV", "134."},
        {"lblVstrsLeftV", "107."},
        {"lblCompSysA", "100.0"},
        {"lblCompSysV", "100.0"},
        {"lblCompRghtV", "100.0"},
        {"lblCompPulmA", "100.0"},
        {"lblCompPulmV", "100.0"},
        {"lblCompLeftV", "100.0"},
        {"lblResisSysA", "100.0"},
        {"lblResisSysV", "100.0"},
        {"lblResisPulmA", "100.0"},
        {"lblResisPulmV", "100.0"},
        // Pulse pressure 76.4 / 2 = 38.2 mmHg, 0.3328 of it below the mean of 93.7.
        {"lblSystP", "119"},
        {"lblDiasP", "81"},
        // Atrial pressures: 6.69 - 5500 x 0.0010027 and 5.60 - 5500 x 0.0002442.
        {"lblPra", "1.18"},
        {"lblPla", "4.25"},
        {"lblPmcf", "8.48"},
        {"lblHR_RV", "72.0"},
        {"lblK2_RV", "1.0"},
        {"lblEDV_RV", "108.7"},
        {"lblESV_RV", "32.3"},  // 11.10 / 0.3784 + 3
        {"lblSV_RV", "76.4"},
        {"lblEjectF_RV", "0.70"},
        {"lblEmax_RV", "100.0"},
        {"lblHR_LV", "72.0"},
        {"lblK2_LV", "1.0"},
        {"lblEDV_LV", "107.3"},
        {"lblESV_LV", "30.9"},  // 93.7 / 3.52 + 4.3
        {"lblSV_LV", "76.4"},
        {"lblEjectF_LV", "0.71"},
        {"lblEmax_LV", "100.0"},
        {"lblVo_LV", "4.3"},
        {"lblVstrsTotal", "1400."},
        {"lblVunstrsTotal", "3600."},
        {"lblVtotalBody", "5000."},
        {"lblPit", "-4.0"},
        {"lblVolError", "0.0"},
        {"lblFlowError", ""},
        {"lblPercent", ""},
        {"cmdPercent", " Show % Normal"},
    };
    for (const auto& [label, text] : expected) EXPECT_EQ(cap(label), text) << label;
    EXPECT_EQ(look("lblFlowError").back, BrightWhite);
    EXPECT_EQ(look("lblPercent").back, BrightWhite);
    EXPECT_EQ(look("lblCompRghtV").fore, Black);
    EXPECT_FALSE(look("lblCompRghtV").bold);
    EXPECT_EQ(s().ShowUnits, 1);
    EXPECT_TRUE(view.visible(Window::PlotData));
    // Every label the displays write has a caption once the window is loaded.
    for (const LabelInfo& l : displayLabels()) {
        const std::string_view n = l.name;
        if (n == "lblFlowError" || n == "lblPercent" || n.starts_with("lblWarning")) continue;
        EXPECT_NE(cap(n), "") << n;
    }
}

TEST_F(UnitsDisplay, TimeShowsTheClockLessOneDisplayInterval) {
    load();
    RunModel();
    RunModel();
    DisplayValues();
    EXPECT_EQ(cap("lblTime"), "0.200");
}

TEST_F(UnitsDisplay, ArterialPressuresUseTheWindowsCoefficient) {
    load();
    s().HrtRate = 150;
    RunModel();
    DisplayValues();
    EXPECT_DOUBLE_EQ(s().DiasFrac, 0.0024 * 150 + 0.16);
    EXPECT_DOUBLE_EQ(s().PulseP, s().SV_LV / s().Comp[SysA]);
    EXPECT_DOUBLE_EQ(s().SystP - s().DiasP, s().PulseP);
    EXPECT_NEAR(number(cap("lblSystP")), s().SystP, 0.5);
    // The percent view uses the coefficient of the stored normal.
    DisplayPercent();
    EXPECT_DOUBLE_EQ(s().DiasFrac, 0.0023611 * 150 + 0.16);
}

TEST_F(UnitsDisplay, ParameterPercentagesFollowTheChange) {
    load();
    s().Comp[SysA] = 1.0;
    s().Resis[SysV] = 1.5 * s().Resis_N[SysV];
    s().Emax_LV = 0.25 * 3.52;
    RunModel();
    DisplayValues();
    EXPECT_EQ(cap("lblCompSysA"), "50.0");
    EXPECT_EQ(cap("lblResisSysV"), "150.0");
    EXPECT_EQ(cap("lblEmax_LV"), "25.0");
}

TEST_F(UnitsDisplay, StiffVentriclesShowTheirEffectiveComplianceInRedBold) {
    load();
    s().Vstrs[RghtV] = 200;
    runOneStep();
    DisplayValues();
    ASSERT_GT(s().Vstrs[RghtV], 175);
    const double effective = 100 * (s().Vstrs[RghtV] / (s().Press[RghtV] - s().Pit)) / 21.0;
    EXPECT_LT(effective, 100) << "the stiff range has a smaller effective compliance";
    EXPECT_NEAR(number(cap("lblCompRghtV")), effective, 0.05);
    EXPECT_EQ(cap("lblCompRghtV").find('.'), cap("lblCompRghtV").size() - 2);
    EXPECT_EQ(look("lblCompRghtV").fore, kRgbRed);
    EXPECT_TRUE(look("lblCompRghtV").bold);
    // The other ventricle is untouched.
    EXPECT_EQ(cap("lblCompLeftV"), "100.0");
    EXPECT_EQ(look("lblCompLeftV").fore, Black);
    EXPECT_FALSE(look("lblCompLeftV").bold);

    // Back below 175 ml the label is the plain percentage again.
    load();
    EXPECT_EQ(cap("lblCompRghtV"), "100.0");
    EXPECT_EQ(look("lblCompRghtV").fore, Black);
    EXPECT_FALSE(look("lblCompRghtV").bold);
}

TEST_F(UnitsDisplay, RightVentricleOf176Ml) {
    load();
    // 176 ml at an unchanged compliance: 176 / 21 + 1 / (0.33 x 21) above Pit.
    s().Vstrs[RghtV] = 176;
    s().Press[RghtV] = 176 / 21.0 - 4 + 1 / (0.33 * 21.0);
    DisplayValues();
    // 100 x 176 / (8.381 + 0.1443) / 21 = 98.3
    EXPECT_EQ(cap("lblCompRghtV"), "98.3");
    EXPECT_EQ(look("lblCompRghtV").fore, kRgbRed);
    EXPECT_TRUE(look("lblCompRghtV").bold);
}

// ---------------------------------------------------------------------------------------------
// Flow balance and AutoRun

using FlowBalance = EngineTest;

TEST_F(FlowBalance, SpreadOfExactlyPoint3CountsAsEqual) {
    load();
    view.setChecked(Window::CVModel, "chkAutoRun", true);
    s().FlowMin = 0;
    s().FlowMax = 0.3;
    DisplayValues();
    EXPECT_EQ(cap("lblFlowError"), "");
    EXPECT_EQ(look("lblFlowError").back, BrightWhite);
    EXPECT_TRUE(checked("chkAutoRun")) << "equal flows leave the box as it is";

    s().FlowMax = std::nextafter(0.3, 1.0);
    DisplayValues();
    EXPECT_EQ(cap("lblFlowError"), "Click Run (Flows not equal)");
    EXPECT_EQ(look("lblFlowError").back, LightYellow);
    EXPECT_EQ(look("lblFlowError").fore, LightRed);
    // AutoRun is off: unequal flows untick the box and run nothing.
    EXPECT_FALSE(checked("chkAutoRun"));
    EXPECT_EQ(s().StepCount, 100);
}

TEST_F(FlowBalance, FlowMaxAndMinAreTheExtremesOfTheSixFlows) {
    load();
    s().Resis[SysA] *= 2;
    RunModel();
    double lo = s().Flow[1], hi = s().Flow[1];
    for (int i = 2; i <= 6; ++i) lo = std::min(lo, s().Flow[i]), hi = std::max(hi, s().Flow[i]);
    EXPECT_EQ(s().FlowMax, hi);
    EXPECT_EQ(s().FlowMin, lo);
    EXPECT_GT(hi - lo, 0.3);
}

TEST_F(FlowBalance, AutoRunRunsToEquilibriumAndStaysOn) {
    load();
    s().Resis[SysA] = 2 * s().Resis_N[SysA];
    view.setChecked(Window::CVModel, "chkAutoRun", true);
    s().PlotHidden = 1;
    workbench::clickAutoRun(true);
    EXPECT_LE(spread(s()), 0.3);
    EXPECT_EQ(cap("lblFlowError"), "");
    EXPECT_EQ(s().AutoRunOn, 1);
    EXPECT_TRUE(checked("chkAutoRun"));
    EXPECT_GT(s().StepCount, 300) << "several runs were needed";
    EXPECT_LT(s().ModelTime, 15);
    EXPECT_TRUE(view.visible(Window::PlotData)) << "each repetition shows the strip chart";
    // A doubled arterial resistance: lower output at a higher arterial pressure.
    EXPECT_LT(s().Flow[LeftV], 5000);
    EXPECT_GT(s().Press[SysA], 110);
    EXPECT_EQ(cap("lblFlowLeftV"), formatNumber(s().Flow[LeftV], "####0."));

    // AutoRun stays on: the next change again runs to equilibrium.
    s().Resis[SysA] = s().Resis_N[SysA];
    const int steps = s().StepCount;
    RunModel();
    DisplayValues();
    EXPECT_GT(s().StepCount, steps + 100);
    EXPECT_LE(spread(s()), 0.3);
    EXPECT_NEAR(s().Flow[LeftV], 5500, 5);
    EXPECT_EQ(s().AutoRunOn, 1);
}

// Counts the complete displays (each writes lblTime once) and the AutoRun repetitions.
class CountingView : public RecordingView {
  public:
    int displays = 0, repetitions = 0;
    void setCaption(Window w, std::string_view control, std::string_view text) override {
        if (w == Window::CVModel && control == "lblTime") ++displays;
        RecordingView::setCaption(w, control, text);
    }
    void autoRunStep() override { ++repetitions; }
};

TEST_F(FlowBalance, EachRepetitionIsOneRunAndOneDisplay) {
    CountingView counting;
    setView(&counting);
    load();
    s().Resis[SysA] = 2 * s().Resis_N[SysA];
    counting.displays = 0;
    const int steps = s().StepCount;
    workbench::clickAutoRun(true);
    const int runs = (s().StepCount - steps + 50) / 100;
    EXPECT_GT(runs, 2);
    EXPECT_EQ(counting.repetitions, runs - 1) << "the first run is the tick's own";
    EXPECT_EQ(counting.displays, runs);
    setView(&view);
}

TEST_F(FlowBalance, AutoRunEndsAfterFifteenMinutesWithTheNoticeShown) {
    load();
    // A venoconstriction that never completes keeps the flows apart.
    s().VolChangeKind = 0;
    s().VunstrsChangeTarget = 1e6;
    s().VunstrsChangeRate = 40;
    view.setChecked(Window::CVModel, "chkAutoRun", true);
    workbench::clickAutoRun(true);
    EXPECT_GT(s().ModelTime, 15);
    EXPECT_LT(s().ModelTime, 15.2);
    EXPECT_EQ(s().AutoRunOn, 0);
    EXPECT_FALSE(checked("chkAutoRun"));
    EXPECT_EQ(cap("lblFlowError"), "Click Run (Flows not equal)");
    EXPECT_EQ(cap("lblTime"), formatNumber(s().ModelTime - 0.1, "#0.000"));
}

TEST_F(FlowBalance, TickingAutoRunPastFifteenMinutesRunsOnceAndStops) {
    load();
    s().ModelTime = s().RunUntil = 15.5;
    s().Resis[SysA] *= 2;
    view.setChecked(Window::CVModel, "chkAutoRun", true);
    const int steps = s().StepCount;
    workbench::clickAutoRun(true);
    EXPECT_NEAR(s().StepCount, steps + 100, 1) << "one run";
    EXPECT_EQ(s().AutoRunOn, 0);
    EXPECT_FALSE(checked("chkAutoRun"));
    EXPECT_EQ(cap("lblFlowError"), "Click Run (Flows not equal)");
}

// ---------------------------------------------------------------------------------------------
// Percent-of-normal display

using PercentDisplay = EngineTest;

TEST_F(PercentDisplay, RightAfterStoringEveryPercentageIs100) {
    load();
    // Labels the percent view must not touch keep whatever they showed.
    const char* untouched[] = {"lblPit",      "lblVolError", "lblFlowError", "lblPercent",
                               "cmdPercent",  "lblWarning1", "lblWarning2",  "lblWarning3",
                               "lblWarning4", "lblWarning5"};
    for (const char* l : untouched) view.setCaption(Window::CVModel, l, "keep");
    const int units = s().ShowUnits;
    DisplayPercent();
    for (const char* l : untouched) EXPECT_EQ(cap(l), "keep") << l;
    EXPECT_EQ(s().ShowUnits, units);

    const char* hundred[] = {
        "lblCompSysA",   "lblFlowSysA",   "lblPressSysA",  "lblResisSysA",  "lblVstrsSysA",
        "lblCompSysV",   "lblFlowSysV",   "lblPressSysV",  "lblResisSysV",  "lblVstrsSysV",
        "lblCompRghtV",  "lblFlowRghtV",  "lblPressRghtV", "lblVstrsRghtV", "lblCompPulmA",
        "lblFlowPulmA",  "lblPressPulmA", "lblResisPulmA", "lblVstrsPulmA", "lblCompPulmV",
        "lblFlowPulmV",  "lblPressPulmV", "lblResisPulmV", "lblVstrsPulmV", "lblCompLeftV",
        "lblFlowLeftV",  "lblPressLeftV", "lblVstrsLeftV", "lblSystP",      "lblDiasP",
        "lblHR_RV",      "lblK2_RV",      "lblSV_RV",      "lblESV_RV",     "lblEDV_RV",
        "lblEjectF_RV",  "lblEmax_RV",    "lblHR_LV",      "lblK2_LV",      "lblSV_LV",
        "lblESV_LV",     "lblEDV_LV",     "lblEjectF_LV",  "lblEmax_LV",    "lblVunstrsTotal",
        "lblVstrsTotal", "lblVtotalBody"};
    for (const char* l : hundred) EXPECT_EQ(cap(l), "  100 ") << l;
    EXPECT_EQ(cap("lblPmcf"), " 100 ");
    // Atrial pressures and the volume intercept stay in their units.
    EXPECT_EQ(cap("lblPra"), "1.18");
    EXPECT_EQ(cap("lblPla"), "4.25");
    EXPECT_EQ(cap("lblVo_LV"), "4.3");
    EXPECT_EQ(cap("lblTime"), ".000");
    EXPECT_EQ(cap("lblLeftVent"), "Left Ventricle");
    EXPECT_EQ(cap("lblRghtVent"), "Rght Vent,End Dias");
    EXPECT_EQ(cap("lblSysArt"), "Systemic Artery");
}

TEST_F(PercentDisplay, TimeHasNoLeadingZero) {
    load();
    RunModel();
    RunModel();
    DisplayPercent();
    EXPECT_EQ(cap("lblTime"), ".200");
    s().ModelTime = 12.3456;
    DisplayPercent();
    EXPECT_EQ(cap("lblTime"), "12.246");
}

TEST_F(PercentDisplay, HalvedArterialComplianceShows50) {
    load();
    s().Comp[SysA] = s().Comp[SysA] / 2;
    RunModel();
    DisplayValues();
    DisplayPercent();
    EXPECT_EQ(cap("lblCompSysA"), "  50 ");
    // Whatever else moved, the other compliances are unchanged.
    EXPECT_EQ(cap("lblCompSysV"), "  100 ");
}

TEST_F(PercentDisplay, NegativePressuresAndZeroNormalsShowNa) {
    load();
    s().Pit = -20;  // strongly negative intrathoracic pressure
    runOneStep();
    ASSERT_LT(s().Press[PulmV], 0);
    ASSERT_LT(s().Press[RghtV], 0);
    DisplayPercent();
    EXPECT_EQ(cap("lblPressPulmV"), "na");
    EXPECT_EQ(cap("lblPressRghtV"), "na");
    EXPECT_NE(cap("lblPressSysA"), "na");
    EXPECT_NE(cap("lblPressSysV"), "na");

    // A normal of zero gives "na" too, even for a positive pressure.
    load();
    s().Press_N[PulmA] = 0;
    DisplayPercent();
    EXPECT_EQ(cap("lblPressPulmA"), "na");
    // The arterial pressure is always a percentage.
    s().Press[SysA] = -10;
    DisplayPercent();
    EXPECT_EQ(cap("lblPressSysA"), formatNumber(100 * -10 / s().Press_N[SysA], "  ##0 "));
}

TEST_F(PercentDisplay, NonPositiveVolumes) {
    load();
    s().Vstrs[RghtV] = -1;
    s().Vstrs[PulmA] = -1;
    s().Vstrs[PulmV] = -2;
    s().Vstrs[LeftV] = -3;
    s().Vstrs[SysV] = -6.96;
    DisplayPercent();
    EXPECT_EQ(cap("lblVstrsRghtV"), "<=0");
    EXPECT_EQ(cap("lblVstrsPulmA"), "na");
    EXPECT_EQ(cap("lblVstrsPulmV"), "na");
    EXPECT_EQ(cap("lblVstrsLeftV"), "na");
    // The systemic volumes are always percentages: -6.96 of 696 ml is -1 %.
    EXPECT_EQ(cap("lblVstrsSysV"), "  -1 ");

    load();
    s().Vstrs_N[LeftV] = 0;
    s().Vstrs_N[RghtV] = 0;
    s().Vstrs[RghtV] = 10;
    DisplayPercent();
    EXPECT_EQ(cap("lblVstrsLeftV"), "na");
    EXPECT_EQ(cap("lblVstrsRghtV"), "<=0");
}

TEST_F(PercentDisplay, StiffVentricleInRedBold) {
    load();
    s().Vstrs[LeftV] = 176;
    s().Press[LeftV] = 176 / 13.0 - 4 + 1 / (0.33 * 13.0);
    DisplayPercent();
    // 100 x 176 / (13.538 + 0.2331) / 13 = 98.3
    EXPECT_EQ(cap("lblCompLeftV"), "  98 ");
    EXPECT_EQ(look("lblCompLeftV").fore, kRgbRed);
    EXPECT_TRUE(look("lblCompLeftV").bold);
    EXPECT_EQ(cap("lblCompRghtV"), "  100 ");
    EXPECT_FALSE(look("lblCompRghtV").bold);
}

TEST_F(PercentDisplay, ARunReturnsToUnits) {
    load();
    workbench::clickPercent();
    EXPECT_EQ(s().ShowUnits, 0);
    workbench::clickRun();
    EXPECT_EQ(s().ShowUnits, 1);
    EXPECT_EQ(cap("lblFlowSysA"), "5500.");
    EXPECT_EQ(cap("lblPercent"), "");
    EXPECT_EQ(look("lblPercent").back, BrightWhite);
    EXPECT_EQ(cap("cmdPercent"), " Show % Normal");
    EXPECT_EQ(cap("lblLeftVent"), "Left Vent,End Dias");
}

}  // namespace
}  // namespace vasora::model::test
