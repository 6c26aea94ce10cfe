#include "model/Vasora_Model_coding.h"

#include <cmath>
#include <limits>

#include "model/ModelLabels.h"
#include "model/NumberFormat.h"

namespace vasora::model {

namespace {

NullView g_nullView;
ModelView* g_view = &g_nullView;
// The sweep whose axis captions the strip chart shows, so that the captions are written once
// per sweep rather than at every step; -1 when unknown.
int g_sweepShown = -1;

constexpr Window CV = Window::CVModel;

void caption(std::string_view label, std::string_view text) {
    g_view->setCaption(CV, label, text);
}
void caption(std::string_view label, double value, std::string_view pattern) {
    g_view->setCaption(CV, label, formatNumber(value, pattern));
}
void back(std::string_view label, Rgb c) {
    g_view->setBackColor(CV, label, c);
}
void fore(std::string_view label, Rgb c) {
    g_view->setForeColor(CV, label, c);
}

// The integer nearest to x, halves to the even neighbour, within the 16-bit range; a value that
// is not a number counts as 0. The caller clamps further to the drawing area.
std::int16_t nearest16(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 32767.5) return std::numeric_limits<std::int16_t>::max();
    if (x <= -32768.5) return std::numeric_limits<std::int16_t>::min();
    // Adding and removing 1.5 x 2^52 leaves no fraction bits, so the sum is rounded to the
    // nearest integer, halves to even, exactly as nearbyint does in the default rounding mode;
    // it stays inline where nearbyint is a library call, four times per integration step.
    constexpr double kShift = 6755399441055744.0;
    const double shifted = x + kShift;
    return static_cast<std::int16_t>(shifted - kShift);
}

int clampTo(int v, int size) {
    return v < 0 ? 0 : (v >= size ? (size > 0 ? size - 1 : 0) : v);
}

// Systolic duration is 0.4 s less 0.64 ms per beat/min; what remains of a beat fills.
double fillTime(double rate) {
    return 1.0 / rate - (0.006667 - 1.067e-5 * rate);
}

void showSweepCaptions(int k) {
    if (k == g_sweepShown) return;
    g_sweepShown = k;
    struct Captions {
        const char *l4, *l5, *l6;
    };
    static constexpr Captions kSweeps[] = {
        {"^--0      Time ->", "^1 minute", "^2"},   {"^--3      Time ->", "^4 minute", "^5"},
        {"^--6      Time ->", "^7 minute", "^8"},   {"^--9     Time ->", "^10 minute", "^11"},
        {"^--12     Time ->", "^13 minute", "^14"}, {"^--15     Time ->", "Save LabBook!", "^17"},
    };
    const Captions& c = kSweeps[k / 3];
    g_view->setCaption(Window::PlotData, "Label4", c.l4);
    g_view->setCaption(Window::PlotData, "Label5", c.l5);
    g_view->setCaption(Window::PlotData, "Label6", c.l6);
}

void clearPlot() {
    g_view->plotClear();
}

// The share of the pulse pressure below the mean grows with the heart rate (diastole shortens).
// The units display uses the rounded slope, the stored normal and the percent view the finer one.
constexpr double kDiasFracPerBeatDisplay = 0.0024;
constexpr double kDiasFracPerBeatNormal = 0.0023611;

// Systolic and diastolic arterial pressure from the mean pressure and the stroke volume: the
// pulse pressure is the stroke volume stretching the arterial compliance.
void arterialPressures(ModelState& s, double diasFracPerBeat) {
    s.PulseFactor = 1.0;
    s.PulseP = s.SV_LV * s.PulseFactor / s.Comp[SysA];
    s.DiasFrac = diasFracPerBeat * s.HrtRate_LV + 0.16;
    s.DiasP = s.Press[SysA] - s.DiasFrac * s.PulseP;
    s.SystP = s.DiasP + s.PulseP;
}

// Warnings, tested in this order after the closing computations; a later test on the same
// label overwrites what an earlier one wrote.
void postWarnings(const ModelState& s) {
    using namespace palette;
    const double co = s.Flow[LeftV];
    auto warn = [](std::string_view label, const Rgb* backColour, Rgb text, std::string_view cap) {
        if (backColour) back(label, *backColour);
        fore(label, text);
        caption(label, cap);
    };
    const Rgb yellow = LightYellow;
    if (co < 1000) warn("lblWarning1", &yellow, LightBlue, "DEATH IMMINENT CO < 1000");
    if (co >= 1000 && co < 2000) warn("lblWarning1", &yellow, LightRed, "HURRY Patient in Shock!");
    if (co > 25000) warn("lblWarning1", &s.ColorChanged, LightRed, "CONGRATULATIONS CO >25 L/min");
    if (s.Press[SysA] > 200) warn("lblWarning1", nullptr, LightRed, "RUPTURED artery likely");
    if (s.Press[SysA] < 60) warn("lblWarning2", nullptr, LightMagenta, "Patient Hypotensive");
    if (s.Press[SysA] < 35) warn("lblWarning2", &yellow, Black, "Death Soon Psa < 35");
    if (s.Press[PulmV] > 25) warn("lblWarning2", &yellow, LightRed, "GASP! Ppv >25 mmHg");
    if (s.Vstrs[RghtV] > 175) warn("lblWarning4", nullptr, LightMagenta, "Right EDV >175ml");
    if (s.Vstrs[LeftV] > 175) warn("lblWarning5", nullptr, LightMagenta, "Left EDV > 175 ml");
    // The end-systolic volume was clamped to the ventricle's volume in the last step: the
    // ventricle ejected nothing. (After the volume update the two are rarely equal any more,
    // so the clamp itself is what is remembered.)
    if (s.ClampedESV_RV) warn("lblWarning4", nullptr, Black, "No RIGHT heart output!");
    if (s.ClampedESV_LV) warn("lblWarning5", nullptr, Black, "No LEFT heart output!");
    if (s.Vstrs[SysV] < 1.0) warn("lblWarning3", &yellow, LightBlue, "Veins COLLAPSING!");
    if (s.VtotalBody > 7000) warn("lblWarning3", &yellow, Red, "Too much volume!");
    if (s.CollapseVol > 0)
        warn("lblWarning5", nullptr, Black, formatNumber(s.CollapseVol, "#0.0 ml collapse"));
}

bool allFinite(const PerCompartment& a) {
    for (int i = 1; i <= kCompartments; ++i)
        if (!std::isfinite(a[static_cast<std::size_t>(i)])) return false;
    return true;
}

// Whether a run left the state in a shape the displays and later runs can use.
bool stateIsFinite(const ModelState& s) {
    if (!allFinite(s.Press) || !allFinite(s.Flow) || !allFinite(s.Vstrs) || !allFinite(s.Vunstrs))
        return false;
    for (double v : {s.ESV_RV, s.ESV_LV, s.SV_RV, s.SV_LV, s.K2_RV, s.K2_LV, s.VunstrsTotal,
                     s.VstrsTotal, s.VtotalBody, s.Pmcf, s.VolAdded, s.VolError, s.FlowMax,
                     s.FlowMin, s.CollapseVol, s.ModelTime, s.VolChangeDone, s.VunstrsChangeDone})
        if (!std::isfinite(v)) return false;
    return true;
}

// One run call; returns normally whether it completed or stopped past 17 minutes.
void runCall(ModelState& s) {
    using namespace palette;
    s.RunUntil = s.RunUntil + s.PrintInterval;

    s.FillTime_RV = fillTime(s.HrtRate);
    s.Kfill_RV = 1600;
    s.K2_RV = 1 - std::exp(-s.Kfill_RV * s.FillTime_RV);
    if (s.AVBlock) {
        s.FillTime_LV = fillTime(s.HrtRate_LV);
        s.Kfill_LV = 1600;
        s.K2_LV = 1 - std::exp(-s.Kfill_LV * s.FillTime_LV);
    } else {
        s.HrtRate_LV = s.HrtRate;
        s.K2_LV = s.K2_RV;
    }

    for (std::string_view w :
         {"lblWarning1", "lblWarning2", "lblWarning3", "lblWarning4", "lblWarning5"})
        caption(w, "");
    back("lblWarning1", BrightWhite);
    back("lblWarning2", BrightWhite);
    back("lblWarning3", BrightWhite);

    ModelView& v = *g_view;
    const int W = v.plotWidth();
    const int H = v.plotHeight();
    auto& P = s.Press;
    auto& F = s.Flow;
    auto& V = s.Vstrs;

    do {
        // Pressures. Above 175 ml a ventricle is three times stiffer.
        P[SysA] = V[SysA] / s.Comp[SysA];
        P[SysV] = V[SysV] / s.Comp[SysV];
        P[RghtV] = V[RghtV] / s.Comp[RghtV] + s.Pit;
        if (V[RghtV] > 175) P[RghtV] = P[RghtV] + (V[RghtV] - 175) / (0.33 * s.Comp[RghtV]);
        P[PulmA] = V[PulmA] / s.Comp[PulmA] + s.Pit;
        P[PulmV] = V[PulmV] / s.Comp[PulmV] + s.Pit;
        P[LeftV] = V[LeftV] / s.Comp[LeftV] + s.Pit;
        if (V[LeftV] > 175) P[LeftV] = P[LeftV] + (V[LeftV] - 175) / (0.33 * s.Comp[LeftV]);

        // Flows and ventricles. A ventricle never ejects a negative stroke volume; every other
        // flow follows its pressure difference, backward flow included.
        F[SysA] = (P[SysA] - P[SysV]) / s.Resis[SysA];
        F[SysV] = (P[SysV] - P[RghtV]) * s.K2_RV / s.Resis[SysV];
        s.ESV_RV = P[PulmA] / s.Emax_RV + s.Vo_RV;
        s.ClampedESV_RV = s.ESV_RV >= V[RghtV];
        if (s.ClampedESV_RV) s.ESV_RV = V[RghtV];
        s.SV_RV = V[RghtV] - s.ESV_RV;
        F[RghtV] = s.HrtRate * s.SV_RV;
        // A pulmonary resistance below normal makes the lungs' time constants short enough for
        // the normal step to go unstable, so the step shrinks for good.
        if (s.Resis[PulmA] < s.Resis_N[PulmA]) s.IterInterval = 0.0002;
        F[PulmA] = (P[PulmA] - P[PulmV]) / s.Resis[PulmA];
        if (s.Resis[PulmV] < s.Resis_N[PulmV]) s.IterInterval = 0.0002;
        F[PulmV] = (P[PulmV] - P[LeftV]) / s.Resis[PulmV] * s.K2_LV;
        s.ESV_LV = P[SysA] / s.Emax_LV + s.Vo_LV;
        s.ClampedESV_LV = s.ESV_LV >= V[LeftV];
        if (s.ClampedESV_LV) s.ESV_LV = V[LeftV];
        s.SV_LV = V[LeftV] - s.ESV_LV;
        if (s.AVBlock == 0) s.HrtRate_LV = s.HrtRate;
        F[LeftV] = s.HrtRate_LV * s.SV_LV;

        // The step length is read only now: a step that has just shrunk the interval is itself
        // the first short step.
        const double dt = s.IterInterval;

        // Vein collapse: veins emptied below their unstressed volume recruit unstressed volume
        // at 200 ml/min and give it back at 100 ml/min once they refill.
        if (V[SysV] < 0) {
            s.CollapseRate = 200;
            s.Vunstrs[SysV] = s.Vunstrs[SysV] - 200 * dt;
            s.CollapseVol = s.CollapseVol + 200 * dt;
        } else {
            s.CollapseRate = 0;
        }
        if (V[SysV] > 0 && s.CollapseVol > 0) {
            s.CollapseRate = -100;
            s.Vunstrs[SysV] = s.Vunstrs[SysV] + 100 * dt;
            s.CollapseVol = s.CollapseVol - 100 * dt;
        }

        // Euler update, every volume with this step's flows.
        V[SysA] = V[SysA] + (F[LeftV] - F[SysA]) * dt;
        V[SysV] = V[SysV] +
                  (F[SysA] - F[SysV] + s.VolChangeRate + s.VunstrsChangeRate + s.CollapseRate) * dt;
        V[RghtV] = V[RghtV] + (F[SysV] - F[RghtV]) * dt;
        V[PulmA] = V[PulmA] + (F[RghtV] - F[PulmA]) * dt;
        V[PulmV] = V[PulmV] + (F[PulmA] - F[PulmV]) * dt;
        V[LeftV] = V[LeftV] + (F[PulmV] - F[LeftV]) * dt;

        // Ramp bookkeeping. Each kind is kept while it is the kind started last or while its
        // own rate still runs, so that a ramp started before a ramp of the other kind also ends
        // and is counted.
        if (s.VolChangeKind == 1 || s.VolChangeRate != 0) {
            s.VolAdded = s.VolAdded + s.VolChangeRate * dt;
            s.VolChangeDone = s.VolChangeDone + s.VolChangeRate * dt;
            if (std::fabs(s.VolChangeTarget) <= std::fabs(s.VolChangeDone)) {
                s.VolChangeRate = 0;
                s.VolChangeTarget = 0;
            }
        }
        if (s.VolChangeKind == 0 || s.VunstrsChangeRate != 0) {
            s.Vunstrs[SysV] = s.Vunstrs[SysV] - s.VunstrsChangeRate * dt;
            s.VunstrsChangeDone = s.VunstrsChangeDone + s.VunstrsChangeRate * dt;
            if (std::fabs(s.VunstrsChangeDone) >= std::fabs(s.VunstrsChangeTarget)) {
                s.VunstrsChangeRate = 0;
                s.VunstrsChangeTarget = 0;
            }
        }

        if (s.PlotHidden == 1)
            v.hideWindow(Window::PlotData);
        else
            v.showWindow(Window::PlotData);

        // Sweep position: one sweep spans PlotSpan thousandths of a minute across the width.
        // The captions of the last sweep that applies are written once, not those of every
        // earlier sweep in turn.
        const double t = s.ModelTime;
        int sweep = -1;
        if (t < 3) {
            s.PlotX = nearest16(t * 1000 / s.PlotSpan * W);
            sweep = 0;
        }
        for (int k = 3; k <= 15; k += 3) {
            if (k < t && t < k + 0.003) clearPlot();
            if (t > k) {
                s.PlotX = nearest16((t - k) * 1000 / s.PlotSpan * W);
                sweep = k;
            }
        }
        if (sweep >= 0 && sweep != g_sweepShown) showSweepCaptions(sweep);
        if (t > 17) return;

        // Trace points; y runs downward with the zero line at 85 % of the height.
        s.PlotY_CO = F[LeftV] > 12800 ? 10 : nearest16((0.85 - F[LeftV] / 15000) * H);
        s.PlotY_VR = F[SysV] > 12800 ? 20 : nearest16((0.85 - F[SysV] / 15000) * H);
        s.PlotY_Psa = P[SysA] > 170 ? 30 : nearest16((0.85 - P[SysA] / 200) * H);
        s.PlotY_Base = nearest16(0.85 * H);
        const int x = clampTo(s.PlotX, W);
        v.plotPoint(x, clampTo(s.PlotY_Base, H), Black, 1);
        v.plotPoint(x, clampTo(s.PlotY_VR, H), LightMagenta, 1);
        v.plotPoint(x, clampTo(s.PlotY_Psa, H), LightBlue, 2);
        v.plotPoint(x, clampTo(s.PlotY_CO, H), LightRed, 2);

        s.StepCount = s.StepCount + 1;
        s.ModelTime = s.ModelTime + dt;
        v.stepDone();
    } while (s.ModelTime < s.RunUntil);

    // Closing computations.
    s.VunstrsTotal = 0;
    s.VstrsTotal = 0;
    for (int i = 1; i <= kCompartments; ++i) s.VunstrsTotal = s.VunstrsTotal + s.Vunstrs[i];
    for (int i = 1; i <= kCompartments; ++i) s.VstrsTotal = s.VstrsTotal + s.Vstrs[i];
    s.VtotalBody = s.VunstrsTotal + s.VstrsTotal;
    if (s.NormalSaved == 0) {
        s.VunstrsTotal_N = s.VunstrsTotal;
        s.VstrsTotal_N = s.VstrsTotal;
        s.VtotalBody_N = s.VtotalBody;
    }
    s.VolError = s.VunstrsTotal + s.VstrsTotal - (s.VtotalBody_N + s.VolAdded);
    double compSum = 0;
    for (int i = 1; i <= kCompartments; ++i) compSum = compSum + s.Comp[i];
    s.Pmcf = s.VstrsTotal / compSum;

    s.FlowList[1] = F[LeftV];
    s.FlowList[2] = F[SysA];
    s.FlowList[3] = F[SysV];
    s.FlowList[4] = F[RghtV];
    s.FlowList[5] = F[PulmA];
    s.FlowList[6] = F[PulmV];
    s.FlowMax = s.FlowMin = s.FlowList[1];
    for (int i = 2; i <= 6; ++i) {
        if (s.FlowList[i] > s.FlowMax) s.FlowMax = s.FlowList[i];
        if (s.FlowList[i] < s.FlowMin) s.FlowMin = s.FlowList[i];
    }

    if (s.NormalSaved == 0) StoreNormals();
    postWarnings(s);
}

bool flowsEqual(const ModelState& s) {
    return std::fabs(s.FlowMax - s.FlowMin) <= 0.3;
}

// Percent of normal, the whole number the percent view shows.
std::string percent(double value, double normal) {
    return formatNumber(100 * value / normal, "  ##0 ");
}

// The labels of each compartment, in the order the displays write them.
struct Row {
    int i;
    std::string_view name, nameCaption, flow, press, vol, comp, resis;
};
constexpr Row kRows[] = {
    {SysA, "lblSysArt", "Systemic Artery", "lblFlowSysA", "lblPressSysA", "lblVstrsSysA",
     "lblCompSysA", "lblResisSysA"},
    {SysV, "lblSysVein", "Systemic Vein", "lblFlowSysV", "lblPressSysV", "lblVstrsSysV",
     "lblCompSysV", "lblResisSysV"},
    {RghtV, "lblRghtVent", "Rght Vent,End Dias", "lblFlowRghtV", "lblPressRghtV", "lblVstrsRghtV",
     "lblCompRghtV", ""},
    {PulmA, "lblPulmArt", "Pulmonary Artery", "lblFlowPulmA", "lblPressPulmA", "lblVstrsPulmA",
     "lblCompPulmA", "lblResisPulmA"},
    {PulmV, "lblPulmVein", "Pulmonary Vein", "lblFlowPulmV", "lblPressPulmV", "lblVstrsPulmV",
     "lblCompPulmV", "lblResisPulmV"},
    {LeftV, "lblLeftVent", "Left Vent,End Dias", "lblFlowLeftV", "lblPressLeftV", "lblVstrsLeftV",
     "lblCompLeftV", ""},
};

// A ventricle's compliance as percent of normal. Past 175 ml the learner sees the effective,
// stiffer compliance (volume over transmural pressure) in red bold.
void ventricleCompliance(const ModelState& s, const Row& r, std::string_view pattern) {
    const auto i = static_cast<std::size_t>(r.i);
    if (s.Vstrs[i] <= 175) {
        caption(r.comp, 100 * s.Comp[i] / s.Comp_N[i], pattern);
        fore(r.comp, palette::Black);
        g_view->setBold(CV, r.comp, false);
    } else {
        caption(r.comp, 100 * (s.Vstrs[i] / (s.Press[i] - s.Pit)) / s.Comp_N[i], pattern);
        fore(r.comp, kRgbRed);
        g_view->setBold(CV, r.comp, true);
    }
}

// One complete units display, steps 1 to 9 and the notice of step 10.
void displayOnce(ModelState& s) {
    using namespace palette;
    s.ShowUnits = 1;
    caption("lblPercent", "");
    back("lblPercent", BrightWhite);
    caption("cmdPercent", " Show % Normal");

    caption("lblTime", s.ModelTime - 0.1, "#0.000");

    for (const Row& r : kRows) {
        const auto i = static_cast<std::size_t>(r.i);
        caption(r.name, r.nameCaption);
        caption(r.flow, s.Flow[i], "####0.");
        caption(r.press, s.Press[i], "###0.0");
        caption(r.vol, s.Vstrs[i], "####0.");
        if (r.i == RghtV || r.i == LeftV) {
            ventricleCompliance(s, r, "####0.0");
        } else {
            caption(r.comp, 100 * s.Comp[i] / s.Comp_N[i], "###0.0");
            caption(r.resis, 100 * s.Resis[i] / s.Resis_N[i], "###0.0");
        }
    }

    arterialPressures(s, kDiasFracPerBeatDisplay);
    caption("lblSystP", s.SystP, "####0");
    caption("lblDiasP", s.DiasP, "####0");

    caption("lblPra", s.Press[SysV] - s.Flow[SysV] * s.Resis[SysV], "##0.0#");
    caption("lblPla", s.Press[PulmV] - s.Flow[PulmV] * s.Resis[PulmV], "##0.0#");
    caption("lblPmcf", s.Pmcf, "###0.00");

    caption("lblHR_RV", s.HrtRate, "####0.0");
    caption("lblK2_RV", s.K2_RV, "#0.0##");
    caption("lblEDV_RV", s.Vstrs[RghtV], "###0.0");
    caption("lblESV_RV", s.ESV_RV, "###0.0");
    caption("lblSV_RV", s.SV_RV, "###0.0");
    caption("lblEjectF_RV", s.SV_RV / s.Vstrs[RghtV], "##0.00");
    caption("lblEmax_RV", 100 * s.Emax_RV / s.Emax_RV_N, "###0.0");

    caption("lblHR_LV", s.HrtRate_LV, "####0.0");
    caption("lblK2_LV", s.K2_LV, "#0.0##");
    caption("lblEDV_LV", s.Vstrs[LeftV], "###0.0");
    caption("lblESV_LV", s.ESV_LV, "###0.0");
    caption("lblSV_LV", s.SV_LV, "###0.0");
    caption("lblEjectF_LV", s.SV_LV / s.Vstrs[LeftV], "##0.00");
    caption("lblEmax_LV", 100 * s.Emax_LV / s.Emax_LV_N, "###0.0");
    caption("lblVo_LV", s.Vo_LV, "###0.0");

    caption("lblVstrsTotal", s.VstrsTotal, "####0.");
    caption("lblVunstrsTotal", s.VunstrsTotal, "####0.");
    caption("lblVtotalBody", s.VunstrsTotal + s.VstrsTotal, "####0.");
    caption("lblPit", s.Pit, "###0.0");
    caption("lblVolError", s.VolError, "0.0#############");

    if (flowsEqual(s)) {
        caption("lblFlowError", "");
        back("lblFlowError", BrightWhite);
    } else {
        caption("lblFlowError", "Click Run (Flows not equal)");
        back("lblFlowError", LightYellow);
        fore("lblFlowError", LightRed);
    }
}

}  // namespace

