// The arterial baroreceptor reflex: the effectors' constants, their sigmoid and lag, and the
// bookkeeping of base and effective values.
//
// The constants. Ursino (1998) describes the carotid sinus afferents as a sigmoid of pressure
// (slope (fmax - fmin) / (4 ka) = 0.96 spikes/s per mmHg at his set point, ka 11.8 mmHg), the
// sympathetic and vagal efferents as exponential and sigmoid functions of the afferent activity,
// and each effector as a logarithmic function of its efferent activity followed by a pure delay
// and a first-order lag. Differentiated at the set point and divided by the effector's basal
// value, his gains give slopes of about -2 %/mmHg for the heart rate (sympathetic and vagal
// parts of the heart period together), -1.9 %/mmHg for the peripheral resistance (splanchnic
// and extrasplanchnic beds in parallel), -0.9 %/mmHg for Emax, and +19 to +22 ml/mmHg for the
// venous unstressed volume; his delays added to his time constants give 2.7 s, 8 s, 10 s and
// 25 s. The saturations are where his curves level off, except the heart rate's rise: his
// model stops near 115 beats/min, while a bleeding adult reaches 140 and more and sympathetic
// drive alone takes an adult heart to 180-200 beats/min (Guyton & Hall), so the rise may go
// to +125 % of the base rate (162 beats/min from 72); its slope at the set point is kept.
//
// The sigmoid. Ursino's logistic form, effect = (low + high w) / (1 + w) with w = r exp(u),
// u = (P - Pset) / k, is written as low (1 - exp(u)) / (1 + r exp(u)) with r = -low / high: the
// same curve, centred where the effect is 0 at the set point, and exactly 0 there. Its slope at
// the set point is -low / ((1 + r) k), which fixes k from the gain.

#include "model/Reflex.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/Derived.h"

