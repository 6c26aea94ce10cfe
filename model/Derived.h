#pragma once

// Values derived from the model state, one function each, for the engine, the windows, the
// change logic and the lab book alike.

#include "model/ModelState.h"

namespace vasora::model {

/// The intervals of a normal run, minutes: the Euler step and the model time one run advances.
inline constexpr double kDefaultIterInterval = 0.001;
inline constexpr double kDefaultPrintInterval = 0.1;

/// The six flows agree: the circulation is at equilibrium (within 0.3 ml/min).
bool flowsAgree(const ModelState& s);
/// AutoRun goes on while the model time is at most this many minutes.
inline constexpr double kAutoRunTimeLimit = 15;

/// Puts the default intervals in force.
void setDefaultIntervals(ModelState& s);

/// The shortened Euler step the run switches to for good when a pulmonary resistance falls below
/// normal (the lungs' time constants become too short for the normal step).
inline constexpr double kShortIterInterval = 0.0002;

/// Above this end-diastolic volume, ml, a ventricle is about four times stiffer.
inline constexpr double kStiffVentricleVolume = 175;

/// Diastolic filling time per beat, minutes, at `rate` beats/min: a beat less the systolic
/// duration, which is 0.4 s less 0.64 ms per beat/min.
double fillTime(double rate);

/// The filling time the lab book uses when it sets a heart rate (its own, shorter systole:
/// 0.53 s less 1.7 ms per beat/min). The next run recomputes it with fillTime.
double labBookFillTime(double rate);

/// Completeness of diastolic filling, 1 - exp(-Kfill x FillTime).
double fillingCompleteness(double kfill, double fillTime);

/// Right atrial pressure: the systemic venous pressure less the fall across the venous
/// resistance into the right ventricle, mmHg.
double rightAtrialPressure(const ModelState& s);
/// Left atrial pressure: the pulmonary venous pressure less the fall into the left ventricle.
double leftAtrialPressure(const ModelState& s);

/// A ventricle's diastolic pressure at `volume` ml: V / C plus the intrathoracic pressure, and
/// above the stiffening volume the stiff branch's (V - 175) / (0.33 C) on top, so that the
/// slope there is 1/C + 1/(0.33 C), about four times the slope below.
double ventricleDiastolicPressure(double volume, double compliance, double pit);

/// Whether ventricle `i` (RghtV or LeftV) is filled past the stiffening volume.
bool ventricleIsStiff(const ModelState& s, int i);
/// The ventricle's compliance in effect at its present volume, ml/mmHg: its volume over its
/// transmural pressure once it is stiff, else its diastolic compliance.
double effectiveCompliance(const ModelState& s, int i);

/// The model time a display shows: the start of the display interval just run, minutes.
double displayedTime(const ModelState& s);

/// Total blood volume, ml: unstressed plus stressed volume.
double totalBloodVolume(const ModelState& s);

/// A compartment's whole volume, ml: stressed plus unstressed.
double compartmentVolume(const ModelState& s, int i);

}  // namespace vasora::model