const char* const kRunFailedMessage =
    "The model could not go on: this run produced a value that is not a number (a division by "
    "zero, or an iteration interval too large for the model to stay stable).\n\n"
    "The model has been put back as it was before this run, and AutoRun has been switched "
    "off. Choose a smaller iteration interval in Options, or click Restart to start again "
    "from the normal circulation.";

const char* const kBadIntervalsMessage =
    "The model cannot run with the present intervals: the iteration interval must be a positive "
    "number of minutes, and a display interval may hold at most ten million iterations.\n\n"
    "Choose other intervals in Options, or click Restart.";

ModelState& state() {
    static ModelState s;
    return s;
}

void resetState() {
    state() = ModelState{};
    g_sweepShown = -1;
}

void setView(ModelView* v) {
    g_view = v ? v : &g_nullView;
    g_sweepShown = -1;
}

ModelView& view() {
    return *g_view;
}

void SetNormalParameters() {
    ModelState& s = state();
    s.AutoRunOn = 0;
    s.ParamSetLoaded = 0;
    s.ColorChanged = kColorChanged;
    clearPlot();

    struct Normal {
        double Press, Flow, Vstrs, Vunstrs, Comp, Resis;
    };
    static constexpr Normal kNormal[kCompartments + 1] = {
        {},
        {93.7, 5500, 187.38, 553.0, 2.0, 0.01582},
        {6.69, 5500, 695.99, 2905.1, 104.0, 0.0010027},
        {1.1775, 5500, 108.73, 5.0, 21.0, 0.0},
        {11.1027, 5500, 166.13, 60.0, 11.0, 0.001001},
        {5.5974, 5500, 134.36, 72.0, 14.0, 0.0002442},
        {4.2543, 5500, 107.308, 5.0, 13.0, 0.0},
    };
    for (int i = 1; i <= kCompartments; ++i) {
        const Normal& n = kNormal[i];
        s.Press[i] = n.Press;
        s.Flow[i] = n.Flow;
        s.Vstrs[i] = n.Vstrs;
        s.Vunstrs[i] = n.Vunstrs;
        s.Comp[i] = n.Comp;
        s.Resis[i] = n.Resis;
    }

    s.SegName[6] = "Right Ventricle";
    s.SegName[7] = "Left Ventricle";
    s.SegName[8] = "Heart Rate";
    s.SegName[9] = "Heart Rate";
    s.SegName[10] = "Unstressed";
    s.SegName[11] = "Total Body";
    s.SegName[12] = "P intrathoracic";

    s.CompPericard = 2.0;
    s.Pit = -4.0;
    s.HrtRate = 72;
    s.K2_RV = 1.0;
    s.HrtRate_LV = 72;
    s.K2_LV = 1.0;
    s.AVBlock = 0;
    s.SystP = 119.185;
    s.DiasP = 80.987;
    s.Emax_RV = 0.3784;
    s.Emax_LV = 3.52;
    s.Vo_RV = 3.0;
    s.Vo_LV = 4.3;

    s.VunstrsChangeTarget = 0;
    s.VolChangeTarget = 0;
    s.VolChangeRate = 0;
    s.VolChangeDone = 0;
    s.VunstrsChangeRate = 0;
    s.VunstrsChangeDone = 0;
    s.CollapseRate = 0;

    s.VunstrsTotal = 3600;
    s.VstrsTotal = 1400;
    s.VtotalBody = 5000;
    s.VolAdded = 0;

    s.IterInterval = 0.001;
    s.PrintInterval = 0.1;
    s.RunUntil = 0;
    s.ModelTime = 0;
    s.NormalSaved = 0;
    s.StepCount = 0;
    s.PlotSpan = 3000;
    s.PlotHidden = 0;
}

