#pragma once

#include <string_view>

// The circulation model engine: the normal parameter set, the time-stepping run, the warnings
// and the two displays. The operations take no arguments and return nothing; they work on the
// process-wide state (ModelState.h) and write into the windows through the installed view.

#include "model/ModelState.h"
#include "model/ModelView.h"

namespace vasora::model {

/// Installs the view the engine writes into (not owned); nullptr installs a view that ignores
/// everything.
void setView(ModelView* view);
ModelView& view();

void SetNormalParameters();
/// Tells the windows which parameter labels can be changed in the present state (the left
/// heart rate only with AV block).
void showChangeableLabels();
/// Colours a parameter label on the model window and on the layout sheet alike, from the marks
/// of the model state: changed (ColorChanged), else the parameter colour; on the model window a
/// label that cannot be changed now (lblHR_LV without AV block) is white.
void showParameterMark(std::string_view label);
/// The same for every parameter label, and which of them can be clicked now.
void showParameterMarks();
void StoreNormals();
void RunModel();
void DisplayValues();
void DisplayPercent();
/// Writes the labels the baroreceptor reflex can move afresh, in the view shown (units or
/// percent), with the reflex's look: after the reflex is switched, so that a label it let go
/// shows the learner's value at once.
void showReflexLabels();
/// Shows the state as it stands without running it: the warnings its last run posted, the
/// units display (with AutoRun off, so nothing runs), and the strip chart's sweep captions
/// written afresh by the next step. For a state put back by taking a change back.
void redisplayState();

/// The minute at which the strip chart's sweep that `modelTime` falls in starts (0, 3, ... 15);
/// -1 at exactly 3 minutes or for a time that is not a number, where the trace stays where it
/// was.
int stripChartSweep(double modelTime);

/// The message shown when a run would have left a value that is not finite in the state.
extern const char* const kRunFailedMessage;

/// The message shown, instead of running, when the intervals cannot make a run that ends.
extern const char* const kBadIntervalsMessage;
/// The most integration steps one run call may take.
constexpr double kMaxStepsPerRun = 1e7;

/// Beyond these magnitudes a pressure (mmHg) or a flow (ml/min) can only come from an Euler
/// step that has gone unstable; the run is then undone as if it had produced no number.
constexpr double kPressureLimit = 1e5;
constexpr double kFlowLimit = 1e7;

}  // namespace vasora::model
