#pragma once

// The one reader of numbers that a learner types or a file holds. Numbers use the period as the
// decimal sign whatever the desktop's locale: optional blanks, an optional sign, digits with at
// most one period, an optional exponent. A comma, a letter, "inf", "nan", a hexadecimal form or
// a value too large for a double are not numbers.

#include <optional>
#include <string_view>

namespace vasora {

struct NumberText {
    enum Kind { Blank, Number, NotNumber } kind = Blank;
    double value = 0;  ///< set when kind is Number
};

/// Reads `text` as a whole: a text of blanks only is Blank, a number with anything after it is
/// NotNumber.
NumberText readNumber(std::string_view text);

/// The number `text` holds, or nothing when it is blank or not a number.
std::optional<double> parseDecimal(std::string_view text);

/// The refusal every dialog shows for a text that is not a number.
inline constexpr std::string_view kNotNumericMessage = "Please enter a numeric value";

}  // namespace vasora