void StoreNormals() {
    ModelState& s = state();
    for (int i = 1; i <= kCompartments; ++i) {
        s.Comp_N[i] = s.Comp[i];
        s.Flow_N[i] = s.Flow[i];
        s.Press_N[i] = s.Press[i];
        s.Vstrs_N[i] = s.Vstrs[i];
        if (i != RghtV && i != LeftV) s.Resis_N[i] = s.Resis[i];
    }
    s.HrtRate_N = s.HrtRate;
    s.K2_RV_N = s.K2_RV;
    s.ESV_RV_N = s.ESV_RV;
    s.SV_RV_N = s.SV_RV;
    s.Vo_RV_N = s.Vo_RV;
    s.Emax_RV_N = s.Emax_RV;
    s.HrtRate_LV_N = s.HrtRate_LV;
    s.K2_LV_N = s.K2_LV;
    s.ESV_LV_N = s.ESV_LV;
    s.SV_LV_N = s.SV_LV;
    s.Vo_LV_N = s.Vo_LV;
    s.Emax_LV_N = s.Emax_LV;
    s.VstrsTotal_N = s.VstrsTotal;
    s.VunstrsTotal_N = s.VunstrsTotal;
    s.VtotalBody_N = s.VunstrsTotal + s.VstrsTotal;
    s.Pmcf_N = s.Pmcf;

    arterialPressures(s, kDiasFracPerBeatNormal);
    s.SystP_N = s.SystP;
    s.DiasP_N = s.DiasP;

    for (Window w : {Window::CVModel, Window::Layout})
        for (std::string_view label : kParameterLabels)
            if (label != "lblHR_LV" || s.AVBlock == 1) g_view->setBackColor(w, label, kParamNormal);

    s.NormalSaved = 1;
}

