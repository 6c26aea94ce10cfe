#include "model/Quantities.h"

#include <deque>
#include <string>
#include <vector>

#include "model/Derived.h"

namespace vasora::model {

namespace {

// Accessors by compartment, so that each row of the table names plain functions.
template <int I>
double flow(const ModelState& s) {
    return s.Flow[I];
}
template <int I>
double flowN(const ModelState& s) {
    return s.Flow_N[I];
}
template <int I>
double press(const ModelState& s) {
    return s.Press[I];
}
template <int I>
double pressN(const ModelState& s) {
    return s.Press_N[I];
}
template <int I>
double vstrs(const ModelState& s) {
    return s.Vstrs[I];
}
template <int I>
double vstrsN(const ModelState& s) {
    return s.Vstrs_N[I];
}
template <int I>
double vunstrs(const ModelState& s) {
    return s.Vunstrs[I];
}
template <int I>
double whole(const ModelState& s) {
    return compartmentVolume(s, I);
}
template <int I>
double comp(const ModelState& s) {
    // A ventricle shows the compliance in effect at its volume; a vessel its own.
    if constexpr (I == RghtV || I == LeftV)
        return effectiveCompliance(s, I);
    else
        return s.Comp[I];
}
template <int I>
double compN(const ModelState& s) {
    return s.Comp_N[I];
}
template <int I>
double* compRef(ModelState& s) {
    return &s.Comp[I];
}
template <int I>
double resis(const ModelState& s) {
    return s.Resis[I];
}
template <int I>
double resisN(const ModelState& s) {
    return s.Resis_N[I];
}
template <int I>
double* resisRef(ModelState& s) {
    return &s.Resis[I];
}

constexpr std::string_view kPct = "  ##0 ";

// Names and descriptions made up of parts live as long as the program; a deque never moves
// what it holds, so the views into it stay valid.
std::string_view keep(std::string_view a, std::string_view b, std::string_view c) {
    static auto* texts = new std::deque<std::string>;
    texts->push_back(std::string(a) + std::string(b) + std::string(c));
    return texts->back();
}
using PV = PercentView;

// The parameter dialog's limits.
//
// The bounds are the system's own and are inclusive. Some lie a step past the figure their
// refusal names: a compliance is accepted from 29 % to 301 % beside "more than 30%" and "less
// than 300%", a resistance up to 501 % beside "less than 500%", Vo from -10.1 to 101 ml beside
// "> -10" and "< 100 ml". The messages round, and the figure they name is itself accepted. Keep
// the values: the information file's table of limits gives them as they are, parameter sets
// saved after a change to a bound hold them and lab books record what was run with them, and
// the parameter-set checks take a file's line bounds from them (options/ParameterSetChecks.cpp),
// so narrowing one would refuse files that load today.
constexpr std::string_view kPercentNormal = ChangeLimits::kPercentNormal;
constexpr std::string_view kCompLarge = "Value too large.  Please retry with  less than 300% ";
constexpr std::string_view kCompSmall = "Value too small.  Please retry with  more than 30%";
constexpr std::string_view kResisLarge = "Value too large.  Please retry with R less than 500% ";
constexpr std::string_view kEmaxLarge = "Value too large.  Please retry with  value < or = 1000% ";
constexpr std::string_view kRateHigh =
    "Heart rate too high. No time for filling. Use < 249.5 beat/min";

constexpr ChangeLimits complianceLimits(std::string_view segment) {
    return {.segment = segment,
            .parameter = " Compliance",
            .valueFormat = "###0.0##",
            .entryUnit = kPercentNormal,
            .percentFormat = " ###0.0",
            .lower = 29,
            .upper = 301,
            .tooLarge = kCompLarge,
            .tooSmall = kCompSmall};
}

constexpr ChangeLimits resistanceLimits(std::string_view segment, double lower,
                                        std::string_view tooSmall) {
    return {.segment = segment,
            .parameter = " Resistance",
            .valueFormat = "0.0######",
            .entryUnit = kPercentNormal,
            .percentFormat = " ###0.0",
            .lower = lower,
            .upper = 501,
            .tooLarge = kResisLarge,
            .tooSmall = tooSmall};
}

constexpr std::string_view kResisSmallSys = "Value too small.  Please retry with  more than 19%";
constexpr std::string_view kResisSmallPulm = "Value too small.  Please retry with  more than 34%";

// The rows name their fields and are packed by hand, several fields a line; clang-format would
// give every field a line of its own.
// clang-format off

// One compartment's box: flow, pressure, stressed volume, compliance and, for the vessels, the
// resistance of the path out; the layout sheet adds the unstressed and whole volumes.
template <int I>
void addCompartment(std::vector<Quantity>& t, std::string_view sfx, std::string_view name,
                    const ChangeLimits& compLimits, const ChangeLimits& resisLimits = {}) {
    const bool ventricle = I == RghtV || I == LeftV;
    auto lbl = [sfx](std::string_view kind) { return keep("lbl", kind, sfx); };
    auto what = [name](std::string_view text) { return keep(text, " of the ", name); };
    const PV pressView = I == SysA ? PV::Percent : PV::PercentOrNa;
    const PV volView = (I == SysA || I == SysV) ? PV::Percent
                       : I == RghtV             ? PV::PercentOrLeZero
                                                : PV::PercentOrNa;
    const std::string_view flowLabel = lbl("Flow");
    const std::string_view pressLabel = lbl("Press");
    const std::string_view volLabel = lbl("Vstrs");
    const std::string_view compLabel = lbl("Comp");
    t.push_back({.label = flowLabel, .layoutLabel = flowLabel, .description = what("Flow out"),
                 .unit = "ml/min", .compartment = I, .role = Role::Flow, .value = &flow<I>,
                 .normal = &flowN<I>, .format = "####0.", .percentView = PV::Percent,
                 .percentFormat = kPct, .layoutFormat = " ####0.",
                 .topic = ventricle ? 203 : 304});
    t.push_back({.label = pressLabel, .layoutLabel = pressLabel,
                 .description = what(ventricle ? "End-diastolic pressure" : "Pressure"),
                 .unit = "mmHg", .compartment = I, .role = Role::Pressure, .value = &press<I>,
                 .normal = &pressN<I>, .format = "###0.0", .percentView = pressView,
                 .percentFormat = kPct, .layoutFormat = " ####0.0",
                 .topic = ventricle ? 204 : 301});
    t.push_back({.label = volLabel, .layoutLabel = volLabel,
                 .description =
                     what(ventricle ? "End-diastolic (stressed) volume" : "Stressed volume"),
                 .unit = "ml", .compartment = I, .role = Role::Volume, .value = &vstrs<I>,
                 .normal = &vstrsN<I>, .format = "####0.", .percentView = volView,
                 .percentFormat = kPct, .layoutFormat = " ###0.0", .topic = 303});
    t.push_back({.label = compLabel, .layoutLabel = compLabel,
                 .description = what(ventricle ? "Diastolic compliance" : "Compliance"),
                 .unit = "ml/mmHg", .compartment = I, .role = Role::Compliance,
                 .value = &comp<I>, .normal = &compN<I>, .unitsViewPercent = true,
                 .format = ventricle ? "####0.0" : "###0.0", .percentView = PV::Percent,
                 .percentFormat = kPct, .layoutFormat = " ###0.00",
                 .change = Change::Parameter, .limits = compLimits, .target = &compRef<I>,
                 .stiffens = ventricle, .topic = ventricle ? 206 : 302});
    if (!ventricle) {
        const std::string_view resisLabel = lbl("Resis");
        t.push_back({.label = resisLabel, .layoutLabel = resisLabel,
                     .description = what("Resistance of the path out"),
                     .unit = "mmHg/(ml/min)", .compartment = I, .role = Role::Resistance,
                     .value = &resis<I>, .normal = &resisN<I>, .unitsViewPercent = true,
                     .format = "###0.0", .percentView = PV::Percent, .percentFormat = kPct,
                     .layoutFormat = "#0.00000", .change = Change::Parameter,
                     .limits = resisLimits, .target = &resisRef<I>, .topic = 304});
    }
}

template <int I>
void addSheetVolumes(std::vector<Quantity>& t, std::string_view sfx, std::string_view name) {
    const std::string_view unstressed = keep("lblVunstrs", sfx, {});
    const std::string_view wholeLabel = keep("lblVtotal", sfx, {});
    const std::string_view d1 = keep("Unstressed volume of the ", name, {});
    const std::string_view d2 = keep("Whole volume of the ", name, {});
    t.push_back({.layoutLabel = unstressed, .description = d1, .unit = "ml", .compartment = I,
                 .role = Role::Unstressed, .value = &vunstrs<I>, .percentView = PV::Untouched,
                 .layoutFormat = " ###0.0", .topic = 303});
    t.push_back({.layoutLabel = wholeLabel, .description = d2, .unit = "ml", .compartment = I,
                 .role = Role::WholeVolume, .value = &whole<I>, .percentView = PV::Untouched,
                 .layoutFormat = " ###0.0", .topic = 303});
}

// The heart, the arterial and atrial pressures and the totals, in display order.
double systP(const ModelState& s) { return s.SystP; }
double systPN(const ModelState& s) { return s.SystP_N; }
double diasP(const ModelState& s) { return s.DiasP; }
double diasPN(const ModelState& s) { return s.DiasP_N; }
double pmcf(const ModelState& s) { return s.Pmcf; }
double pmcfN(const ModelState& s) { return s.Pmcf_N; }
double hrRV(const ModelState& s) { return s.HrtRate; }
double hrRVN(const ModelState& s) { return s.HrtRate_N; }
double* hrRVRef(ModelState& s) { return &s.HrtRate; }
double hrLV(const ModelState& s) { return s.HrtRate_LV; }
double hrLVN(const ModelState& s) { return s.HrtRate_LV_N; }
double* hrLVRef(ModelState& s) { return &s.HrtRate_LV; }
double k2RV(const ModelState& s) { return s.K2_RV; }
double k2RVN(const ModelState& s) { return s.K2_RV_N; }
double k2LV(const ModelState& s) { return s.K2_LV; }
double k2LVN(const ModelState& s) { return s.K2_LV_N; }
double esvRV(const ModelState& s) { return s.ESV_RV; }
double esvRVN(const ModelState& s) { return s.ESV_RV_N; }
double esvLV(const ModelState& s) { return s.ESV_LV; }
double esvLVN(const ModelState& s) { return s.ESV_LV_N; }
double svRV(const ModelState& s) { return s.SV_RV; }
double svRVN(const ModelState& s) { return s.SV_RV_N; }
double svLV(const ModelState& s) { return s.SV_LV; }
double svLVN(const ModelState& s) { return s.SV_LV_N; }
// The ejection fraction is a fraction of the end-diastolic volume, not a percentage.
double efRV(const ModelState& s) { return s.SV_RV / s.Vstrs[RghtV]; }
double efRVN(const ModelState& s) { return s.SV_RV_N / s.Vstrs_N[RghtV]; }
double efLV(const ModelState& s) { return s.SV_LV / s.Vstrs[LeftV]; }
double efLVN(const ModelState& s) { return s.SV_LV_N / s.Vstrs_N[LeftV]; }
double emaxRV(const ModelState& s) { return s.Emax_RV; }
double emaxRVN(const ModelState& s) { return s.Emax_RV_N; }
double* emaxRVRef(ModelState& s) { return &s.Emax_RV; }
double emaxLV(const ModelState& s) { return s.Emax_LV; }
double emaxLVN(const ModelState& s) { return s.Emax_LV_N; }
double* emaxLVRef(ModelState& s) { return &s.Emax_LV; }
double voLV(const ModelState& s) { return s.Vo_LV; }
double voLVN(const ModelState& s) { return s.Vo_LV_N; }
double* voLVRef(ModelState& s) { return &s.Vo_LV; }
double voRV(const ModelState& s) { return s.Vo_RV; }
double vstrsTotal(const ModelState& s) { return s.VstrsTotal; }
double vstrsTotalN(const ModelState& s) { return s.VstrsTotal_N; }
double vunstrsTotal(const ModelState& s) { return s.VunstrsTotal; }
double vunstrsTotalN(const ModelState& s) { return s.VunstrsTotal_N; }
double vtotalBodyN(const ModelState& s) { return s.VtotalBody_N; }
double pit(const ModelState& s) { return s.Pit; }
double* pitRef(ModelState& s) { return &s.Pit; }
double volError(const ModelState& s) { return s.VolError; }
double compPericard(const ModelState& s) { return s.CompPericard; }

// A new heart rate sets its ventricle's filling time and filling at once. Without AV block the
// left ventricle beats at the right one's rate and fills as it does.
void rightRateFollows(ModelState& s) {
    s.FillTime_RV = fillTime(s.HrtRate);
    s.K2_RV = fillingCompleteness(s.Kfill_RV, s.FillTime_RV);
    if (s.AVBlock == 0) {
        s.HrtRate_LV = s.HrtRate;
        s.K2_LV = s.K2_RV;
    }
}
void leftRateFollows(ModelState& s) {
    s.FillTime_LV = fillTime(s.HrtRate_LV);
    s.K2_LV = fillingCompleteness(s.Kfill_LV, s.FillTime_LV);
}

void addCompartments(std::vector<Quantity>& t) {
    addCompartment<SysA>(t, "SysA", "systemic arteries", complianceLimits(" Systemic Artery "),
                         resistanceLimits(" Systemic Artery", 19, kResisSmallSys));
    addCompartment<SysV>(t, "SysV", "systemic veins", complianceLimits(" Systemic Vein "),
                         resistanceLimits(" Systemic Vein ", 19, kResisSmallSys));
    addCompartment<RghtV>(t, "RghtV", "right ventricle", complianceLimits(" Right Ventricle "));
    addCompartment<PulmA>(t, "PulmA", "pulmonary arteries", complianceLimits(" Pulmonary Artery "),
                          resistanceLimits(" Pulmonary Art.", 34, kResisSmallPulm));
    addCompartment<PulmV>(t, "PulmV", "pulmonary veins", complianceLimits(" Pulmonary Vein "),
                          resistanceLimits(" Pulmonary Vein ", 34, kResisSmallPulm));
    addCompartment<LeftV>(t, "LeftV", "left ventricle", complianceLimits(" Left Ventricle "));
}

// The rows after the compartments', in display order, then those only the layout sheet has.
constexpr Quantity kHeartAndTotals[] = {
    {.label = "lblSystP", .layoutLabel = "lblSystP", .description = "Systolic arterial pressure",
     .unit = "mmHg", .value = &systP, .normal = &systPN, .format = "####0",
     .percentView = PV::Percent, .percentFormat = kPct, .layoutFormat = "###0", .topic = 211},
    {.label = "lblDiasP", .layoutLabel = "lblDiasP", .description = "Diastolic arterial pressure",
     .unit = "mmHg", .value = &diasP, .normal = &diasPN, .format = "####0",
     .percentView = PV::Percent, .percentFormat = kPct, .layoutFormat = "###0", .topic = 211},
    {.label = "lblPra", .layoutLabel = "lblPra", .description = "Right atrial pressure",
     .unit = "mmHg", .value = &rightAtrialPressure, .format = "##0.0#", .percentView = PV::Units,
     .layoutFormat = "##0.00", .topic = 212},
    {.label = "lblPla", .layoutLabel = "lblPla", .description = "Left atrial pressure",
     .unit = "mmHg", .value = &leftAtrialPressure, .format = "##0.0#", .percentView = PV::Units,
     .layoutFormat = "  ####0.00", .topic = 212},
    {.label = "lblPmcf", .layoutLabel = "lblPmcf",
     .description = "Mean circulatory filling pressure", .unit = "mmHg", .value = &pmcf,
     .normal = &pmcfN, .format = "###0.00", .percentView = PV::Percent, .percentFormat = " ##0 ",
     .layoutFormat = "#0.00", .topic = 305},
    {.label = "lblHR_RV", .layoutLabel = "lblHR_RV", .description = "Heart rate (right ventricle)",
     .unit = "beats/min", .value = &hrRV, .normal = &hrRVN, .format = "####0.0",
     .percentView = PV::Percent, .percentFormat = kPct, .layoutFormat = "###0.0",
     .change = Change::Parameter,
     .limits = {.segment = " Right Ventricle ", .parameter = "Heart Rate",
                .valueFormat = "  ###0.0", .entryUnit = " b/min", .percentFormat = "  ###0.0",
                .lower = 1, .upper = 249.5, .tooLarge = kRateHigh,
                .tooSmall = "Value too small.  Use HrtRate > 1 beat/MINUTE"},
     .target = &hrRVRef, .follow = &rightRateFollows, .topic = 310},
    {.label = "lblK2_RV", .layoutLabel = "lblK2_RV",
     .description = "Completeness of right ventricular filling (K2)", .unit = "", .value = &k2RV,
     .normal = &k2RVN, .format = "#0.0##", .percentView = PV::Percent, .percentFormat = kPct,
     .layoutFormat = "0.000", .topic = 204},
    {.label = "lblEDV_RV", .layoutLabel = "lblEDV_RV",
     .description = "Right ventricular end-diastolic volume", .unit = "ml", .value = &vstrs<RghtV>,
     .normal = &vstrsN<RghtV>, .format = "###0.0", .percentView = PV::Percent,
     .percentFormat = kPct, .layoutFormat = "###0.0", .topic = 308},
    {.label = "lblESV_RV", .layoutLabel = "lblESV_RV",
     .description = "Right ventricular end-systolic volume", .unit = "ml", .value = &esvRV,
     .normal = &esvRVN, .format = "###0.0", .percentView = PV::Percent, .percentFormat = kPct,
     .layoutFormat = "###0.0", .topic = 203},
    {.label = "lblSV_RV", .layoutLabel = "lblSV_RV",
     .description = "Right ventricular stroke volume", .unit = "ml", .value = &svRV,
     .normal = &svRVN, .format = "###0.0", .percentView = PV::Percent, .percentFormat = kPct,
     .layoutFormat = "###0.0", .topic = 203},
    {.label = "lblEjectF_RV", .layoutLabel = "lblEjectF_RV",
     .description = "Right ventricular ejection fraction", .unit = "", .value = &efRV,
     .normal = &efRVN, .format = "##0.00", .percentView = PV::Percent, .percentFormat = kPct,
     .layoutFormat = "#0.00", .topic = 311},
    {.label = "lblEmax_RV", .layoutLabel = "lblEmax_RV",
     .description = "Right ventricular contractility (Emax)", .unit = "mmHg/ml", .value = &emaxRV,
     .normal = &emaxRVN, .unitsViewPercent = true, .format = "###0.0", .percentView = PV::Percent,
     .percentFormat = kPct, .layoutFormat = "###0.00", .change = Change::Parameter,
     .limits = {.segment = " Right Ventricle ", .parameter = "Emax", .valueFormat = " ###0.0##",
                .entryUnit = kPercentNormal, .percentFormat = " ###0.0", .lower = 1, .upper = 1000,
                .tooLarge = kEmaxLarge,
                .tooSmall = "RV Emax value too small. Retry with value > or = 1%"},
     .target = &emaxRVRef, .topic = 309},
    {.label = "lblHR_LV", .layoutLabel = "lblHR_LV", .description = "Heart rate (left ventricle)",
     .unit = "beats/min", .value = &hrLV, .normal = &hrLVN, .format = "####0.0",
     .percentView = PV::Percent, .percentFormat = kPct, .layoutFormat = "###0.0",
     .change = Change::Parameter,
     .limits = {.segment = " Left Ventricle ", .parameter = "Heart Rate", .valueFormat = "  ###0.0",
                .entryUnit = " b/min", .percentFormat = "  ###0.0", .lower = 1, .upper = 249.5,
                .tooLarge = kRateHigh,
                .tooSmall = "Heart rate too small.  Use HrtRate_LV > 1 beat per MINUTE"},
     .target = &hrLVRef, .follow = &leftRateFollows, .needsAVBlock = true, .topic = 312},
    {.label = "lblK2_LV", .layoutLabel = "lblK2_LV",
     .description = "Completeness of left ventricular filling (K2)", .unit = "", .value = &k2LV,
     .normal = &k2LVN, .format = "#0.0##", .percentView = PV::Percent, .percentFormat = kPct,
     .layoutFormat = "0.000", .topic = 204},
    {.label = "lblEDV_LV", .layoutLabel = "lblEDV_LV",
     .description = "Left ventricular end-diastolic volume", .unit = "ml", .value = &vstrs<LeftV>,
     .normal = &vstrsN<LeftV>, .format = "###0.0", .percentView = PV::Percent,
     .percentFormat = kPct, .layoutFormat = "###0.0", .topic = 308},
    {.label = "lblESV_LV", .layoutLabel = "lblESV_LV",
     .description = "Left ventricular end-systolic volume", .unit = "ml", .value = &esvLV,
     .normal = &esvLVN, .format = "###0.0", .percentView = PV::Percent, .percentFormat = kPct,
     .layoutFormat = "###0.0", .topic = 203},
    {.label = "lblSV_LV", .layoutLabel = "lblSV_LV",
     .description = "Left ventricular stroke volume", .unit = "ml", .value = &svLV,
     .normal = &svLVN, .format = "###0.0", .percentView = PV::Percent, .percentFormat = kPct,
     .layoutFormat = "###0.0", .topic = 203},
    {.label = "lblEjectF_LV", .layoutLabel = "lblEjectF_LV",
     .description = "Left ventricular ejection fraction", .unit = "", .value = &efLV,
     .normal = &efLVN, .format = "##0.00", .percentView = PV::Percent, .percentFormat = kPct,
     .layoutFormat = "#0.00", .topic = 311},
    {.label = "lblEmax_LV", .layoutLabel = "lblEmax_LV",
     .description = "Left ventricular contractility (Emax)", .unit = "mmHg/ml", .value = &emaxLV,
     .normal = &emaxLVN, .unitsViewPercent = true, .format = "###0.0", .percentView = PV::Percent,
     .percentFormat = kPct, .layoutFormat = "###0.00", .change = Change::Parameter,
     .limits = {.segment = " Left Ventricle ", .parameter = "Emax", .valueFormat = " ###0.0##",
                .entryUnit = kPercentNormal, .percentFormat = " ###0.0", .lower = 1, .upper = 1000,
                .tooLarge = kEmaxLarge,
                .tooSmall = "LV Emax too small.  Retry with value > or = 1%"},
     .target = &emaxLVRef, .topic = 309},
    {.label = "lblVo_LV", .layoutLabel = "lblVo_LV",
     .description = "Left ventricular volume intercept (Vo)", .unit = "ml", .value = &voLV,
     .normal = &voLVN, .format = "###0.0", .percentView = PV::Units, .layoutFormat = "#0.0",
     .change = Change::Parameter,
     .limits = {.segment = "Left Ventricle ", .parameter = "  Vo", .units = " ml ",
                .valueFormat = "  ###0.0#", .entryUnit = " ml ", .percentFormat = "  ###0.0",
                .lower = -10.1, .upper = 101,
                .tooLarge = "Value too large.  Please retry with  value < 100 ml ",
                .tooSmall = "Value too small.  Please retry with value > -10"},
     .target = &voLVRef, .topic = 203},
    {.label = "lblVstrsTotal", .layoutLabel = "lblVtotStrs", .description = "Total stressed volume",
     .unit = "ml", .value = &vstrsTotal, .normal = &vstrsTotalN, .format = "####0.",
     .percentView = PV::Percent, .percentFormat = kPct, .layoutFormat = "####0.0", .topic = 303},
    {.label = "lblVunstrsTotal", .layoutLabel = "lblVunstrsTotal",
     .description = "Total unstressed volume", .unit = "ml", .value = &vunstrsTotal,
     .normal = &vunstrsTotalN, .format = "####0.", .percentView = PV::Percent,
     .percentFormat = kPct, .layoutFormat = "####0.0", .change = Change::UnstressedVolume,
     .topic = 315},
    {.label = "lblVtotalBody", .layoutLabel = "lblVtotalBody", .description = "Total blood volume",
     .unit = "ml", .value = &totalBloodVolume, .normal = &vtotalBodyN, .format = "####0.",
     .percentView = PV::Percent, .percentFormat = kPct, .layoutFormat = "####0.0",
     .change = Change::BloodVolume, .topic = 314},
    {.label = "lblPit", .layoutLabel = "lblPit", .description = "Intrathoracic pressure",
     .unit = "mmHg", .value = &pit, .format = "###0.0", .percentView = PV::Untouched,
     .layoutFormat = " ##0.0", .change = Change::Pressure, .target = &pitRef, .topic = 313},
    {.label = "lblVolError", .description = "Volume bookkeeping error of the model", .unit = "ml",
     .value = &volError, .format = "0.0#############", .percentView = PV::Untouched, .topic = 213},
    // Only the layout sheet shows these.
    {.layoutLabel = "lblVo_RV", .description = "Right ventricular volume intercept (Vo)",
     .unit = "ml", .value = &voRV, .percentView = PV::Untouched, .layoutFormat = "#0.0",
     .topic = 203},
    {.layoutLabel = "lblCompPericard", .description = "Pericardial compliance", .unit = "ml/mmHg",
     .value = &compPericard, .percentView = PV::Untouched, .layoutFormat = "###0.0", .topic = 201},
};

std::vector<Quantity> buildTable() {
    std::vector<Quantity> t;
    t.reserve(80);
    t.push_back({.label = "lblTime", .layoutLabel = "lblTime",
                 .description = "Model time at the start of the last display interval",
                 .unit = "min", .value = &displayedTime, .format = "#0.000",
                 .percentView = PV::Units, .percentFormat = "###.000", .layoutFormat = "#0.000",
                 .topic = 210});
    addCompartments(t);
    t.insert(t.end(), std::begin(kHeartAndTotals), std::end(kHeartAndTotals));
    addSheetVolumes<SysA>(t, "SysA", "systemic arteries");
    addSheetVolumes<SysV>(t, "SysV", "systemic veins");
    addSheetVolumes<RghtV>(t, "RghtV", "right ventricle");
    addSheetVolumes<PulmA>(t, "PulmA", "pulmonary arteries");
    addSheetVolumes<PulmV>(t, "PulmV", "pulmonary veins");
    addSheetVolumes<LeftV>(t, "LeftV", "left ventricle");
    return t;
}
// clang-format on

const std::vector<Quantity>& table() {
    static const std::vector<Quantity> t = buildTable();
    return t;
}

constexpr CompartmentInfo kCompartmentInfo[] = {
    {SysA, "SysA", "lblSysArt", "Systemic Artery", "Systemic Artery", false, false},
    {SysV, "SysV", "lblSysVein", "Systemic Vein", "Systemic Vein", false, false},
    {RghtV, "RghtV", "lblRghtVent", "Rght Vent,End Dias", "Rght Vent,End Dias", true, true},
    {PulmA, "PulmA", "lblPulmArt", "Pulmonary Artery", "Pulmonary Artery", false, true},
    {PulmV, "PulmV", "lblPulmVein", "Pulmonary Vein", "Pulmonary Vein", false, true},
    // In the percent view the left ventricle goes by its plain name.
    {LeftV, "LeftV", "lblLeftVent", "Left Vent,End Dias", "Left Ventricle", true, true},
};

}  // namespace

std::span<const Quantity> quantities() {
    return table();
}

const Quantity* quantityByLabel(std::string_view label) {
    if (label.empty()) return nullptr;
    for (const Quantity& q : table())
        if (q.label == label) return &q;
    return nullptr;
}

const Quantity* parameterByLabel(std::string_view label) {
    const Quantity* q = quantityByLabel(label);
    return q && q->change == Change::Parameter ? q : nullptr;
}

const Quantity* quantityByLayoutLabel(std::string_view label) {
    if (label.empty()) return nullptr;
    for (const Quantity& q : table())
        if (q.layoutLabel == label) return &q;
    return nullptr;
}

const Quantity* compartmentQuantity(int i, Role role) {
    for (const Quantity& q : table())
        if (q.compartment == i && q.role == role) return &q;
    return nullptr;
}

std::span<const std::string_view> parameterLabels() {
    static const std::vector<std::string_view> labels = [] {
        std::vector<std::string_view> l;
        for (const Quantity& q : table())
            if (q.changeable() && !q.label.empty()) l.push_back(q.label);
        return l;
    }();
    return labels;
}

std::uint32_t parameterMark(std::string_view label) {
    const auto labels = parameterLabels();
    static_assert(sizeof(ModelState::ChangedMarks) * 8 >= 18, "a bit for every parameter label");
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (labels[i] == label) return std::uint32_t{1} << i;
    return 0;
}

int explainTopic(std::string_view label, std::string_view caption) {
    if (const Quantity* q = quantityByLabel(label)) return q->topic;
    if (const Quantity* q = quantityByLayoutLabel(label)) return q->topic;
    for (const CompartmentInfo& c : kCompartmentInfo)
        if (c.nameLabel == label) return 201;
    if (label == "lblFlowError") return 210;
    if (label == "lblPercent" || label == "cmdPercent") return 105;
    if (label.starts_with("lblWarning")) {
        // The warning a label shows now, by its caption; an empty warning label explains the
        // warnings as a whole.
        struct Warning {
            std::string_view start;
            int topic;
        };
        static constexpr Warning kWarnings[] = {
            {"DEATH IMMINENT", 221},
            {"HURRY", 221},
            {"CONGRATULATIONS", 222},
            {"RUPTURED", 223},
            {"Patient Hypo", 224},
            {"Death Soon", 224},
            {"GASP", 225},
            {"Right EDV", 226},
            {"Left EDV", 226},
            {"No RIGHT", 227},
            {"No LEFT", 227},
            {"Veins COLLAPSING", 228},
            {"Too much volume", 229},
        };
        for (const Warning& w : kWarnings)
            if (caption.starts_with(w.start)) return w.topic;
        if (caption.ends_with("ml collapse")) return 230;
        return 220;
    }
    return 0;
}

std::span<const CompartmentInfo> compartments() {
    return kCompartmentInfo;
}

}  // namespace vasora::model
