#include "options/ParameterSetChecks.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "model/Quantities.h"
#include "options/RunOptions.h"

namespace vasora::options {

using namespace vasora::model;

namespace {

// The ranges of the state the run carries on from. They keep out what no circulation has, and
// with it what would make the displays show hundreds of digits or the run divide by zero; the
// run itself undoes a step that goes unstable, so these need not be tight.
//
// No circulation holds a thousand mmHg anywhere (the highest arterial pressures are about 300).
constexpr double kMostPressure = 1000;
// All the blood of a body is about 5000 ml; the dialogs allow at most 7500. Twenty times that is
// no circulation, and the volumes are what every pressure is computed from.
constexpr double kMostVolume = 100000;
// A resting cardiac output is 5500 ml/min and an athlete's highest about 40000; a flow between
// two compartments far from equilibrium passes briefly much more. The run recomputes the flows
// at its first step, so the file's flows are only shown until then.
constexpr double kMostFlow = 1e6;
// The dialogs' ramps move at most about 2500 ml/min; the lab book ramps a change over a minute.
constexpr double kMostRate = 100000;
// The run sets the collapse rate to 200, -100 or 0 at every step.
constexpr double kMostCollapseRate = 1000;
// The ventricles' resistances are in no equation (the normal set holds 0); a hundred times the
// largest resistance of a vessel keeps them a sane number to show.
constexpr double kMostVentricleResistance = 2;
// The pericardium is kept and shown, never run; a thousand ml/mmHg is no pericardium.
constexpr double kMostPericardialCompliance = 1000;
// The run stops after 17 minutes, so no later clock can keep it going; this keeps the time a
// number the model window can show.
constexpr double kMostClock = 10000;
// The intrathoracic-pressure dialog accepts -15 to 15 mmHg (workbench::changePit).
constexpr double kMostPit = 15;

// A set saved after a change is the normal of the next changes: its first run stores it as the
// reference that "% of normal" is taken of. The dialogs' percentages therefore multiply over a
// chain of changes, each saved and retrieved. A line may hold this many changes to the dialog's
// limit, from the normal set, on top of each other.
constexpr int kChainedChanges = 3;

// The parameters the dialogs change in percent of normal, with their values in the normal set
// (SetNormalParameters; the tests hold this table to it).
struct PercentParameter {
    int line;
    std::string_view label;
    double normal;
};
constexpr PercentParameter kPercentParameters[] = {
    {5, "lblCompSysA", 2.0},         {6, "lblResisSysA", 0.01582}, {11, "lblCompSysV", 104.0},
    {12, "lblResisSysV", 0.0010027}, {17, "lblCompRghtV", 21.0},   {23, "lblCompPulmA", 11.0},
    {24, "lblResisPulmA", 0.001001}, {29, "lblCompPulmV", 14.0},   {30, "lblResisPulmV", 0.0002442},
    {35, "lblCompLeftV", 13.0},      {53, "lblEmax_RV", 0.3784},   {54, "lblEmax_LV", 3.52},
};

using Bounds = std::array<std::optional<LineBound>, kParameterSetLines + 1>;

std::string_view unitOf(std::string_view label) {
    const Quantity* q = quantityByLabel(label);
    return q ? q->unit : std::string_view();
}

// A parameter the dialogs set in its own unit: their limits are the file's.
LineBound dialogBound(std::string_view label) {
    const ChangeLimits& l = parameterByLabel(label)->limits;
    return {l.lower, l.upper, unitOf(label), LineBound::Dialog};
}

LineBound chainBound(const PercentParameter& p) {
    const ChangeLimits& l = parameterByLabel(p.label)->limits;
    // The chain's products round differently from the power, in the last digits.
    constexpr double kRounding = 1e-9;
    return {p.normal * std::pow(l.lower / 100, kChainedChanges) * (1 - kRounding),
            p.normal * std::pow(l.upper / 100, kChainedChanges) * (1 + kRounding), unitOf(p.label),
            LineBound::DialogChain};
}

LineBound circulation(double lower, double upper, std::string_view unit) {
    return {lower, upper, unit, LineBound::Circulation};
}

// Lines 1 to 36: per compartment its pressure, flow, stressed and unstressed volume (the
// state), and its compliance and resistance (the parameters).
void addCompartments(Bounds& b) {
    for (int i = 1; i <= kCompartments; ++i) {
        const int base = (i - 1) * 6;
        b[base + 1] = circulation(-kMostPressure, kMostPressure, "mmHg");
        b[base + 2] = circulation(-kMostFlow, kMostFlow, "ml/min");
        // A stressed volume falls below zero while the veins collapse.
        b[base + 3] = circulation(-kMostVolume, kMostVolume, "ml");
        b[base + 4] = circulation(0, kMostVolume, "ml");
        if (i == RghtV || i == LeftV)
            b[base + 6] = circulation(0, kMostVentricleResistance, "mmHg/(ml/min)");
    }
    for (const PercentParameter& p : kPercentParameters) b[p.line] = chainBound(p);
}

// Lines 44 to 56: the heart and the whole circulation.
void addHeart(Bounds& b) {
    b[44] = circulation(0, kMostPericardialCompliance, "ml/mmHg");
    b[45] = LineBound{-kMostPit, kMostPit, unitOf("lblPit"), LineBound::Dialog};
    b[46] = dialogBound("lblHR_RV");
    b[47] = circulation(0, 1, {});  // completeness of filling, a fraction
    b[48] = dialogBound("lblHR_LV");
    b[49] = circulation(0, 1, {});
    b[50] = LineBound{0, 1, {}, LineBound::Flag};
    b[51] = circulation(-kMostPressure, kMostPressure, unitOf("lblSystP"));
    b[52] = circulation(-kMostPressure, kMostPressure, unitOf("lblDiasP"));
    // The right ventricle's Vo has no dialog; it is the same quantity as the left one's.
    b[55] = dialogBound("lblVo_LV");
    b[56] = dialogBound("lblVo_LV");
}

// Lines 57 to 75: the volume ramps, the totals, the intervals, the clock and the strip chart.
void addRampsAndRun(Bounds& b) {
    for (int line : {57, 58, 60, 62, 65, 67})
        b[line] = circulation(-kMostVolume, kMostVolume, "ml");
    for (int line : {59, 61}) b[line] = circulation(-kMostRate, kMostRate, "ml/min");
    b[63] = circulation(-kMostCollapseRate, kMostCollapseRate, "ml/min");
    b[64] = circulation(0, kMostVolume, "ml");
    b[66] = circulation(0, kMostVolume, "ml");
    b[68] = LineBound{kMinIterInterval, kMaxIterInterval, "min", LineBound::Run};
    b[69] = LineBound{kMinIterInterval, kMaxPrintInterval, "min", LineBound::Run};
    b[70] = LineBound{0, kMostClock, "min", LineBound::Run};
    b[71] = LineBound{0, kMostClock, "min", LineBound::Run};
    b[72] = LineBound{0, 1, {}, LineBound::Flag};
    b[73] = LineBound{0, std::numeric_limits<std::int32_t>::max(), {}, LineBound::Run};
    // The strip chart divides by its span.
    b[74] = LineBound{1, std::numeric_limits<std::int16_t>::max(), {}, LineBound::Run};
    b[75] = LineBound{0, 1, {}, LineBound::Flag};
}

const Bounds& bounds() {
    static const Bounds table = [] {
        Bounds b{};
        addCompartments(b);
        addHeart(b);
        addRampsAndRun(b);
        return b;
    }();
    return table;
}

std::string boundText(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7g", v);
    return buf;
}

std::string outOfBound(int line, double v, const LineBound& b) {
    const std::string unit = b.unit.empty() ? std::string() : " " + std::string(b.unit);
    const std::string head = lineName(line) + " is " + shortestText(v) + unit;
    if (b.origin == LineBound::Flag) return head + ", but it can only be 0 or 1";
    std::string why = head + ", outside the " + boundText(b.lower) + " to " + boundText(b.upper) +
                      unit + " that ";
    switch (b.origin) {
        case LineBound::Dialog:
            return why + "the change dialogs allow";
        case LineBound::DialogChain:
            return why + "changes in the dialogs can reach";
        case LineBound::Run:
            return why + "the model can run with";
        default:
            return why + "a circulation can have";
    }
}

ReadResult checkLines(const ModelState& s, int lines) {
    for (int line = 1; line <= lines && line <= kParameterSetLines; ++line) {
        const std::optional<LineBound>& b = bounds()[static_cast<std::size_t>(line)];
        const std::optional<double> v = lineValue(s, line);
        if (!b || !v) continue;
        if (!(*v >= b->lower && *v <= b->upper)) return {false, line, outOfBound(line, *v, *b)};
    }
    return {true, lines, {}};
}

}  // namespace

std::optional<LineBound> lineBound(int line) {
    if (line < 1 || line > kParameterSetLines) return std::nullopt;
    return bounds()[static_cast<std::size_t>(line)];
}

ReadResult checkParameterSet(const ModelState& s, int lines) {
    if (ReadResult r = checkLines(s, lines); !r.ok) return r;
    // A short file keeps the model's own values beyond its lines; those must agree with it.
    double compliance = 0;
    for (int i = 1; i <= kCompartments; ++i) compliance += s.Comp[static_cast<std::size_t>(i)];
    if (!(compliance > 0))
        return {false, 5,
                "the compliances (lines 5 to 35) add up to " + shortestText(compliance) +
                    ", and the model divides by their sum"};
    if (lines >= 68 && s.PrintInterval < s.IterInterval)
        return {false, 69,
                lineName(69) + " is " + shortestText(s.PrintInterval) +
                    " min, shorter than the iteration interval of line 68 (" +
                    shortestText(s.IterInterval) + " min)"};
    return {true, lines, {}};
}

ReadResult readParameterSet(std::string_view text, ModelState& target) {
    // A copy takes the values; the target is only replaced once every line has passed.
    ModelState next = target;
    const ReadResult parsed = parseParameterSet(text, next);
    if (!parsed.ok) {
        // The first fault in file order is named: a value out of bounds before the line that
        // could not be read.
        if (ReadResult earlier = checkLines(next, parsed.line - 1); !earlier.ok) return earlier;
        return parsed;
    }
    if (ReadResult checked = checkParameterSet(next, parsed.line); !checked.ok) return checked;
    target = next;
    return parsed;
}

}  // namespace vasora::options
