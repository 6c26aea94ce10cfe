#pragma once

// The one number format of the program, used by every window that shows a value.
//
// Pattern characters: `0` a digit always shown, `#` a digit shown only when significant, `.` the
// decimal point, shown even when no decimal digit follows; every other character is copied.
// Values are rounded to the decimal placeholders, halves away from zero; trailing zero decimals
// written with `#` are dropped; an integer part wider than the pattern is shown in full; a
// negative value gets a minus sign before its first digit.
//   formatNumber(5499.78, "####0.")  == "5500."
//   formatNumber(0.1, "#0.000")      == "0.100"
//   formatNumber(0.9999972, "#0.0##") == "1.0"
//   formatNumber(-4, "###0.0")       == "-4.0"

#include <string>
#include <string_view>

namespace vasora {

/// Formats `value` with `pattern`. A value that is not finite gives "--", so no window ever
/// shows "nan" or "inf".
std::string formatNumber(double value, std::string_view pattern);

}  // namespace vasora
