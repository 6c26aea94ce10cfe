#pragma once

// The arterial baroreceptor reflex, a run option (off by default). It senses the systemic
// arterial pressure and holds it at the normal reference's, Press_N[SysA], through four
// effectors: the heart rate, the ventricles' contractility (Emax), the systemic arterial
// resistance and the venous tone (the systemic veins' unstressed volume). Each effector follows
// a sigmoid of the pressure's distance from the set point through a first-order lag, in the
// run's own Euler steps.
//
// The structure (a sigmoid with its own saturations per effector, then a first-order lag) is
// that of M. Ursino, "Interaction between carotid baroregulation and the pulsating heart: a
// mathematical model", Am J Physiol 275:H1733-H1747, 1998; the gains, ranges and time constants
// are his, brought to this model's units and to minutes, with the delays folded into the time
// constants (Reflex.cpp). The ranges agree with the textbook account of the nervous regulation
// of the circulation (Guyton & Hall, Textbook of Medical Physiology, the chapter on nervous
// regulation of the circulation and rapid control of arterial pressure).
//
// The learner's parameter is the base value; the reflex adds its share on top and writes the
// effective value into the ordinary field, which the engine and every display read. A field
// found changed since the reflex last wrote it was changed by the learner (a parameter dialog,
// the lab book, a ramp): its new value becomes the base (the unstressed volume's change is
// added to its base).

#include <span>
#include <string_view>

#include "model/ModelState.h"

namespace vasora::model {

/// The width of every effector's sigmoid, mmHg: the pressure scale on which the afferent
/// activity of the baroreceptors saturates, shared by all effectors as in Ursino's model (his
/// ka is 11.8 mmHg).
inline constexpr double kReflexWidth = 11;

/// One effector's constants. The effect is a fraction of the base value, or ml for the venous
/// tone. `low` is the effect's saturation at a pressure far below the set point, `high` far
/// above it; `tau` the time constant, minutes.
struct EffectorConstants {
    std::string_view name;    ///< as the options window names it
    std::string_view option;  ///< as vasora-cli's --reflex list names it
    double low, high, tau;
    bool additive;               ///< ml added to the base, not a fraction of it
    double ratio = -low / high;  ///< the sigmoid's r (Reflex.cpp), fixed by the ranges
    double perMinute = 1 / tau;  ///< the lag's rate, 1/min

    constexpr double centreRatio() const { return ratio; }
    /// The slope at the set point, per mmHg, fixed by the ranges and the width.
    constexpr double gain() const { return -low / ((1 + ratio) * kReflexWidth); }
    /// The steady effect for exp((P - Pset) / width) = `e`.
    constexpr double effectOf(double e) const { return low * (1 - e) / (1 + ratio * e); }
};

/// The four effectors, in the order of Effector.
std::span<const EffectorConstants> reflexEffectors();
const EffectorConstants& reflexEffector(Effector e);

/// The steady effect of an effector at a pressure `deltaP` mmHg from the set point: exactly 0
/// at 0, the slope `gain` there, tending to `low` below and to `high` above.
double reflexSteadyEffect(const EffectorConstants& c, double deltaP);

/// Puts the reflex options in force. An effector switched off gives its field back its base
/// value at once (the venous tone its unstressed volume back to the stressed volume); one
/// switched on starts from rest at the values the fields hold.
void setReflexOptions(ModelState& s, const ReflexOptions& o);

/// The effectors at rest, the bases to be read afresh from the fields (Restart, a parameter
/// set); the options stay.
void resetReflex(ModelState& s);

/// Every field back at its base value and the effectors at rest, the options kept: the state
/// as it would be without the reflex's share (a parameter set is saved this way).
void releaseReflex(ModelState& s);

/// The learner has just written `field`, one of the fields the reflex moves (or any other,
/// which is ignored): its value becomes the base.
void reflexBaseChanged(ModelState& s, const double* field);

/// Whether `label` is one of the model window's labels the reflex can move.
bool isReflexLabel(std::string_view label);

/// Whether the model window's label `label` shows a value the reflex moves now, and then its
/// base value in the label's own units (beats/min, or percent of normal as the label shows).
bool reflexMovesLabel(const ModelState& s, std::string_view label, double* base);

namespace engine {
/// The reflex's part of one Euler step of `dt` minutes, after the volumes: senses Press[SysA]
/// and moves the effectors. Does nothing while the reflex is off or before the normal
/// reference is stored.
void reflexStep(ModelState& s, double dt);
}  // namespace engine

}  // namespace vasora::model
