#pragma once

// The exchange of values between the lab book's tables and the model. An output cell copies the
// caption of one label of the model window, so the lab book records exactly what the learner
// sees; an input cell changes one parameter with the lab book's own rules and runs the model; a
// plot cell goes into the chart window's text boxes. Plain C++: everything is read and written
// through the model state and the engine's view, so it is tested without windows.
//
// Cells are addressed by the row (P3, two digits) and column (P4) of their tag code. Rows 1 to
// 6 are the compartments in the lab book's own order, which differs from the model's in rows 5
// and 6: row 5 is the left ventricle, row 6 the pulmonary veins.

#include <cstdint>
#include <string>
#include <string_view>

namespace vasora::labbook {

/// The text of output cell `code` (a kind-2 tag): the caption of the model window's label for
/// its row and column, unchanged. Empty, with a message, for a wrong code, row or column; empty
/// without a message for the cells the table leaves empty.
std::string Get_It(std::int32_t code);

/// Applies input cell `code` (a kind-3 tag) holding `text` to the model: sets the parameter of
/// its row and column, marks the parameter's label on the model window and the layout sheet,
/// runs the model once and, unless AutoRun is on, reminds the learner to run on to equilibrium.
/// A wrong code, row or column, a text that is no number, a value the run would divide by, and
/// the left heart rate without separate heart rates are refused with a message; nothing changes.
void Put_It(std::int32_t code, std::string_view text);

/// Why input cell `code` holding `text` cannot be applied, as Put_It would say it, the cell named
/// `cell` for the learner ("Table 3b, the cell of Systemic venous compliance"); empty when it can
/// be (and for a wrong code, row or column, which Put_It reports in its own words).
std::string inputCellProblem(std::int32_t code, std::string_view text, std::string_view cell);

/// Writes `text` into text box `index` (0 to 10) of column `axis` (0 txtX, 1 txtY, 2 txtZ) of
/// the chart window; a text that is no number goes in as "0".
void LoadPlotCell(std::string_view text, std::int16_t index, std::int16_t axis);

/// What an output cell at (row, column) shows.
struct OutputCell {
    enum Kind { Label, Empty, RowError, ColumnError } kind = RowError;
    std::string_view label;  ///< the model window's label, for kind Label
};
OutputCell outputCell(int row, int column);

/// What an input cell at (row, column) changes.
enum class InputEffect {
    UnstressedVolume,  ///< column 3, row 15: a ramped change, ml
    Compliance,        ///< column 4, rows 1 to 6: percent of normal
    Resistance,        ///< column 5, rows 1, 2, 4, 6: percent of normal
    Emax,              ///< column 5, rows 11 and 12: percent of normal
    HeartRateRV,       ///< column 5, row 13: beats/min
    HeartRateLV,       ///< column 5, row 14: beats/min, with separate heart rates only
    BloodVolume,       ///< column 5, row 15: a ramped change over one minute, ml
    Pit,               ///< column 5, row 16: mmHg
    VoLV,              ///< column 5, row 17: ml
};
struct InputCell {
    enum Kind { Ok, RowError, ColumnError } kind = RowError;
    InputEffect effect = InputEffect::Pit;
    std::string_view label;  ///< the model window's label it changes and marks
};
InputCell inputCell(int row, int column);

/// The model's compartment index of lab book row 1 to 6, else 0.
int compartmentOfRow(int row);

/// The unstressed-volume ramp the lab book starts for a change of `x` ml: -x ml/min, or half
/// as fast for changes of 1000 ml and more.
double labBookUnstressedRate(double x);

// The messages of the exchange, as the learner reads them.
std::string tagErrorMessage(std::string_view procedure, std::int32_t code);
std::string rowErrorMessage(std::string_view procedure, int row, int column);
std::string columnErrorMessage(std::string_view procedure);
inline constexpr std::string_view kGetIt = "Get_It";
inline constexpr std::string_view kPutIt = "Put_It";
inline constexpr std::string_view kPlotLoadError = "Data Plot load error";
inline constexpr std::string_view kEquilibriumTitle = "  Warning:  Run until equilibrium!";
inline constexpr std::string_view kEquilibriumText =
    "Please click RUN MODEL or AutoRun\r\n   until flows from compartments are equal.\r\n   "
    "Click OK to continue.  ";

}  // namespace vasora::labbook
