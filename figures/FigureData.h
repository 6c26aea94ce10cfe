#pragma once

// What the figures draw, worked out from the model: the states of the veins, the ventricles'
// pressure-volume loops, the filling time, Guyton's venous return and cardiac function curves
// (the loops and the curves come from model/Curves.h, as the live diagram window's do), and,
// for authors and tests, every data figure's numbers as one table that prints as CSV.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "figures/ModelRuns.h"
#include "model/Curves.h"
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

// --- The heart (644, 649, 653)
// --------------------------------------------------------------------

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

/// The normal circulation's pressure-volume loop of `ventricle` (LeftV or RghtV), exactly as
/// the live diagram window draws it for that state (model::pressureVolumeLoop). Its diastolic
/// relation runs from 0 to 200 ml by 5 ml, past the stiffening at 175 ml; volumes are above
/// the ventricle's unstressed volume, pressures include the intrathoracic pressure, as the
/// model window shows them.
model::PressureVolumeLoop normalLoop(int ventricle);
/// The volume, ml, at the peak of a loop's drawn ejection.
double peakVolume(const model::PressureVolumeLoop& l);

// --- Venous return and cardiac output (002) --------------------------------------------------

/// The blood-volume change of the lab book's changed state, ml (experiment 4's hemorrhage).
inline constexpr double kReturnFigureChange = -1000;

/// Guyton's diagram (model::guytonDiagram) of the normal circulation and of the circulation
/// settled after the hemorrhage, as the live diagram window draws them for those states.
struct ReturnDiagrams {
    model::ModelState normal, changed;
    model::GuytonDiagram normalDiagram, changedDiagram;
    bool changedSettled = false;
};
ReturnDiagrams returnDiagrams();

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
