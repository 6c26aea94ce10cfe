#include "model/Quantities.h"

#include <deque>
#include <string>
#include <vector>

#include "model/Derived.h"

namespace vasora::model {

namespace {

// Accessors by compartment, so that each row of the table names plain functions.
template <int I> double flow(const ModelState& s) { return s.Flow[I]; }
template <int I> double flowN(const ModelState& s) { return s.Flow_N[I]; }
template <int I> double press(const ModelState& s) { return s.Press[I]; }
template <int I> double pressN(const ModelState& s) { return s.Press_N[I]; }
template <int I> double vstrs(const ModelState& s) { return s.Vstrs[I]; }
template <int I> double vstrsN(const ModelState& s) { return s.Vstrs_N[I]; }
template <int I> double vunstrs(const ModelState& s) { return s.Vunstrs[I]; }
template <int I> double whole(const ModelState& s) { return compartmentVolume(s, I); }
template <int I> double comp(const ModelState& s) {
    // A ventricle shows the compliance in effect at its volume; a vessel its own.
    if constexpr (I == RghtV || I == LeftV)
        return effectiveCompliance(s, I);
    else
        return s.Comp[I];
}
template <int I> double compN(const ModelState& s) { return s.Comp_N[I]; }
template <int I> double* compRef(ModelState& s) { return &s.Comp[I]; }
template <int I> double resis(const ModelState& s) { return s.Resis[I]; }
template <int I> double resisN(const ModelState& s) { return s.Resis_N[I]; }
template <int I> double* resisRef(ModelState& s) { return &s.Resis[I]; }

constexpr std::string_view kPct = "  ##0 ";

// Names and descriptions made up of parts live as long as the program; a deque never moves
// what it holds, so the views into it stay valid.
std::string_view keep(std::string_view a, std::string_view b, std::string_view c) {
    static auto* texts = new std::deque<std::string>;
    texts->push_back(std::string(a) + std::string(b) + std::string(c));
    return texts->back();
}
using PV = PercentView;

// One compartment's box: flow, pressure, stressed volume, compliance and, for the vessels, the
// resistance of the path out; the layout sheet adds the unstressed and whole volumes.
template <int I>
void addCompartment(std::vector<Quantity>& t, std::string_view sfx, std::string_view name) {
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
    t.push_back({flowLabel, flowLabel, what("Flow out"), "ml/min", I, Role::Flow, &flow<I>,
                 &flowN<I>, false, "####0.", PV::Percent, kPct, " ####0.", Change::None, nullptr,
                 false, false, ventricle ? 203 : 304});
    t.push_back({pressLabel, pressLabel,
                 what(ventricle ? "End-diastolic pressure" : "Pressure"), "mmHg", I,
                 Role::Pressure, &press<I>, &pressN<I>, false, "###0.0", pressView, kPct,
                 " ####0.0", Change::None, nullptr, false, false, ventricle ? 204 : 301});
    t.push_back({volLabel, volLabel,
                 what(ventricle ? "End-diastolic (stressed) volume" : "Stressed volume"), "ml",
                 I, Role::Volume, &vstrs<I>, &vstrsN<I>, false, "####0.", volView, kPct,
                 " ###0.0", Change::None, nullptr, false, false, 303});
    t.push_back({compLabel, compLabel,
                 what(ventricle ? "Diastolic compliance" : "Compliance"), "ml/mmHg", I,
                 Role::Compliance, &comp<I>, &compN<I>, true, ventricle ? "####0.0" : "###0.0",
                 PV::Percent, kPct, " ###0.00", Change::Parameter, &compRef<I>, ventricle,
                 false, ventricle ? 206 : 302});
    if (!ventricle) {
        const std::string_view resisLabel = lbl("Resis");
        t.push_back({resisLabel, resisLabel, what("Resistance of the path out"),
                     "mmHg/(ml/min)", I, Role::Resistance, &resis<I>, &resisN<I>, true,
                     "###0.0", PV::Percent, kPct, "#0.00000", Change::Parameter, &resisRef<I>,
                     false, false, 304});
    }
}

template <int I>
void addSheetVolumes(std::vector<Quantity>& t, std::string_view sfx, std::string_view name) {
    const std::string_view unstressed = keep("lblVunstrs", sfx, {});
    const std::string_view wholeLabel = keep("lblVtotal", sfx, {});
    const std::string_view d1 = keep("Unstressed volume of the ", name, {});
    const std::string_view d2 = keep("Whole volume of the ", name, {});
    t.push_back({{}, unstressed, d1, "ml", I, Role::Unstressed, &vunstrs<I>, nullptr, false, {},
                 PV::Untouched, {}, " ###0.0", Change::None, nullptr, false, false, 303});
    t.push_back({{}, wholeLabel, d2, "ml", I, Role::WholeVolume, &whole<I>, nullptr, false, {},
                 PV::Untouched, {}, " ###0.0", Change::None, nullptr, false, false, 303});
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

std::vector<Quantity> buildTable() {
    std::vector<Quantity> t;
    t.reserve(80);
    t.push_back({"lblTime", "lblTime", "Model time at the start of the last display interval",
                 "min", 0, Role::Other, &displayedTime, nullptr, false, "#0.000", PV::Units,
                 "###.000", "#0.000", Change::None, nullptr, false, false, 210});
    addCompartment<SysA>(t, "SysA", "systemic arteries");
    addCompartment<SysV>(t, "SysV", "systemic veins");
    addCompartment<RghtV>(t, "RghtV", "right ventricle");
    addCompartment<PulmA>(t, "PulmA", "pulmonary arteries");
    addCompartment<PulmV>(t, "PulmV", "pulmonary veins");
    addCompartment<LeftV>(t, "LeftV", "left ventricle");

    const Change P = Change::Parameter, N = Change::None;
    // clang-format off
    const Quantity rest[] = {
        {"lblSystP", "lblSystP", "Systolic arterial pressure", "mmHg", 0, Role::Other, &systP, &systPN, false, "####0", PV::Percent, kPct, "###0", N, nullptr, false, false, 211},
        {"lblDiasP", "lblDiasP", "Diastolic arterial pressure", "mmHg", 0, Role::Other, &diasP, &diasPN, false, "####0", PV::Percent, kPct, "###0", N, nullptr, false, false, 211},
        {"lblPra", "lblPra", "Right atrial pressure", "mmHg", 0, Role::Other, &rightAtrialPressure, nullptr, false, "##0.0#", PV::Units, {}, "##0.00", N, nullptr, false, false, 212},
        {"lblPla", "lblPla", "Left atrial pressure", "mmHg", 0, Role::Other, &leftAtrialPressure, nullptr, false, "##0.0#", PV::Units, {}, "  ####0.00", N, nullptr, false, false, 212},
        {"lblPmcf", "lblPmcf", "Mean circulatory filling pressure", "mmHg", 0, Role::Other, &pmcf, &pmcfN, false, "###0.00", PV::Percent, " ##0 ", "#0.00", N, nullptr, false, false, 305},
        {"lblHR_RV", "lblHR_RV", "Heart rate (right ventricle)", "beats/min", 0, Role::Other, &hrRV, &hrRVN, false, "####0.0", PV::Percent, kPct, "###0.0", P, &hrRVRef, false, false, 310},
        {"lblK2_RV", "lblK2_RV", "Completeness of right ventricular filling (K2)", "", 0, Role::Other, &k2RV, &k2RVN, false, "#0.0##", PV::Percent, kPct, "0.000", N, nullptr, false, false, 204},
        {"lblEDV_RV", "lblEDV_RV", "Right ventricular end-diastolic volume", "ml", 0, Role::Other, &vstrs<RghtV>, &vstrsN<RghtV>, false, "###0.0", PV::Percent, kPct, "###0.0", N, nullptr, false, false, 308},
        {"lblESV_RV", "lblESV_RV", "Right ventricular end-systolic volume", "ml", 0, Role::Other, &esvRV, &esvRVN, false, "###0.0", PV::Percent, kPct, "###0.0", N, nullptr, false, false, 203},
        {"lblSV_RV", "lblSV_RV", "Right ventricular stroke volume", "ml", 0, Role::Other, &svRV, &svRVN, false, "###0.0", PV::Percent, kPct, "###0.0", N, nullptr, false, false, 203},
        {"lblEjectF_RV", "lblEjectF_RV", "Right ventricular ejection fraction", "", 0, Role::Other, &efRV, &efRVN, false, "##0.00", PV::Percent, kPct, "#0.00", N, nullptr, false, false, 311},
        {"lblEmax_RV", "lblEmax_RV", "Right ventricular contractility (Emax)", "mmHg/ml", 0, Role::Other, &emaxRV, &emaxRVN, true, "###0.0", PV::Percent, kPct, "###0.00", P, &emaxRVRef, false, false, 309},
        {"lblHR_LV", "lblHR_LV", "Heart rate (left ventricle)", "beats/min", 0, Role::Other, &hrLV, &hrLVN, false, "####0.0", PV::Percent, kPct, "###0.0", P, &hrLVRef, false, true, 312},
        {"lblK2_LV", "lblK2_LV", "Completeness of left ventricular filling (K2)", "", 0, Role::Other, &k2LV, &k2LVN, false, "#0.0##", PV::Percent, kPct, "0.000", N, nullptr, false, false, 204},
        {"lblEDV_LV", "lblEDV_LV", "Left ventricular end-diastolic volume", "ml", 0, Role::Other, &vstrs<LeftV>, &vstrsN<LeftV>, false, "###0.0", PV::Percent, kPct, "###0.0", N, nullptr, false, false, 308},
        {"lblESV_LV", "lblESV_LV", "Left ventricular end-systolic volume", "ml", 0, Role::Other, &esvLV, &esvLVN, false, "###0.0", PV::Percent, kPct, "###0.0", N, nullptr, false, false, 203},
        {"lblSV_LV", "lblSV_LV", "Left ventricular stroke volume", "ml", 0, Role::Other, &svLV, &svLVN, false, "###0.0", PV::Percent, kPct, "###0.0", N, nullptr, false, false, 203},
        {"lblEjectF_LV", "lblEjectF_LV", "Left ventricular ejection fraction", "", 0, Role::Other, &efLV, &efLVN, false, "##0.00", PV::Percent, kPct, "#0.00", N, nullptr, false, false, 311},
        {"lblEmax_LV", "lblEmax_LV", "Left ventricular contractility (Emax)", "mmHg/ml", 0, Role::Other, &emaxLV, &emaxLVN, true, "###0.0", PV::Percent, kPct, "###0.00", P, &emaxLVRef, false, false, 309},
        {"lblVo_LV", "lblVo_LV", "Left ventricular volume intercept (Vo)", "ml", 0, Role::Other, &voLV, &voLVN, false, "###0.0", PV::Units, {}, "#0.0", P, &voLVRef, false, false, 203},
        {"lblVstrsTotal", "lblVtotStrs", "Total stressed volume", "ml", 0, Role::Other, &vstrsTotal, &vstrsTotalN, false, "####0.", PV::Percent, kPct, "####0.0", N, nullptr, false, false, 303},
        {"lblVunstrsTotal", "lblVunstrsTotal", "Total unstressed volume", "ml", 0, Role::Other, &vunstrsTotal, &vunstrsTotalN, false, "####0.", PV::Percent, kPct, "####0.0", Change::UnstressedVolume, nullptr, false, false, 315},
        {"lblVtotalBody", "lblVtotalBody", "Total blood volume", "ml", 0, Role::Other, &totalBloodVolume, &vtotalBodyN, false, "####0.", PV::Percent, kPct, "####0.0", Change::BloodVolume, nullptr, false, false, 314},
        {"lblPit", "lblPit", "Intrathoracic pressure", "mmHg", 0, Role::Other, &pit, nullptr, false, "###0.0", PV::Untouched, {}, " ##0.0", Change::Pressure, &pitRef, false, false, 313},
        {"lblVolError", {}, "Volume bookkeeping error of the model", "ml", 0, Role::Other, &volError, nullptr, false, "0.0#############", PV::Untouched, {}, {}, N, nullptr, false, false, 213},
        // Only the layout sheet shows these.
        {{}, "lblVo_RV", "Right ventricular volume intercept (Vo)", "ml", 0, Role::Other, &voRV, nullptr, false, {}, PV::Untouched, {}, "#0.0", N, nullptr, false, false, 203},
        {{}, "lblCompPericard", "Pericardial compliance", "ml/mmHg", 0, Role::Other, &compPericard, nullptr, false, {}, PV::Untouched, {}, "###0.0", N, nullptr, false, false, 201},
    };
    // clang-format on
    t.insert(t.end(), std::begin(rest), std::end(rest));
    addSheetVolumes<SysA>(t, "SysA", "systemic arteries");
    addSheetVolumes<SysV>(t, "SysV", "systemic veins");
    addSheetVolumes<RghtV>(t, "RghtV", "right ventricle");
    addSheetVolumes<PulmA>(t, "PulmA", "pulmonary arteries");
    addSheetVolumes<PulmV>(t, "PulmV", "pulmonary veins");
    addSheetVolumes<LeftV>(t, "LeftV", "left ventricle");
    return t;
}

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
            {"DEATH IMMINENT", 221}, {"HURRY", 221},       {"CONGRATULATIONS", 222},
            {"RUPTURED", 223},       {"Patient Hypo", 224}, {"Death Soon", 224},
            {"GASP", 225},           {"Right EDV", 226},    {"Left EDV", 226},
            {"No RIGHT", 227},       {"No LEFT", 227},      {"Veins COLLAPSING", 228},
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
