#pragma once

// The two relations of a single vessel the vessel figures teach, written once. They hold for
// the model's compartments as the run computes them (pressure = stressed volume / compliance)
// and for the made-up vessels the concept figures compare with the veins. The relations of
// venous return (the mean systemic filling pressure, the resistance to venous return) are the
// model's own, in model/Curves.h.

namespace vasora::figures {

/// A vessel's pressure, mmHg, when it holds `volume` ml in all: the stressed part, the volume
/// above `unstressed`, over the compliance. Below its unstressed volume a vessel is not
/// stretched and its pressure is zero.
double vesselPressure(double volume, double unstressed, double compliance);

/// The whole volume, ml, a vessel holds at `pressure` mmHg: its capacitance at that pressure.
double vesselVolume(double pressure, double unstressed, double compliance);

}  // namespace vasora::figures
