#pragma once

// The layout of a parameter-set file: the whole model state that matters for continuing a
// circulation, one value per line, 75 lines ended by CR LF, in a fixed order; numbers as
// decimal text, the seven segment names in double quotes, the flags and counts as whole
// numbers. Plain C++; what the values may be is ParameterSetChecks' business, what a save or a
// retrieval does to the model is ParameterSetFile's.

#include <optional>
#include <string>
#include <string_view>

#include "model/ModelState.h"

namespace vasora::options {

inline constexpr int kParameterSetLines = 75;

/// The file text of `s`: 75 lines, CR LF, numbers as the shortest decimal text that reads back
/// as the same double, texts in double quotes, integers in plain decimal.
std::string writeParameterSet(const model::ModelState& s);

struct ReadResult {
    bool ok = false;
    /// Lines read (on success) or the line that refused the file (on failure), from 1; 0 when
    /// the file as a whole was refused.
    int line = 0;
    /// Why the file was refused, naming the line.
    std::string reason;
};

/// Reads the lines of `text` into `into`, line by line in file order, checking only that each
/// is the kind of value its line holds (a finite number, a whole number in the range of its
/// type, a text). A byte-order mark is skipped; a file with no line at all is refused. On
/// failure `into` holds the lines before the refused one. The values are not judged here.
ReadResult parseParameterSet(std::string_view text, model::ModelState& into);

/// "line 46 (heart rate)": how a message names the line `line` (1 to 75).
std::string lineName(int line);

/// The value of line `line` of `s` as a number; nothing for the text lines 37 to 43.
std::optional<double> lineValue(const model::ModelState& s, int line);

/// The shortest decimal text that reads back as `v`, as the file writes it.
std::string shortestText(double v);

}  // namespace vasora::options
