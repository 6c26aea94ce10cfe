// The two displays: the model window's labels in units, with the flow-balance notice and the
// repetition of AutoRun, and the same labels as percent of the stored normal.

#include <cmath>

#include "model/Derived.h"
#include "model/EngineInternal.h"
#include "model/Quantities.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"

namespace vasora::model {

namespace engine {
void arterialPressures(ModelState& s, double diasFracPerBeat) {
    s.PulseFactor = 1.0;
    s.PulseP = s.SV_LV * s.PulseFactor / s.Comp[SysA];
    s.DiasFrac = diasFracPerBeat * s.HrtRate_LV + 0.16;
    s.DiasP = s.Press[SysA] - s.DiasFrac * s.PulseP;
    s.SystP = s.DiasP + s.PulseP;
}
}  // namespace engine

using namespace engine;

namespace {

// A ventricle past the stiffening volume shows its effective compliance in red, bold; below it
// the diastolic compliance in black.
void stiffnessLook(const ModelState& s, const Quantity& q) {
    const bool stiff = ventricleIsStiff(s, q.compartment);
    fore(q.label, stiff ? kRgbRed : palette::Black);
    out().setBold(CV, q.label, stiff);
}

// A label whose value the baroreceptor reflex is moving shows it in blue, bold, and says so
// with the learner's own value beneath; the look of a changed parameter is its background.
void reflexLook(const ModelState& s, const Quantity& q) {
    if (!isReflexLabel(q.label)) return;
    double base = 0;
    const bool moved = reflexMovesLabel(s, q.label, &base);
    fore(q.label, moved ? palette::LightBlue : palette::Black);
    out().setBold(CV, q.label, moved);
    const std::string note =
        moved ? "Moved by the baroreceptor reflex; your value: " + formatNumber(base, q.format)
              : std::string();
    out().setNote(CV, q.label, note);
}

// One label of the units display.
void showUnitsLabel(const ModelState& s, const Quantity& q) {
    const double v = q.value(s);
    caption(q.label, q.unitsViewPercent ? 100 * v / q.normal(s) : v, q.format);
    if (q.stiffens) stiffnessLook(s, q);
    reflexLook(s, q);
}

// One label of the percent display.
void showPercentLabel(const ModelState& s, const Quantity& q) {
    const double v = q.value(s);
    switch (q.percentView) {
        case PercentView::Untouched:
            return;
        case PercentView::Units:
            caption(q.label, v, q.percentFormat.empty() ? q.format : q.percentFormat);
            return;
        case PercentView::PercentOrNa:
        case PercentView::PercentOrLeZero:
            // A value below zero, or a normal of zero, has no meaningful percent.
            if (!(v >= 0 && q.normal(s) > 0)) {
                caption(q.label, q.percentView == PercentView::PercentOrNa ? "na" : "<=0");
                return;
            }
            break;
        case PercentView::Percent:
            break;
    }
    caption(q.label, 100 * v / q.normal(s), q.percentFormat);
    if (q.stiffens) stiffnessLook(s, q);
}

// Calls `write` for every quantity of the model window in table order, each compartment's name
// label first with `name`.
template <class Name, class Write>
void forEachLabel(Name name, Write write) {
    int shown = 0;
    for (const Quantity& q : quantities()) {
        if (q.label.empty()) continue;
        if (q.compartment != 0 && q.compartment != shown) {
            shown = q.compartment;
            name(compartments()[static_cast<std::size_t>(shown - 1)]);
        }
        write(q);
    }
}

// One complete units display, steps 1 to 9 and the notice of step 10.
void displayOnce(ModelState& s) {
    using namespace palette;
    s.ShowUnits = 1;
    caption("lblPercent", "");
    back("lblPercent", BrightWhite);
    caption("cmdPercent", " Show % Normal");

    arterialPressures(s, kDiasFracPerBeatDisplay);
    forEachLabel([](const CompartmentInfo& c) { caption(c.nameLabel, c.nameCaption); },
                 [&s](const Quantity& q) { showUnitsLabel(s, q); });

    if (flowsAgree(s)) {
        caption("lblFlowError", "");
        back("lblFlowError", BrightWhite);
    } else {
        caption("lblFlowError", "Click Run (Flows not equal)");
        back("lblFlowError", LightYellow);
        fore("lblFlowError", LightRed);
    }
    out().valuesShown();
}

}  // namespace

void DisplayValues() {
    ModelState& s = state();
    // The repetition of AutoRun is a loop: each turn is one run followed by one whole display.
    displayOnce(s);
    for (;;) {
        if (flowsAgree(s)) return;
        if (s.ModelTime <= kAutoRunTimeLimit && s.AutoRunOn == 1) {
            RunModel();
            // A failed run has switched AutoRun off; the display shows the state it restored.
            displayOnce(s);
            if (s.AutoRunOn == 1) out().showWindow(Window::PlotData);
            // The windows may repaint now, with this repetition's values on the labels.
            out().autoRunStep();
            continue;
        }
        s.AutoRunOn = 0;
        out().setChecked(CV, "chkAutoRun", false);
        return;
    }
}

void redisplayState() {
    ModelState& s = state();
    s.AutoRunOn = 0;
    out().setChecked(CV, "chkAutoRun", false);
    clearWarnings();
    postWarnings(s);
    resetTrace();
    DisplayValues();
}

void DisplayPercent() {
    ModelState& s = state();
    arterialPressures(s, kDiasFracPerBeatNormal);
    forEachLabel([](const CompartmentInfo& c) { caption(c.nameLabel, c.percentCaption); },
                 [&s](const Quantity& q) { showPercentLabel(s, q); });
    // The same state in other numbers: the diagram window redraws with the labels all the same.
    out().valuesShown();
}

void showReflexLabels() {
    const ModelState& s = state();
    for (const Quantity& q : quantities()) {
        if (q.label.empty() || !isReflexLabel(q.label)) continue;
        if (s.ShowUnits) {
            showUnitsLabel(s, q);
        } else {
            showPercentLabel(s, q);
            reflexLook(s, q);
        }
    }
}

}  // namespace vasora::model
