#include "workbench/ParameterChanges.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "core/NumberFormat.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/UndoHistory.h"

namespace vasora::workbench {

using namespace vasora::model;

namespace {

// Multi-line messages are one text whose lines are joined by CR LF.
constexpr std::string_view kClickOk = "\r\n       Click OK to continue";

void runAndDisplay() {
    RunModel();
    DisplayValues();
}

ChangeResult refused(std::string message) {
    return {ChangeResult::Refused, std::move(message)};
}

// A ramped volume change: the fields of the state it runs on, the kind it sets as the one
// started last (ModelState::VolChangeKind) and the label it marks.
struct Ramp {
    double ModelState::*target;
    double ModelState::*done;
    double ModelState::*rate;
    std::int16_t kind;
    std::string_view label;
};
constexpr Ramp kBloodVolumeRamp{&ModelState::VolChangeTarget, &ModelState::VolChangeDone,
                                &ModelState::VolChangeRate, 1, "lblVtotalBody"};
constexpr Ramp kUnstressedRamp{&ModelState::VunstrsChangeTarget, &ModelState::VunstrsChangeDone,
                               &ModelState::VunstrsChangeRate, 0, "lblVunstrsTotal"};

// A typed entry as its dialog reads it: the number, or what the dialog says instead (a blank
// or a text that is not a number refused, the dialog's no-change answer changing nothing).
struct Entry {
    std::optional<double> value;
    ChangeResult result;
};
Entry readEntry(std::string_view text, std::string_view blankMessage, double noChange) {
    const NumberText e = readNumber(text);
    if (e.kind == NumberText::Blank) return {{}, refused(std::string(blankMessage))};
    if (e.kind == NumberText::NotNumber) return {{}, refused(std::string(kNotNumericMessage))};
    if (e.value == noChange) return {{}, {ChangeResult::NoChange, {}}};
    return {e.value, {}};
}

// Starts the ramp of `amount` ml at `rate` ml/min, which the runs carry out step by step.
ChangeResult startRamp(const Ramp& r, double amount, double rate) {
    rememberForUndo();
    ModelState& s = state();
    s.*r.target = amount;
    s.*r.done = 0;
    s.VolChangeKind = r.kind;
    markParameterChanged(r.label);
    s.*r.rate = rate;
    runAndDisplay();
    return {ChangeResult::Applied, {}};
}

}  // namespace

void markParameterChanged(std::string_view label) {
    state().ChangedMarks |= parameterMark(label);
    const Rgb c = state().ColorChanged;
    view().setBackColor(Window::CVModel, label, c);
    view().setBackColor(Window::Layout, label, c);
}

bool isChangeLabel(std::string_view label) {
    const Quantity* q = quantityByLabel(label);
    return q && q->changeable();
}

DialogTexts paramDialogTexts(const Quantity& q) {
    ModelState& s = state();
    const double value = *q.target(s);
    const ChangeLimits& l = q.limits;
    return {std::string(l.segment),
            std::string(l.parameter),
            formatNumber(value, l.valueFormat),
            std::string(q.dialogUnits()),
            formatNumber(100 * value / q.normal(s), l.percentFormat),
            std::string(l.entryUnit)};
}

namespace {

// The volume dialog's texts for a whole-body volume now and at normal.
DialogTexts volumeDialogTexts(const char* caption, double now, double normal) {
    return {" Total Body ",
            caption,
            formatNumber(now, " #####."),
            "",
            formatNumber(100 * now / normal, " ###0.0"),
            ""};
}

}  // namespace

DialogTexts bloodVolumeDialogTexts() {
    const ModelState& s = state();
    return volumeDialogTexts("Blood Volume", s.VtotalBody, s.VtotalBody_N);
}

DialogTexts unstressedDialogTexts() {
    const ModelState& s = state();
    return volumeDialogTexts("Unstressed V", s.VunstrsTotal, s.VunstrsTotal_N);
}

std::string pitDialogValue() {
    return formatNumber(state().Pit, " ##0.0");
}

bool parameterLabelEnabled(const Quantity& q) {
    return q.changeableNow(state());
}

ChangeResult changeParameter(const Quantity& q, double entry) {
    if (!parameterLabelEnabled(q)) return {};
    // Both bounds are inclusive; the upper one is tested first.
    const ChangeLimits& l = q.limits;
    if (entry > l.upper) return refused(std::string(l.tooLarge));
    if (entry < l.lower) return refused(std::string(l.tooSmall));

    rememberForUndo();
    ModelState& s = state();
    // A percentage of the normal value, not of the current one: 100 always restores normal.
    *q.target(s) = l.percentOfNormal() ? entry * q.normal(s) / 100 : entry;
    // The learner sets the base value; the baroreceptor reflex, when on, acts on top of it.
    reflexBaseChanged(s, q.target(s));
    if (q.follow) q.follow(s);
    markParameterChanged(q.label);
    runAndDisplay();
    return {ChangeResult::Applied, {}};
}

std::string bloodVolumeBusyMessage() {
    if (state().VolChangeRate == 0) return {};
    return "Do not attempt another change in blood volume\r\nuntil the first is finished.";
}

std::string unstressedBusyMessage() {
    if (state().VunstrsChangeRate == 0) return {};
    return "Do not attempt another change the untressed volume\r\nuntil the first is "
           "finished." +
           std::string(kClickOk);
}

double bloodVolumeRate(double dV) {
    const double size = std::fabs(dV);
    if (size >= 500) return 0.666 * dV;
    if (size >= 100) return 4 * dV;
    return 20 * dV;
}

double unstressedRate(double dU) {
    const double size = std::fabs(dU);
    if (size >= 500) return -0.666 * dU;
    if (size >= 100) return -3 * dU;
    return -10 * dU;
}

ChangeResult changeBloodVolume(double dV) {
    if (std::string busy = bloodVolumeBusyMessage(); !busy.empty()) return refused(busy);
    ModelState& s = state();
    // The tests run in this order and the first failing one speaks; the bounds are inclusive.
    std::string why;
    if (s.VstrsTotal + dV < 249)
        why = "Warning: This hemorrhage is too large.\r\nMinimum total stressed volume 250 ml.";
    else if (s.VstrsTotal + dV > 3801)
        why =
            "Warning: This transfusion too large.\r\nMax reasonable Total Stressed Volume is "
            "3800 ml.";
    else if (s.VtotalBody + dV > 7501)
        why =
            "A total blood volume greater than 7500 ml is dangerous.\r\nUse a smaller "
            "transfusion.";
    if (!why.empty()) {
        s.VolChangeTarget = 0;
        return refused(why + std::string(kClickOk));
    }

    // The run moves the volume into the systemic veins step by step until the target is done.
    return startRamp(kBloodVolumeRamp, dV, bloodVolumeRate(dV));
}

ChangeResult changeUnstressedVolume(double dU) {
    if (std::string busy = unstressedBusyMessage(); !busy.empty()) return refused(busy);
    ModelState& s = state();
    std::string why;
    if (s.VunstrsTotal + dU < 2199)
        why =
            "Venoconstriction of unstressed volume to < 1400 ml unreasonable\r\nEnter a less "
            "negative volume";
    else if (s.VunstrsTotal + dU > 4601)
        why =
            "Venodilation of unstressed volume to > 4600 ml too much\r\nEnter a smaller "
            "expansion.";
    else if (s.VstrsTotal - dU < 275)
        why = "Total stressed volume < 275 ml is too small.\r\nEnter a smaller venodilation.";
    else if (s.VstrsTotal - dU > 3801)
        why =
            "Total stressed volume > 3800 ml is unreasonable\r\nEnter a smaller "
            "venoconstriction";
    if (!why.empty()) return refused(why + std::string(kClickOk));

    // Unstressed volume moves into (or out of) the stressed volume of the systemic veins; the
    // total stays the same.
    return startRamp(kUnstressedRamp, dU, unstressedRate(dU));
}

ChangeResult changePit(double pit) {
    if (pit > 15)
        return refused("This value is dangerous.\r\nPlease enter a value <= 15 mmHg " +
                       std::string(kClickOk));
    if (pit < -15)
        return refused("This value is dangerous.\r\n Please enter a value >= -15 mm Hg" +
                       std::string(kClickOk));
    rememberForUndo();
    markParameterChanged("lblPit");
    state().Pit = pit;
    runAndDisplay();
    return {ChangeResult::Applied, {}};
}

ChangeResult changeByText(std::string_view label, std::string_view text) {
    const Quantity* q = quantityByLabel(label);
    if (!q) return {};
    // The volume dialogs are refused before they open while a change of their kind runs.
    switch (q->change) {
        case Change::Parameter: {
            if (!parameterLabelEnabled(*q)) return {};
            const Entry e = readEntry(text, kParamBlankMessage, kParamNoChange);
            return e.value ? changeParameter(*q, *e.value) : e.result;
        }
        case Change::BloodVolume: {
            if (std::string busy = bloodVolumeBusyMessage(); !busy.empty()) return refused(busy);
            const Entry e = readEntry(text, kVolBlankMessage, kVolNoChange);
            return e.value ? changeBloodVolume(*e.value) : e.result;
        }
        case Change::UnstressedVolume: {
            if (std::string busy = unstressedBusyMessage(); !busy.empty()) return refused(busy);
            const Entry e = readEntry(text, kVolBlankMessage, kVolNoChange);
            return e.value ? changeUnstressedVolume(*e.value) : e.result;
        }
        case Change::Pressure: {
            const Entry e = readEntry(text, kPitBlankMessage, kPitNoChange);
            return e.value ? changePit(*e.value) : e.result;
        }
        case Change::None:
            break;
    }
    return {};
}

}  // namespace vasora::workbench
