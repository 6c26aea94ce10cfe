#pragma once

// What the figures draw, worked out from the model: the states of the veins, the heart's
// pressure-volume loop, the filling time, the venous return and cardiac output curves, and,
// for authors and tests, every data figure's numbers as one table that prints as CSV.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "figures/ModelRuns.h"
#include "model/ModelState.h"

namespace vasora::figures {

// --- Veins (610, 611, 615, 616) --------------------------------------------------------------

/// The change of unstressed volume of the venoconstriction figures, ml (the lab book's
/// experiment 5), the compliance of the stiffened veins, percent of normal (experiment 3), and
/// the volume added passively, ml.
inline constexpr double kVenoconstriction = -500;
inline constexpr double kStiffVeinPercent = 50;
inline constexpr double kPassiveVolume = 500;

struct VeinState {
    double unstressed;  ///< ml
    double compliance;  ///< ml/mmHg
    double volume;      ///< ml, whole volume of the systemic veins
    double pressure;    ///< mmHg
};

struct VeinStates {
    VeinState normal;              ///< the model's normal veins
    VeinState constricted;         ///< less unstressed volume, the same volume, at once
    VeinState constrictedSettled;  ///< the model's veins once it has settled after that change
    VeinState transfused;          ///< the normal veins holding kPassiveVolume more
    VeinState stiffened;           ///< the normal veins at kStiffVeinPercent compliance
    double normalOutput;           ///< ml/min
    double settledOutput;          ///< ml/min, after the venoconstriction has settled
};
VeinStates veinStates();

struct VesselLine {
    double unstressed;  ///< ml
    double compliance;  ///< ml/mmHg
};
/// Vessel A is the model's systemic veins; vessel B is stiffer and holds less unstressed volume;
/// `pressure` is where the figure reads off their capacitance.
struct CapacitanceVessels {
    VesselLine a, b;
    double pressure;
};
CapacitanceVessels capacitanceVessels();

// --- The heart (644, 649) --------------------------------------------------------------------

struct FillingPoint {
    double rate;     ///< beats/min
    double beat;     ///< s, one whole beat
    double systole;  ///< s
    double filling;  ///< s, the model's diastolic filling time (negative: none left)
    double k2;       ///< completeness of filling at the model's Kfill
};
std::vector<FillingPoint> fillingSeries();
/// The heart rate, beats/min, at which the filling time reaches zero.
double fillingRunsOut();

/// The normal left-ventricular pressure-volume loop. Volumes are the model's, above the
/// ventricle's unstressed volume; pressures include the intrathoracic pressure, as the model
/// window shows them.
struct PvLoop {
    double edv, edp;             ///< end of diastole: the model's EDV and LV end-diastolic pressure
    double esv, esp;             ///< end of systole: ESV on the end-systolic line, at the pressure
                                 ///< the model ejects against, the mean arterial pressure
    double diastolic, systolic;  ///< arterial pressures: the aortic valve opens, the peak
    double relaxed;              ///< the diastolic curve's pressure at ESV: the mitral valve opens
    double emax, vo;             ///< the end-systolic line P = Emax (V - Vo)
    double sv;                   ///< stroke volume
    std::vector<std::pair<double, double>> diastolicCurve;  ///< (volume, pressure)

    /// The pressure during ejection, from the aortic valve opening (u = 0) to the end of
    /// systole (u = 1): a straight line between the two corners with a hump that brings its
    /// peak to the systolic pressure. Only the corners and the peak are the model's; the shape
    /// between them is drawn.
    double ejectionPressure(double u) const;
    /// Where during ejection (0 to 1) the pressure peaks, and the volume there.
    double peakFraction() const;
    double peakVolume() const { return edv - peakFraction() * sv; }

    double hump = 0;  ///< mmHg, set so that the peak is the systolic pressure
};
PvLoop pressureVolumeLoop();

// --- Venous return and cardiac output (002) --------------------------------------------------

/// The blood-volume change of the lab book's changed state, ml (experiment 4's hemorrhage).
inline constexpr double kReturnFigureChange = -1000;
/// The right atrial pressure, mmHg, where the venous return lines start.
inline constexpr double kReturnLinesFrom = -6;

struct ReturnCurves {
    /// The cardiac output curve: (right atrial pressure, cardiac output) of every settled
    /// circulation of the blood-volume series; the heart, the lungs and the arterial
    /// resistance are the same in all, so the points lie on the heart's curve.
    std::vector<std::pair<double, double>> output;
    model::ModelState normal, changed;
};
ReturnCurves returnCurves();

// --- Tables ----------------------------------------------------------------------------------

/// A data figure's numbers: named columns (units in the names), an optional text column first.
struct DataTable {
    std::string labelColumn;  ///< empty: no text column
    std::vector<std::string> columns;
    std::vector<std::string> labels;  ///< one per row when labelColumn is set
    std::vector<std::vector<double>> rows;

    /// Adds a row with its text.
    void add(std::string label, std::vector<double> row) {
        labels.push_back(std::move(label));
        rows.push_back(std::move(row));
    }
};

/// The numbers figure `number` draws, computed afresh; nullopt for a figure drawn without any.
std::optional<DataTable> figureData(int number);

/// The table as CSV: a header line, then one line per row, numbers with up to 7 significant
/// digits, text quoted when it holds a comma or a quote.
std::string toCsv(const DataTable& t);

}  // namespace vasora::figures
