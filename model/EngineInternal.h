#pragma once

// What the parts of the engine share among themselves: the installed view and the short forms
// through which they write into the model window. Not for use outside model/.

#include <array>
#include <string_view>

#include "core/NumberFormat.h"
#include "model/ModelState.h"
#include "model/ModelView.h"

namespace vasora::model::engine {

ModelView& out();

constexpr Window CV = Window::CVModel;

inline void caption(std::string_view label, std::string_view text) {
    out().setCaption(CV, label, text);
}
inline void caption(std::string_view label, double value, std::string_view pattern) {
    out().setCaption(CV, label, formatNumber(value, pattern));
}
inline void back(std::string_view label, Rgb c) {
    out().setBackColor(CV, label, c);
}
inline void fore(std::string_view label, Rgb c) {
    out().setForeColor(CV, label, c);
}

// The share of the pulse pressure below the mean grows with the heart rate (diastole
// shortens). The units display uses the rounded slope, the stored normal and the percent view
// the finer one.
inline constexpr double kDiasFracPerBeatDisplay = 0.0024;
inline constexpr double kDiasFracPerBeatNormal = 0.0023611;

/// Systolic and diastolic arterial pressure from the mean pressure and the stroke volume: the
/// pulse pressure is the stroke volume stretching the arterial compliance.
void arterialPressures(ModelState& s, double diasFracPerBeat);

/// The warnings, tested in order after the closing computations of a run.
void postWarnings(const ModelState& s);
/// Empties the warning captions and whitens the first three, as every run call does first.
void clearWarnings();

/// What a step may hold still, for runs that hold a part of the circulation (the curves of
/// Guyton's diagram, checked against the engine's own steps): compartments whose volume is
/// kept, and whether the arteries receive what the veins return (the heart replaced by a pump).
struct StepClamp {
    std::array<bool, kCompartments + 1> holdVolume{};
    bool pumpVenousReturn = false;
};

/// The heart rates and filling of the run about to start, as every run call sets them first.
void prepareHeartRates(ModelState& s);
/// One Euler step of the model: pressures, flows, vein collapse, volumes, ramps. Returns the
/// step's length in minutes. `clamp` nullptr is the model's own step.
double eulerStep(ModelState& s, const StepClamp* clamp);

/// The strip chart: the sweep position of the model time, the sweep's axis captions, the
/// points of one step. Returns false when the model time is past the last sweep.
bool traceStep(ModelState& s, ModelView& v, int width, int height);
/// Forgets which sweep's captions are shown (a new view, a new state).
void resetTrace();

}  // namespace vasora::model::engine
