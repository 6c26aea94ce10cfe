#include "core/NumberParse.h"

#include <charconv>
#include <cmath>

namespace vasora {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

NumberText readNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return {NumberText::Blank, 0};

    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // The whole grammar is checked first: from_chars alone would take "inf", "nan" and a
    // number followed by anything.
    std::size_t i = 0, digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return {NumberText::NotNumber, 0};
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < text.size() && isDigit(text[i])) ++i, ++expDigits;
        if (expDigits == 0) return {NumberText::NotNumber, 0};
    }
    if (i != text.size()) return {NumberText::NotNumber, 0};

    // The sign was taken off above: from_chars does not read a leading '+'.
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v))
        return {NumberText::NotNumber, 0};
    return {NumberText::Number, negative ? -v : v};
}

std::optional<double> parseDecimal(std::string_view text) {
    const NumberText n = readNumber(text);
    if (n.kind != NumberText::Number) return std::nullopt;
    return n.value;
}

}  // namespace vasora