void RunModel() {
    ModelState& s = state();
    // A step that is not a positive number would never reach the end of the call, and a span
    // of more than ten million steps would hold the program for many seconds; neither is run.
    // The options window keeps both intervals far from this, but a lab book entry need not.
    if (!(s.IterInterval > 0) || !std::isfinite(s.PrintInterval) ||
        s.PrintInterval / s.IterInterval > kMaxStepsPerRun) {
        s.AutoRunOn = 0;
        g_view->setChecked(CV, "chkAutoRun", false);
        g_view->message(kBadIntervalsMessage);
        return;
    }
    // A run that divides by zero, or an Euler step too long for the circulation's time
    // constants, fills the state with values that are not numbers; nothing could be shown or
    // run from them again. Such a run is undone as a whole.
    const ModelState before = s;
    runCall(s);
    if (!stateIsFinite(s)) {
        s = before;
        s.AutoRunOn = 0;
        g_view->setChecked(CV, "chkAutoRun", false);
        postWarnings(s);
        g_view->message(kRunFailedMessage);
    }
}

void DisplayValues() {
    ModelState& s = state();
    // The repetition of AutoRun is a loop: each turn is one run followed by one whole display.
    displayOnce(s);
    for (;;) {
        if (flowsEqual(s)) return;
        if (s.ModelTime <= 15 && s.AutoRunOn == 1) {
            RunModel();
            // A failed run has switched AutoRun off; the display shows the state it restored.
            displayOnce(s);
            if (s.AutoRunOn == 1) g_view->showWindow(Window::PlotData);
            // The windows may repaint now, with this repetition's values on the labels.
            g_view->autoRunStep();
            continue;
        }
        s.AutoRunOn = 0;
        g_view->setChecked(CV, "chkAutoRun", false);
        return;
    }
}

