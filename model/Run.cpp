// The run: one display interval of model time in explicit Euler steps, the closing
// computations, and the guards that undo a run the numbers could not survive.

#include <cmath>

#include "model/Derived.h"
#include "model/EngineInternal.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"

namespace vasora::model {

using namespace engine;

namespace {

bool allWithin(const PerCompartment& a, double limit) {
    for (int i = 1; i <= kCompartments; ++i)
        if (!(std::fabs(a[static_cast<std::size_t>(i)]) <= limit)) return false;
    return true;
}

// Whether a run left the state in a shape the displays and later runs can use. Besides values
// that are not numbers, an explicit Euler step too long for the circulation's time constants
// makes the volumes swing with growing amplitude; it is caught while the numbers are still
// finite, as soon as a compartment holds more (or less) than many times all the blood there
// is, or a pressure or flow passes any value a circulation can reach.
bool statePhysical(const ModelState& s, double bloodVolume) {
    const double volumeLimit = 10 * std::max(5000.0, std::fabs(bloodVolume));
    if (!allWithin(s.Vstrs, volumeLimit) || !allWithin(s.Vunstrs, volumeLimit)) return false;
    if (!allWithin(s.Press, kPressureLimit) || !allWithin(s.Flow, kFlowLimit)) return false;
    for (double v :
         {s.ESV_RV, s.ESV_LV, s.SV_RV, s.SV_LV, s.VunstrsTotal, s.VstrsTotal, s.VtotalBody,
          s.VolAdded, s.VolError, s.CollapseVol, s.VolChangeDone, s.VunstrsChangeDone})
        if (!(std::fabs(v) <= volumeLimit)) return false;
    for (double v : {s.K2_RV, s.K2_LV, s.Pmcf, s.FlowMax, s.FlowMin, s.ModelTime})
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

namespace engine {

void prepareHeartRates(ModelState& s) {
    s.FillTime_RV = fillTime(s.HrtRate);
    s.Kfill_RV = 1600;
    s.K2_RV = fillingCompleteness(s.Kfill_RV, s.FillTime_RV);
    if (s.AVBlock) {
        s.FillTime_LV = fillTime(s.HrtRate_LV);
        s.Kfill_LV = 1600;
        s.K2_LV = fillingCompleteness(s.Kfill_LV, s.FillTime_LV);
    } else {
        s.HrtRate_LV = s.HrtRate;
        s.K2_LV = s.K2_RV;
    }
}

namespace {

void stepPressures(ModelState& s) {
    auto& P = s.Press;
    const auto& V = s.Vstrs;
    // Pressures; the ventricles' on their diastolic relation, stiff above 175 ml.
    P[SysA] = V[SysA] / s.Comp[SysA];
    P[SysV] = V[SysV] / s.Comp[SysV];
    P[RghtV] = ventricleDiastolicPressure(V[RghtV], s.Comp[RghtV], s.Pit);
    P[PulmA] = V[PulmA] / s.Comp[PulmA] + s.Pit;
    P[PulmV] = V[PulmV] / s.Comp[PulmV] + s.Pit;
    P[LeftV] = ventricleDiastolicPressure(V[LeftV], s.Comp[LeftV], s.Pit);
}

void stepFlows(ModelState& s, const StepClamp* clamp) {
    const auto& P = s.Press;
    auto& F = s.Flow;
    const auto& V = s.Vstrs;
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
    if (s.Resis[PulmA] < s.Resis_N[PulmA]) s.IterInterval = kShortIterInterval;
    F[PulmA] = (P[PulmA] - P[PulmV]) / s.Resis[PulmA];
    if (s.Resis[PulmV] < s.Resis_N[PulmV]) s.IterInterval = kShortIterInterval;
    F[PulmV] = (P[PulmV] - P[LeftV]) / s.Resis[PulmV] * s.K2_LV;
    s.ESV_LV = P[SysA] / s.Emax_LV + s.Vo_LV;
    s.ClampedESV_LV = s.ESV_LV >= V[LeftV];
    if (s.ClampedESV_LV) s.ESV_LV = V[LeftV];
    s.SV_LV = V[LeftV] - s.ESV_LV;
    if (s.AVBlock == 0) s.HrtRate_LV = s.HrtRate;
    F[LeftV] = s.HrtRate_LV * s.SV_LV;
    // A held right atrium: the arteries receive what the veins return (Guyton's pump).
    if (clamp && clamp->pumpVenousReturn) F[LeftV] = F[SysV];
}

void collapseVeins(ModelState& s, double dt) {
    const auto& V = s.Vstrs;
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
}

void stepVolumes(ModelState& s, double dt, const StepClamp* clamp) {
    const auto& F = s.Flow;
    auto& V = s.Vstrs;
    // Euler update, every volume with this step's flows; a held compartment keeps its volume.
    const PerCompartment before = V;
    V[SysA] = V[SysA] + (F[LeftV] - F[SysA]) * dt;
    V[SysV] =
        V[SysV] + (F[SysA] - F[SysV] + s.VolChangeRate + s.VunstrsChangeRate + s.CollapseRate) * dt;
    V[RghtV] = V[RghtV] + (F[SysV] - F[RghtV]) * dt;
    V[PulmA] = V[PulmA] + (F[RghtV] - F[PulmA]) * dt;
    V[PulmV] = V[PulmV] + (F[PulmA] - F[PulmV]) * dt;
    V[LeftV] = V[LeftV] + (F[PulmV] - F[LeftV]) * dt;
    if (clamp)
        for (int i = 1; i <= kCompartments; ++i)
            if (clamp->holdVolume[std::size_t(i)]) V[std::size_t(i)] = before[std::size_t(i)];
}

void stepRamps(ModelState& s, double dt) {
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
}

}  // namespace

double eulerStep(ModelState& s, const StepClamp* clamp) {
    stepPressures(s);
    stepFlows(s, clamp);
    // The step length is read only now: a step that has just shrunk the interval is itself
    // the first short step.
    const double dt = s.IterInterval;
    collapseVeins(s, dt);
    stepVolumes(s, dt, clamp);
    stepRamps(s, dt);
    if (!clamp) reflexStep(s, dt);
    return dt;
}

}  // namespace engine

namespace {

// One run call; returns normally whether it completed or stopped past 17 minutes.
void runCall(ModelState& s) {
    s.RunUntil = s.RunUntil + s.PrintInterval;
    prepareHeartRates(s);
    clearWarnings();

    ModelView& v = out();
    const int W = v.plotWidth();
    const int H = v.plotHeight();
    auto& F = s.Flow;

    do {
        const double dt = eulerStep(s, nullptr);

        if (!traceStep(s, v, W, H)) return;

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
        // This run's state becomes the reference (StoreNormals below), and its error is
        // reckoned from it: the volume added counts from here.
        s.VunstrsTotal_N = s.VunstrsTotal;
        s.VstrsTotal_N = s.VstrsTotal;
        s.VtotalBody_N = s.VtotalBody;
        s.VolAdded = 0;
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

}  // namespace

const char* const kRunFailedMessage =
    "The model could not go on: this run produced values that no circulation can have (a "
    "division by zero, or an iteration interval too large for the model to stay stable, so "
    "that its volumes swing further with every step).\n\n"
    "The model has been put back as it was before this run, and AutoRun has been switched "
    "off. Choose a smaller iteration interval in Options, or click Restart to start again "
    "from the normal circulation.";

const char* const kBadIntervalsMessage =
    "The model cannot run with the present intervals: the iteration interval must be a positive "
    "number of minutes, and a display interval may hold at most ten million iterations.\n\n"
    "Choose other intervals in Options, or click Restart.";

void RunModel() {
    ModelState& s = state();
    // A step that is not a positive number would never reach the end of the call, and a span
    // of more than ten million steps would hold the program for many seconds; neither is run.
    // The options window keeps both intervals far from this, but a lab book entry need not.
    if (!(s.IterInterval > 0) || !std::isfinite(s.PrintInterval) ||
        s.PrintInterval / s.IterInterval > kMaxStepsPerRun) {
        s.AutoRunOn = 0;
        out().setChecked(CV, "chkAutoRun", false);
        out().message(kBadIntervalsMessage);
        return;
    }
    // A run that divides by zero or blows up leaves values that could not be shown or run
    // from again. Such a run is undone as a whole.
    const ModelState before = s;
    runCall(s);
    if (!statePhysical(s, totalBloodVolume(before))) {
        s = before;
        s.AutoRunOn = 0;
        out().setChecked(CV, "chkAutoRun", false);
        // The failed run's warnings go with it: those of the state put back are shown.
        clearWarnings();
        postWarnings(s);
        out().message(kRunFailedMessage);
    }
}

}  // namespace vasora::model
