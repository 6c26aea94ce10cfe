#include "options/RunOptions.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "model/Vasora_Model_coding.h"

namespace vasora::options {

using namespace vasora::model;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The interval in force when the box holds no number: the message, then the current value is
// checked as if it had been typed.
double valueOrCurrent(std::string_view text, double current) {
    if (auto v = parseDecimal(text)) return *v;
    view().message(kNotNumeric);
    return current;
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    std::string_view t = text.substr(b, e - b);
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    // The grammar is checked here rather than left to from_chars, which would also take
    // "inf", "nan" and hexadecimal forms.
    std::size_t i = 0, digits = 0;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        const std::size_t expStart = j;
        while (j < t.size() && isDigit(t[j])) ++j;
        if (j == expStart) return std::nullopt;
        i = j;
    }
    if (i != t.size()) return std::nullopt;
    // from_chars does not take a leading '+', and the sign is applied after the conversion.
    double v = 0;
    const std::string s(t);
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

bool tickIntervals(std::string_view iterationText, std::string_view printText) {
    ModelState& s = state();
    s.IntervalsCustom = 1;

    const double iter = valueOrCurrent(iterationText, s.IterInterval);
    if (iter < kMinIterInterval) {
        view().message(kIterTooSmall);
        return false;
    }
    if (iter > kMaxIterInterval) {
        view().message(kIterTooLarge);
        return false;
    }
    s.IterInterval = iter;
    s.IterIntervalEntry = iter;

    const double print = valueOrCurrent(printText, s.PrintInterval);
    if (print < s.IterInterval) {
        view().message(kPrintBelowIter);
        return false;
    }
    if (print > kMaxPrintInterval) {
        view().message(kPrintTooLarge);
        return false;
    }
    s.PrintInterval = print;
    s.PrintIntervalEntry = print;
    return true;
}

void untickIntervals() {
    ModelState& s = state();
    s.IntervalsCustom = 0;
    s.IterInterval = 0.001;
    s.PrintInterval = 0.1;
    RunModel();
    StoreNormals();
    DisplayValues();
}

void setAVBlock(bool ticked) {
    state().AVBlock = ticked ? 1 : 0;
    view().setBackColor(Window::CVModel, "lblHR_LV",
                        ticked ? palette::LightYellow : palette::BrightWhite);
}

void useOriginalParameters() {
    view().plotClear();
    view().showWindow(Window::PlotData);
    SetNormalParameters();
    RunModel();
    StoreNormals();
    DisplayValues();
    // The two windows have always been worded differently.
    view().setCaption(Window::CVModel, "txtCurrentF", "Orignal Parameter Set");
    view().setCaption(Window::Layout, "txtCurrentF", "Original Parameter Set");
}

void restoreIntervals() {
    ModelState& s = state();
    if (s.IntervalsCustom == 1) {
        // An entry of 0 was never accepted (the box was ticked and its first value refused);
        // an iteration interval of 0 would never let a run reach its end.
        s.IterInterval = s.IterIntervalEntry > 0 ? s.IterIntervalEntry : 0.001;
        s.PrintInterval = s.PrintIntervalEntry > 0 ? s.PrintIntervalEntry : 0.1;
    } else {
        s.IterInterval = 0.001;
        s.PrintInterval = 0.1;
    }
}

}  // namespace vasora::options
