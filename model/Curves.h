#pragma once

// Guyton's diagram and the ventricles' pressure-volume loops, worked out from the present model
// state with the engine's own equations. Both curves of the diagram are steady states of a part
// of the model drawn against the right atrial pressure the model window shows (Pra, the
// systemic venous pressure less the fall across the venous resistance):
//
// Venous return. With the flows through the systemic arteries and veins equal (Q), the
// arterial and venous pressures V/C, Psa - Psv = Q Ra and Pra = Psv - Q Rv, the systemic
// stressed volume Vs = Ca Psa + Cv Psv gives
//     Q = (Pmsf - Pra) / RVR,   Pmsf = Vs / (Ca + Cv),   RVR = Rv + Ra Ca / (Ca + Cv).
// Pmsf is the mean systemic filling pressure: the pressure the systemic arteries and veins
// would come to with the heart stopped and the lungs shut off. It is not the model window's
// Pmcf, which spreads the whole circulation's stressed volume over all six compliances. Where
// the venous pressure would fall below zero, the model's veins give up unstressed volume
// (their collapse device) until it is zero again, so below that right atrial pressure the
// curve follows Q = -Pra / Rv and keeps rising: the model has no plateau.
//
// Cardiac function. The heart and the lungs in a steady state put out Q ml/min against the
// systemic arterial pressure of the present state (the afterload held: the left ventricle's
// end-systolic volume is set by it). Walking backwards from the left ventricle, each
// compartment's pressure follows from Q: VLV = Q / HR_LV + ESV_LV, PLV from the diastolic
// pressure-volume relation, Ppv = PLV + Q Rpv / K2_LV, Ppa = Ppv + Q Rpa,
// VRV = Q / HR + Ppa / Emax_RV + Vo_RV, PRV, and Pra = PRV + Q Rv (1 / K2_RV - 1). Pra grows
// with Q; the curve is its inverse, and zero where Pra is below the value at Q = 0.
//
// At an equilibrium of the whole model both hold at once, so the curves cross at the model
// window's cardiac output and right atrial pressure.

#include <string>
#include <vector>

#include "model/Derived.h"  // ventricleDiastolicPressure
#include "model/ModelState.h"

namespace vasora::model {

struct CurvePoint {
    double x = 0;  ///< mmHg (Guyton's diagram) or ml (a loop)
    double y = 0;  ///< ml/min (Guyton's diagram) or mmHg (a loop)
};

// --- The formulas, one function each ----------------------------------------------------------

/// The mean systemic filling pressure, mmHg: the systemic stressed volume over the systemic
/// compliances.
double meanSystemicFillingPressure(const ModelState& s);
/// The resistance to venous return, mmHg/(ml/min): the venous resistance plus the arterial
/// resistance weighted by the arteries' share of the systemic compliance.
double resistanceToVenousReturn(const ModelState& s);
/// The right atrial pressure below which the model's veins collapse on the venous return curve.
double veinCollapsePressure(const ModelState& s);
/// The venous return curve's flow at right atrial pressure `pra`, ml/min (negative above Pmsf:
/// the model's veins let blood flow backwards).
double venousReturn(const ModelState& s, double pra);

/// The afterload the cardiac function curve holds: the systemic arterial pressure now, mmHg.
double cardiacFunctionAfterload(const ModelState& s);
/// The right atrial pressure at which the heart and lungs put out `flow` ml/min (flow >= 0).
double cardiacFunctionPressure(const ModelState& s, double flow);
/// The cardiac function curve's output at right atrial pressure `pra`, ml/min.
double cardiacFunction(const ModelState& s, double pra);

struct Crossing {
    bool found = false;  ///< false when the heart can put out nothing the veins return
    double pra = 0, flow = 0;
};
/// Where the two curves cross.
Crossing curvesCrossing(const ModelState& s);

// --- What the diagram window draws -----------------------------------------------------------

struct GuytonDiagram {
    double pmsf = 0, rvr = 0, collapsePra = 0, afterload = 0;
    double praFrom = 0, praTo = 0;  ///< mmHg, the sampled range
    std::vector<CurvePoint> venousReturn, cardiacFunction;
    Crossing crossing;
    CurvePoint operating;  ///< (Pra, cardiac output) the model window shows now
};
/// Both curves at `points` right atrial pressures over a range that holds the crossing, the
/// operating point and Pmsf.
GuytonDiagram guytonDiagram(const ModelState& s, int points = 200);

/// A ventricle's pressure-volume loop from the present state. A mean-flow model has no pressure
/// wave within a beat: only the corners are the model's. A: end of filling (EDV, EDP). B: the
/// outflow valve opens at the arteries' diastolic pressure (the pulmonary artery's mean
/// pressure for the right ventricle, which the model gives no pulse). Ejection reaches the
/// systolic pressure and ends at C on the end-systolic line, at the pressure the ventricle
/// ejects against (ESV). D: the inflow valve opens where relaxation meets the diastolic
/// relation at ESV. Filling runs along that relation back to A.
struct PressureVolumeLoop {
    int ventricle = LeftV;
    double edv = 0, edp = 0, esv = 0, esp = 0;  ///< ml, mmHg
    double opening = 0, systolic = 0;           ///< mmHg: outflow valve opens, peak
    double relaxed = 0;                         ///< mmHg: diastolic relation at ESV
    double emax = 0, vo = 0, sv = 0;            ///< mmHg/ml, ml, ml
    double strokeWork = 0;                      ///< mmHg x ml, the area of the loop
    double hump = 0;                  ///< mmHg, lifts the ejection's peak to the systolic pressure
    std::vector<CurvePoint> outline;  ///< (volume, pressure), closed A..A
    std::vector<CurvePoint> diastolicRelation;  ///< (volume, pressure), 0 to beyond EDV
    std::vector<CurvePoint> systolicRelation;   ///< the end-systolic line, (Vo, 0) to beyond C

    /// The pressure during ejection, u from 0 (valve opens) to 1 (end of systole): a straight
    /// line between the corners with a sine hump whose peak is the systolic pressure. The shape
    /// between the corners is drawn, not computed by the model.
    double ejectionPressure(double u) const;
    /// Where during ejection (0 to 1) the pressure peaks.
    double peakFraction() const;
};
PressureVolumeLoop pressureVolumeLoop(const ModelState& s, int ventricle);

/// Millijoules of one beat's stroke work of `mmHgMl`.
double strokeWorkMillijoules(double mmHgMl);

struct DiagramData {
    GuytonDiagram guyton;
    PressureVolumeLoop right, left;
};
DiagramData diagramData(const ModelState& s, int points = 200);

/// The curves and loops as CSV: one block per series (curve, loop, relation), each line
/// "series,x,y" with the units in the header.
std::string diagramCsv(const DiagramData& d);

// --- The engine's own check of the curves ------------------------------------------------------

enum class HeldPart {
    HeartAndLungs,  ///< venous return: the heart and lungs' volumes held, a pump returns Q
    Systemic,       ///< cardiac function: the systemic arteries' and veins' volumes held
};
struct HeldRun {
    bool settled = false;
    double pra = 0, flow = 0;  ///< the right atrial pressure and the flow the run settled at
};
/// Runs the engine's own Euler steps from `s` with one part of the circulation held, the held
/// volume chosen so that the run settles at right atrial pressure `pra`; returns what it
/// settled at (the systemic venous flow for the venous return, the cardiac output for the
/// heart). The model state itself is not touched.
HeldRun heldRun(const ModelState& s, HeldPart part, double pra);

}  // namespace vasora::model
