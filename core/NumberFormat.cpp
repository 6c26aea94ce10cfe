#include "core/NumberFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace vasora {
namespace {

bool isPlaceholder(char c) {
    return c == '0' || c == '#' || c == '.';
}

// The exact decimal digits of |value| with `decimals` digits after the point, rounded half away
// from zero. printf would round halves to even on the exact binary value; printing extra digits
// and rounding by the first dropped one gives half away from zero instead. Forty extra digits
// are far more than a double's expansion can carry as a run of nines before the first dropped
// digit, so printf's own rounding of the last printed digit cannot reach it.
void roundedDigits(double value, int decimals, std::string& intPart, std::string& fracPart) {
    constexpr int kExtra = 40;
    // The widest finite double has 309 integer digits; patterns carry a few decimals at most.
    std::array<char, 309 + 2 + 64 + kExtra> buf{};
    const int precision = std::min(decimals, 64) + kExtra;
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                                   std::chars_format::fixed, precision);
    std::string s(buf.data(), res.ptr);
    const std::size_t point = s.find('.');
    std::string digits =
        s.substr(0, point) + s.substr(point + 1, static_cast<std::size_t>(decimals));
    const char firstDropped = s[point + 1 + static_cast<std::size_t>(decimals)];
    if (firstDropped >= '5') {
        // Add one in the last kept place, carrying leftward.
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[static_cast<std::size_t>(i)];
    }
    const std::size_t intLen = digits.size() - static_cast<std::size_t>(decimals);
    intPart = digits.substr(0, intLen);
    fracPart = digits.substr(intLen);
}

}  // namespace

std::string formatNumber(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return "--";

    // The pattern is literal text, one run of placeholders, literal text.
    std::size_t first = 0;
    while (first < pattern.size() && !isPlaceholder(pattern[first])) ++first;
    std::size_t last = first;
    while (last < pattern.size() && isPlaceholder(pattern[last])) ++last;
    const std::string_view prefix = pattern.substr(0, first);
    const std::string_view number = pattern.substr(first, last - first);
    const std::string_view suffix = pattern.substr(last);

    const std::size_t point = number.find('.');
    const std::string_view intPattern = number.substr(0, point);
    const std::string_view fracPattern =
        point == std::string_view::npos ? std::string_view{} : number.substr(point + 1);

    int minInt = 0;
    for (char c : intPattern)
        if (c == '0') ++minInt;
    int maxDec = 0, minDec = 0;
    for (char c : fracPattern) {
        if (c == '0' || c == '#') ++maxDec;
        if (c == '0') minDec = maxDec;  // decimals up to the last '0' are always shown
    }

    maxDec = std::min(maxDec, 64);
    minDec = std::min(minDec, maxDec);
    std::string intDigits, fracDigits;
    roundedDigits(value, maxDec, intDigits, fracDigits);

    while (static_cast<int>(fracDigits.size()) > minDec && fracDigits.back() == '0')
        fracDigits.pop_back();
    std::size_t lead = 0;
    while (lead < intDigits.size() && intDigits[lead] == '0') ++lead;
    intDigits.erase(0, lead);
    while (static_cast<int>(intDigits.size()) < minInt) intDigits.insert(intDigits.begin(), '0');

    // A value that rounds to zero shows no minus sign: "-0.0" would tell the learner nothing.
    bool nonZero = false;
    for (char c : intDigits + fracDigits)
        if (c != '0') nonZero = true;

    std::string out(prefix);
    if (value < 0 && nonZero) out += '-';
    out += intDigits;
    if (point != std::string_view::npos) out += '.';
    out += fracDigits;
    out += suffix;
    return out;
}

}  // namespace vasora
