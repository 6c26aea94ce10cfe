#pragma once

// What a parameter set may hold. Every numeric line has a range: the parameters a learner
// changes in the dialogs the range those dialogs allow, the state the run carries on from
// (volumes, pressures, flows, ramps, the clock) what a circulation and a run can have. A file
// is read and judged as a whole before anything is applied, so a refused file leaves the model
// as it was, and a save writes only what a retrieval accepts again.

#include <optional>
#include <string>
#include <string_view>

#include "model/ModelState.h"
#include "options/ParameterSetFormat.h"

namespace vasora::options {

/// The values line `line` may hold, both ends included.
struct LineBound {
    double lower = 0, upper = 0;
    std::string_view unit;  ///< as a message writes it after a value; empty for none
    enum Origin {
        Dialog,       ///< the change dialogs allow it
        DialogChain,  ///< a few dialog changes in a row, each saved and retrieved, reach it
        Circulation,  ///< a circulation can have it
        Run,          ///< the model can run with it
        Flag,         ///< 0 or 1
    } origin = Circulation;
};

/// The bound of line `line` (1 to 75); nothing for the text lines 37 to 43.
std::optional<LineBound> lineBound(int line);

/// Checks lines 1 to `lines` of `s` against their bounds, then the values that must agree with
/// each other (the compliances' sum, the display interval against the iteration interval).
/// Fails naming the first line out of bounds and its value.
ReadResult checkParameterSet(const model::ModelState& s, int lines);

/// Reads and checks the whole text and, only when it holds at least one line and every line
/// present is sound, applies it to `s`. A file of fewer lines loads the lines it has and
/// leaves the others as they were.
ReadResult readParameterSet(std::string_view text, model::ModelState& s);

}  // namespace vasora::options