void DisplayPercent() {
    ModelState& s = state();
    using namespace palette;
    caption("lblTime", s.ModelTime - 0.1, "###.000");

    auto pct = [&](std::string_view label, double value, double normal) {
        caption(label, percent(value, normal));
    };
    for (const Row& r : kRows) {
        const auto i = static_cast<std::size_t>(r.i);
        const bool ventricle = r.i == RghtV || r.i == LeftV;
        // In this view the left ventricle's name is its plain name.
        caption(r.name, r.i == LeftV ? std::string_view("Left Ventricle") : r.nameCaption);
        if (ventricle)
            ventricleCompliance(s, r, "  ##0 ");
        else
            pct(r.comp, s.Comp[i], s.Comp_N[i]);
        pct(r.flow, s.Flow[i], s.Flow_N[i]);
        // A pressure or volume below zero, or a normal of zero, has no meaningful percent.
        if (r.i == SysA || (s.Press[i] >= 0 && s.Press_N[i] > 0))
            pct(r.press, s.Press[i], s.Press_N[i]);
        else
            caption(r.press, "na");
        if (!ventricle) pct(r.resis, s.Resis[i], s.Resis_N[i]);
        if (r.i == SysA || r.i == SysV || (s.Vstrs[i] >= 0 && s.Vstrs_N[i] > 0))
            pct(r.vol, s.Vstrs[i], s.Vstrs_N[i]);
        else
            caption(r.vol, r.i == RghtV ? "<=0" : "na");
    }

    arterialPressures(s, kDiasFracPerBeatNormal);
    pct("lblSystP", s.SystP, s.SystP_N);
    pct("lblDiasP", s.DiasP, s.DiasP_N);

    pct("lblHR_RV", s.HrtRate, s.HrtRate_N);
    pct("lblK2_RV", s.K2_RV, s.K2_RV_N);
    pct("lblSV_RV", s.SV_RV, s.SV_RV_N);
    pct("lblESV_RV", s.ESV_RV, s.ESV_RV_N);
    pct("lblEDV_RV", s.Vstrs[RghtV], s.Vstrs_N[RghtV]);
    pct("lblEjectF_RV", s.SV_RV / s.Vstrs[RghtV], s.SV_RV_N / s.Vstrs_N[RghtV]);
    pct("lblEmax_RV", s.Emax_RV, s.Emax_RV_N);
    caption("lblPra", s.Press[SysV] - s.Flow[SysV] * s.Resis[SysV], "##0.0#");

    pct("lblHR_LV", s.HrtRate_LV, s.HrtRate_LV_N);
    pct("lblK2_LV", s.K2_LV, s.K2_LV_N);
    pct("lblSV_LV", s.SV_LV, s.SV_LV_N);
    pct("lblESV_LV", s.ESV_LV, s.ESV_LV_N);
    pct("lblEDV_LV", s.Vstrs[LeftV], s.Vstrs_N[LeftV]);
    pct("lblEjectF_LV", s.SV_LV / s.Vstrs[LeftV], s.SV_LV_N / s.Vstrs_N[LeftV]);
    pct("lblEmax_LV", s.Emax_LV, s.Emax_LV_N);
    caption("lblVo_LV", s.Vo_LV, "###0.0");
    caption("lblPla", s.Press[PulmV] - s.Flow[PulmV] * s.Resis[PulmV], "##0.0#");

    pct("lblVunstrsTotal", s.VunstrsTotal, s.VunstrsTotal_N);
    pct("lblVstrsTotal", s.VstrsTotal, s.VstrsTotal_N);
    pct("lblVtotalBody", s.VunstrsTotal + s.VstrsTotal, s.VtotalBody_N);
    caption("lblPmcf", formatNumber(100 * s.Pmcf / s.Pmcf_N, " ##0 "));
}

}  // namespace vasora::model
