#include "options/RunOptions.h"

#include <array>
#include <cmath>
#include <string>

#include "core/NumberParse.h"
#include "model/Derived.h"
#include "model/Quantities.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"

namespace vasora::options {

using namespace vasora::model;

namespace {

// The interval in force when the box holds no number: the message, then the current value is
// checked as if it had been typed.
double valueOrCurrent(std::string_view text, double current) {
    if (auto v = parseDecimal(text)) return *v;
    view().message(kNotNumeric);
    return current;
}

}  // namespace

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
    setDefaultIntervals(s);
    RunModel();
    StoreNormals();
    DisplayValues();
}

void setAVBlock(bool ticked) {
    state().AVBlock = ticked ? 1 : 0;
    state().ChangedMarks &= ~parameterMark("lblHR_LV");
    showParameterMark("lblHR_LV");
    showChangeableLabels();
}

void setReflex(const ReflexOptions& o) {
    setReflexOptions(state(), o);
    showReflexLabels();
}

bool parseReflexEffectors(std::string_view list, ReflexOptions& o) {
    std::array<bool, kEffectors> chosen{};
    if (list.empty()) return false;
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        bool known = false;
        for (std::size_t i = 0; i < chosen.size(); ++i)
            if (item == reflexEffectors()[i].option) chosen[i] = known = true;
        if (!known) return false;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    o.effector = chosen;
    return true;
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
        s.IterInterval = s.IterIntervalEntry > 0 ? s.IterIntervalEntry : kDefaultIterInterval;
        s.PrintInterval = s.PrintIntervalEntry > 0 ? s.PrintIntervalEntry : kDefaultPrintInterval;
    } else {
        setDefaultIntervals(s);
    }
}

}  // namespace vasora::options
