#pragma once

// The one model state of the process. Every window reads and writes it directly; the engine's
// operations (Vasora_Model_coding.h) work on it. Names are the system's vocabulary. Arrays are
// indexed by compartment, 1 to 6; entry 0 is unused so that the code reads like the equations.

#include <array>
#include <cstdint>
#include <string>

#include "model/Palette.h"

namespace vasora::model {

enum Compartment : int { SysA = 1, SysV = 2, RghtV = 3, PulmA = 4, PulmV = 5, LeftV = 6 };
constexpr int kCompartments = 6;

using PerCompartment = std::array<double, kCompartments + 1>;

/// The effectors of the arterial baroreceptor reflex (model/Reflex.h), in the options window's
/// order.
enum class Effector : int { HeartRate, Contractility, Resistance, VenousTone };
constexpr int kEffectors = 4;

/// The reflex as a run option: whether it is in force, and which effectors it moves. Kept with
/// the state like the intervals, never in a parameter-set file.
struct ReflexOptions {
    bool on = false;
    std::array<bool, kEffectors> effector{true, true, true, true};
    bool operator==(const ReflexOptions&) const = default;
};

/// The reflex's own part of the state. While it acts, the ordinary fields it moves (HrtRate,
/// Resis[SysA], Emax_RV, Emax_LV, Vunstrs[SysV], in the order of ReflexField) hold the
/// effective values; `base` holds the learner's values beneath them and `applied` what the
/// reflex last wrote, so that a value found different was changed by someone else.
enum ReflexField : int { RfHeartRate, RfResisSysA, RfEmaxRV, RfEmaxLV, RfVunstrsSysV };
constexpr int kReflexFields = 5;
struct ReflexState {
    ReflexOptions options;
    /// Whether base and applied hold the values of the fields; false until the reflex first
    /// acts after being switched on, a Restart or a parameter set.
    bool tracking = false;
    /// Each effector's state: a fraction of the base value (heart rate, contractility,
    /// resistance), ml of unstressed volume (venous tone).
    std::array<double, kEffectors> effect{};
    std::array<double, kReflexFields> base{}, applied{};
    /// The sensed pressure's sigmoid argument and its exponential at the last step, carried
    /// from step to step (Reflex.cpp); `exactSteps` counts the steps since it was last
    /// computed exactly.
    double lastU = 0, lastExp = 1;
    int exactSteps = -1;
};

struct ModelState {
    // Per compartment.
    PerCompartment Comp{};     ///< ml/mmHg; the ventricles' diastolic compliance
    PerCompartment Resis{};    ///< mmHg/(ml/min), path out of the compartment; 3 and 6 hold 0
    PerCompartment Press{};    ///< mmHg; the ventricles' end-diastolic pressure
    PerCompartment Flow{};     ///< ml/min out of the compartment; Flow[LeftV] is cardiac output
    PerCompartment Vstrs{};    ///< ml above the unstressed volume; the ventricles' EDV
    PerCompartment Vunstrs{};  ///< ml

    // Heart and ventricles.
    double Emax_RV = 0, Emax_LV = 0;          ///< mmHg/ml, end-systolic elastance
    double Vo_RV = 0, Vo_LV = 0;              ///< ml, volume intercept of the ESPVR
    double HrtRate = 0, HrtRate_LV = 0;       ///< beats/min
    std::int16_t AVBlock = 0;                 ///< 1: the ventricles beat at their own rates
    double FillTime_RV = 0, FillTime_LV = 0;  ///< min of diastole per beat
    double Kfill_RV = 0, Kfill_LV = 0;        ///< 1/min
    double K2_RV = 0, K2_LV = 0;              ///< completeness of filling, 0..1
    double ESV_RV = 0, ESV_LV = 0;            ///< ml
    double SV_RV = 0, SV_LV = 0;              ///< ml