namespace vasora::model {

namespace {

// With the shared width of 11 mmHg the slopes at the set point are -1.83 %/mmHg (heart rate),
// -0.92 %/mmHg (Emax), -1.89 %/mmHg (resistance) and +22.3 ml/mmHg (venous unstressed volume).
// clang-format off
constexpr std::array<EffectorConstants, kEffectors> kEffectorConstants{{
    {"Heart rate",          "hr",     +1.25, -0.24, 0.045, false},
    {"Contractility",       "emax",   +0.23, -0.18, 0.167, false},
    {"Arterial resistance", "resis",  +0.46, -0.38, 0.133, false},
    {"Venous tone",         "venous", -557,  +438,  0.417, true},
}};
// clang-format on

// The effective heart rate stays below the rate that leaves no time for filling, the bound
// of the parameter dialog.
constexpr double kMostHeartRate = 249.5;

// Beyond this many widths from the set point the sigmoid has saturated; exp would overflow.
constexpr double kMostWidths = 50;

// The fields each effector moves.
struct FieldSpan {
    int first, count;
};
constexpr std::array<FieldSpan, kEffectors> kFields{{
    {RfHeartRate, 1},
    {RfEmaxRV, 2},
    {RfResisSysA, 1},
    {RfVunstrsSysV, 1},
}};

double& field(ModelState& s, int f) {
    switch (f) {
        case RfHeartRate:
            return s.HrtRate;
        case RfResisSysA:
            return s.Resis[SysA];
        case RfEmaxRV:
            return s.Emax_RV;
        case RfEmaxLV:
            return s.Emax_LV;
        default:
            return s.Vunstrs[SysV];
    }
}

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// A heart rate the reflex has written: without AV block the left ventricle follows. The
// filling time and its completeness follow at the start of the next run call, as they do for
// a rate the learner sets (the run prepares them once per call; they change slowly with the
// rate, and an exponential in every step would cost as much as the step itself).
void heartRateFollows(ModelState& s) {
    if (s.AVBlock == 0) s.HrtRate_LV = s.HrtRate;
}

// One field the reflex moves: a value found changed since the reflex wrote it was changed by
// the learner and becomes the base (the unstressed volume's change is added to its base); then
// the base plus the effector's share is written. The unstressed volume the venous tone takes
// or gives goes to or comes from the systemic veins' stressed volume, so that the blood volume
// stays as it was. A template per field, so that a step's work is straight-line code.
template <int F>
void moveField(ModelState& s, double effect) {
    ReflexState& r = s.Reflex;
    constexpr bool additive = F == RfVunstrsSysV;
    double& target = field(s, F);
    double& base = r.base[at(F)];
    double& applied = r.applied[at(F)];
    if (target != applied) {
        base = additive ? base + (target - applied) : target;
        applied = target;
    }
    double value = additive ? base + effect : base * (1 + effect);
    if constexpr (F == RfHeartRate) value = std::min(value, std::max(base, kMostHeartRate));
    if constexpr (additive) s.Vstrs[SysV] = s.Vstrs[SysV] - (value - target);
    target = value;
    applied = value;
    if constexpr (F == RfHeartRate) heartRateFollows(s);
}

void moveEffector(ModelState& s, Effector e, double effect) {
    switch (e) {
        case Effector::HeartRate:
            return moveField<RfHeartRate>(s, effect);
        case Effector::Contractility:
            moveField<RfEmaxRV>(s, effect);
            return moveField<RfEmaxLV>(s, effect);
        case Effector::Resistance:
            return moveField<RfResisSysA>(s, effect);
        case Effector::VenousTone:
            return moveField<RfVunstrsSysV>(s, effect);
    }
}

void startTracking(ModelState& s) {
    ReflexState& r = s.Reflex;
    for (int f = 0; f < kReflexFields; ++f) r.base[at(f)] = r.applied[at(f)] = field(s, f);
    r.effect.fill(0);
    r.exactSteps = -1;
    r.tracking = true;
}

// The effector back at rest with its fields at their bases.
void release(ModelState& s, Effector e) {
    ReflexState& r = s.Reflex;
    if (!r.tracking) return;
    moveEffector(s, e, 0);
    r.effect[at(static_cast<int>(e))] = 0;
}

bool acting(const ModelState& s, Effector e) {
    const ReflexState& r = s.Reflex;
    return r.options.on && r.tracking && r.options.effector[at(static_cast<int>(e))];
}

}  // namespace

std::span<const EffectorConstants> reflexEffectors() {
    return kEffectorConstants;
}

const EffectorConstants& reflexEffector(Effector e) {
    return kEffectorConstants[at(static_cast<int>(e))];
}

namespace {

// Pressures within a ten-thousandth of a mmHg of the set point are the set point: the normal
// circulation goes on settling by a few millionths of a mmHg after its normals are stored, and
// that must move nothing (no receptor senses it).
constexpr double kDeadBand = 1e-4;

double sigmoidArgument(double deltaP) {
    if (std::fabs(deltaP) < kDeadBand) return 0;
    return std::clamp(deltaP / kReflexWidth, -kMostWidths, kMostWidths);
}

double sigmoidExp(double deltaP) {
    return std::exp(sigmoidArgument(deltaP));
}

// The exponential of a step's sigmoid argument from the last step's: exp(u) = exp(u0) exp(du),
// with exp(du) from its series to the fifth power, which for |du| below 0.01 is exact to the
// last bit but one. An exponential would cost as much as the rest of the model's step; the
// pressure moves little from one step to the next. The chain is restarted from an exact
// exponential every 100 steps and after any larger move, so that no error can pile up.
double stepExp(ReflexState& r, double deltaP) {
    const double u = sigmoidArgument(deltaP);
    const double du = u - r.lastU;
    if (u == 0) {
        r.lastExp = 1;
        r.exactSteps = 0;
    } else if (r.exactSteps >= 0 && r.exactSteps < 100 && std::fabs(du) < 0.01) {
        const double g = 1 + du * (1 + du * (0.5 + du * (1.0 / 6 + du * (1.0 / 24 + du / 120))));
        r.lastExp = r.lastExp * g;
        ++r.exactSteps;
    } else {
        r.lastExp = std::exp(u);
        r.exactSteps = 0;
    }
    r.lastU = u;
    return r.lastExp;
}

}  // namespace

double reflexSteadyEffect(const EffectorConstants& c, double deltaP) {
    return c.effectOf(sigmoidExp(deltaP));
}

void setReflexOptions(ModelState& s, const ReflexOptions& o) {
    ReflexState& r = s.Reflex;
    for (int i = 0; i < kEffectors; ++i) {
        const auto e = static_cast<Effector>(i);
        const bool before = r.options.on && r.options.effector[at(i)];
        const bool after = o.on && o.effector[at(i)];
        if (before && !after) release(s, e);
    }
    const bool wasOn = r.options.on;
    r.options = o;
    // Switched on, the reflex starts from rest at the values the fields hold; an effector ticked
    // while it is on starts from rest at its field's value.
    if (!wasOn || !o.on) {
        r.tracking = false;
        r.effect.fill(0);
        return;
    }
    if (r.tracking)
        for (int i = 0; i < kEffectors; ++i) {
            const FieldSpan fs = kFields[at(i)];
            if (!o.effector[at(i)] || r.effect[at(i)] != 0) continue;
            for (int f = fs.first; f < fs.first + fs.count; ++f)
                r.base[at(f)] = r.applied[at(f)] = field(s, f);
        }
}

void resetReflex(ModelState& s) {
    s.Reflex.tracking = false;
    s.Reflex.effect.fill(0);
    s.Reflex.exactSteps = -1;
}

void releaseReflex(ModelState& s) {
    for (int i = 0; i < kEffectors; ++i) release(s, static_cast<Effector>(i));
    resetReflex(s);
}

void reflexBaseChanged(ModelState& s, const double* changed) {
    ReflexState& r = s.Reflex;
    if (!r.tracking) return;
    for (int f = 0; f < kReflexFields; ++f)
        if (&field(s, f) == changed) r.base[at(f)] = r.applied[at(f)] = *changed;
}

namespace {

// The labels that show what the reflex moves, and their base value in the label's own units.
struct Shown {
    std::string_view label;
    Effector effector;
    int field;
    double (*toLabel)(const ModelState&, double);
};
constexpr Shown kShown[] = {
    {"lblHR_RV", Effector::HeartRate, RfHeartRate, [](const ModelState&, double v) { return v; }},
    {"lblResisSysA", Effector::Resistance, RfResisSysA,
     [](const ModelState& m, double v) { return 100 * v / m.Resis_N[SysA]; }},
    {"lblEmax_RV", Effector::Contractility, RfEmaxRV,
     [](const ModelState& m, double v) { return 100 * v / m.Emax_RV_N; }},
    {"lblEmax_LV", Effector::Contractility, RfEmaxLV,
     [](const ModelState& m, double v) { return 100 * v / m.Emax_LV_N; }},
    {"lblVunstrsTotal", Effector::VenousTone, RfVunstrsSysV,
     [](const ModelState& m, double v) { return m.VunstrsTotal - m.Vunstrs[SysV] + v; }},
};
}  // namespace

bool isReflexLabel(std::string_view label) {
    for (const Shown& sh : kShown)
        if (sh.label == label) return true;
    return false;
}

bool reflexMovesLabel(const ModelState& s, std::string_view label, double* base) {
    for (const Shown& sh : kShown) {
        if (sh.label != label) continue;
        if (!acting(s, sh.effector)) return false;
        const double b = s.Reflex.base[at(sh.field)];
        const double now = s.Reflex.applied[at(sh.field)];
        // Only a share the display can show counts: at the normal set nothing has moved.
        const bool moved = reflexEffector(sh.effector).additive
                               ? std::fabs(now - b) >= 0.5
                               : std::fabs(now - b) >= 0.0005 * std::fabs(b);
        if (moved && base) *base = sh.toLabel(s, b);
        return moved;
    }
    return false;
}

namespace engine {

void reflexStep(ModelState& s, double dt) {
    ReflexState& r = s.Reflex;
    if (!r.options.on || s.NormalSaved == 0) return;
    if (!r.tracking) startTracking(s);
    // One exponential for all four effectors: they share the afferent sigmoid's width.
    const double ex = stepExp(r, s.Press[SysA] - s.Press_N[SysA]);
    for (int i = 0; i < kEffectors; ++i) {
        if (!r.options.effector[at(i)]) continue;
        const auto e = static_cast<Effector>(i);
        const EffectorConstants& c = reflexEffector(e);
        double& x = r.effect[at(i)];
        x = x + (c.effectOf(ex) - x) * (dt * c.perMinute);
        moveEffector(s, e, x);
    }
}

}  // namespace engine

}  // namespace vasora::model
