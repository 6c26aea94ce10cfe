#pragma once

// Parameter-set files: the whole model state that matters for continuing a circulation, one
// value per line, 75 lines ended by CR LF, in a fixed order. Plain C++ shared by the options
// window and vasora-cli; messages go to the engine's view.
//
// A file is read and checked as a whole before anything is applied: a line that is not a
// number, a value that is not finite, or a value the run would divide by (a compliance, the
// resistance out of compartments 1, 2, 4 or 5, an Emax, a heart rate) that is zero refuses the
// file, and the model stays as it was. A file of fewer lines loads the lines it has.

#include <string>
#include <string_view>

#include "model/ModelState.h"

namespace vasora::options {

inline constexpr int kParameterSetLines = 75;

/// ParamSetFile: the full path of the parameter set in use; empty until one is saved or
/// retrieved.
std::string& paramSetFile();

/// The file text of `s`: 75 lines, CR LF, numbers as the shortest decimal text that reads back
/// as the same double, texts in double quotes, integers in plain decimal.
std::string writeParameterSet(const model::ModelState& s);

struct ReadResult {
    bool ok = false;
    /// Lines applied (on success) or the line that refused the file (on failure), from 1.
    int line = 0;
    /// Why the file was refused, naming the line.
    std::string reason;
};

/// Checks the whole text and, only when every line present is sound, applies it to `s`.
ReadResult readParameterSet(std::string_view text, model::ModelState& s);

/// The chosen name followed by ".txt", unless it ends in ".txt" already (in any case).
std::string withTxtExtension(const std::string& path);

/// Writes `text` to `path` through a temporary file in the same folder that then replaces the
/// target, so that a failure never leaves a half-written file. Returns an empty string on
/// success, else the reason.
std::string writeFileAtomically(const std::string& path, std::string_view text);

/// The save of cmdExport once a name has been chosen: the ".txt" rule, the clock reset (the
/// next run stores a new normal reference) and the file written. The model window and the
/// layout sheet show the new ParamSetFile. A file that cannot be written is reported and
/// changes nothing. Returns the path written, or an empty string.
std::string saveParameterSet(const std::string& chosenPath);

/// The retrieval of cmdImport once a file has been chosen: the file read, checked and applied,
/// ParamSetLoaded set, AVBlock and lblHR_LV brought in line, the strip chart cleared, one run
/// and a display. A refused file is reported and changes nothing. Returns whether it loaded.
bool retrieveParameterSet(const std::string& path);

/// Restart's re-reading of the retrieved set, without asking for a file again. When the set
/// can no longer be read, the normal set is loaded and run instead.
void reloadParameterSet();

}  // namespace vasora::options
