#pragma once

// The few relations the vessel and venous-return figures teach, written once. They hold for
// the model's compartments as the run computes them (pressure = stressed volume / compliance)
// and for the made-up vessels the concept figures compare with the veins.

#include "model/ModelState.h"

namespace vasora::figures {

/// A vessel's pressure, mmHg, when it holds `volume` ml in all: the stressed part, the volume
/// above `unstressed`, over the compliance. Below its unstressed volume a vessel is not
/// stretched and its pressure is zero.
double vesselPressure(double volume, double unstressed, double compliance);

/// The whole volume, ml, a vessel holds at `pressure` mmHg: its capacitance at that pressure.
double vesselVolume(double pressure, double unstressed, double compliance);

/// The mean systemic filling pressure, mmHg: the systemic arteries' and veins' stressed volume
/// over their compliance. With the heart stopped and the lungs shut off the two would come to
/// this pressure. (The model window's Pmcf also counts the heart and the lungs.)
double systemicFillingPressure(const model::ModelState& s);

/// The resistance to venous return, mmHg/(ml/min): the venous resistance plus the arterial
/// resistance weighted by the arteries' share of the systemic compliance.
double resistanceToVenousReturn(const model::ModelState& s);

/// The venous return, ml/min, at right atrial pressure `pra` mmHg: (Pmsf - Pra) / RVR. At a
/// steady state of the model it equals the flow through the systemic veins exactly: with the
/// arterial and venous volumes at P x C and the flows F = (Psa - Psv) / Ra and Pra = Psv - F Rv,
/// their sum gives (Ca + Cv) Pmsf = (Ca + Cv) (Pra + F Rv) + Ca Ra F.
double venousReturn(const model::ModelState& s, double pra);

}  // namespace vasora::figures