    // Whole circulation.
    double Pit = 0;           ///< mmHg, added to the pressures of compartments 3 to 6
    double CompPericard = 0;  ///< ml/mmHg; kept in files and shown, not used by the run
    double VunstrsTotal = 0, VstrsTotal = 0, VtotalBody = 0;  ///< ml
    double Pmcf = 0;                          ///< mmHg, VstrsTotal / sum of compliances
    double SystP = 0, DiasP = 0, PulseP = 0;  ///< mmHg
    double DiasFrac = 0;                      ///< share of the pulse pressure below the mean
    double PulseFactor = 0;
    double VolAdded = 0;  ///< ml transfused minus bled since the normal set
    double VolError = 0;  ///< ml of volume bookkeeping error
    double FlowMax = 0, FlowMin = 0;
    std::array<double, 7> FlowList{};

    // Run control.
    double IterInterval = 0;   ///< min, Euler step
    double PrintInterval = 0;  ///< min of model time per run call
    double RunUntil = 0;       ///< min
    double ModelTime = 0;      ///< min
    std::int32_t StepCount = 0;
    std::int16_t AutoRunOn = 0;
    std::int16_t NormalSaved = 0;
    std::int16_t IntervalsCustom = 0;
    double IterIntervalEntry = 0, PrintIntervalEntry = 0;
    std::int16_t ParamSetLoaded = 0;

    // Volume-change ramps and vein collapse.
    std::int16_t VolChangeKind =
        0;                       ///< 1 blood volume, 0 unstressed volume is the ramp started last
    double VolChangeTarget = 0;  ///< ml, signed
    double VolChangeRate = 0;    ///< ml/min into the systemic veins
    double VolChangeDone = 0;    ///< ml
    double VunstrsChangeTarget = 0;  ///< ml, signed
    double VunstrsChangeRate = 0;    ///< ml/min; positive moves unstressed into stressed volume
    double VunstrsChangeDone = 0;    ///< ml
    double CollapseRate = 0;         ///< ml/min: 200 collapsing, -100 refilling, else 0
    double CollapseVol = 0;          ///< ml moved by collapse and not yet returned

    // Normal reference, the denominators of every "% of normal".
    PerCompartment Comp_N{}, Flow_N{}, Press_N{}, Resis_N{}, Vstrs_N{};
    double VstrsTotal_N = 0, VunstrsTotal_N = 0, VtotalBody_N = 0;
    double Emax_RV_N = 0, Emax_LV_N = 0, Vo_RV_N = 0, Vo_LV_N = 0;
    double ESV_RV_N = 0, ESV_LV_N = 0, SV_RV_N = 0, SV_LV_N = 0;
    double HrtRate_N = 0, HrtRate_LV_N = 0, K2_RV_N = 0, K2_LV_N = 0;
    double Pmcf_N = 0, SystP_N = 0, DiasP_N = 0;

    // Strip-chart trace, in the drawing surface's own units.
    std::int16_t PlotSpan = 0;  ///< thousandths of a minute across one sweep
    std::int16_t PlotHidden = 0;
    std::int16_t PlotX = 0, PlotY_CO = 0, PlotY_VR = 0, PlotY_Psa = 0, PlotY_Base = 0;

    Rgb ColorChanged{};
    /// Which parameter labels show ColorChanged: bit parameterMark(label) (Quantities.h). Kept
    /// with the state so that a step back restores the marks with the values they belong to.
    std::uint32_t ChangedMarks = 0;
    std::array<std::string, 16> SegName{};
    /// 1 while the model window shows units, 0 while it shows percent of normal.
    std::int16_t ShowUnits = 0;

    /// Whether the last step of the last run call clamped a ventricle's end-systolic volume to
    /// its volume, i.e. the ventricle ejected nothing.
    bool ClampedESV_RV = false, ClampedESV_LV = false;

    /// The arterial baroreceptor reflex, off unless the run option puts it in force.
    ReflexState Reflex{};
};

/// The process-wide model state.
ModelState& state();

/// Sets the whole state back to zero, as at program start.
void resetState();

}  // namespace vasora::model
