#pragma once

// Saving and retrieving parameter sets: what the options window's two buttons, Restart and
// vasora-cli do with a file and the model. The file's layout is ParameterSetFormat, what its
// values may be ParameterSetChecks; messages go to the engine's view.
//
// A file is read and judged as a whole before anything is applied: a refused file, an empty
// one and one larger than any parameter set leave the model as it was. A save writes only what
// a retrieval accepts again, and replaces the old file atomically (core/AtomicFile.h).

#include <string>
#include <string_view>

#include "options/ParameterSetChecks.h"
#include "options/ParameterSetFormat.h"

namespace vasora::options {

/// ParamSetFile: the full path of the parameter set in use; empty until one is saved or
/// retrieved.
std::string& paramSetFile();

/// The chosen name followed by ".txt", unless it ends in ".txt" already (in any case).
std::string withTxtExtension(const std::string& path);

/// A parameter set is 75 short lines, a few kilobytes; a larger file is refused unread.
inline constexpr std::size_t kMostParameterSetBytes = 1 << 20;

/// The save of cmdExport once a name has been chosen: the ".txt" rule, the clock reset (the
/// next run stores a new normal reference) and the file written. The model window and the
/// layout sheet show the new ParamSetFile. A file that cannot be written, or a state that a
/// retrieval would refuse, is reported and changes nothing. Returns the path written, or an
/// empty string.
std::string saveParameterSet(const std::string& chosenPath);

/// The retrieval of cmdImport once a file has been chosen: the file read, checked and applied,
/// ParamSetLoaded set, AVBlock and lblHR_LV brought in line, the strip chart cleared, one run
/// and a display. A refused file is reported and changes nothing. Returns whether it loaded.
bool retrieveParameterSet(const std::string& path);

/// Restart's re-reading of the retrieved set, without asking for a file again. When the set
/// can no longer be read, the normal set is loaded and run instead.
void reloadParameterSet();

}  // namespace vasora::options
