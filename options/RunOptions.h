#pragma once

// The run options of the options window, as plain C++ shared by the window and vasora-cli: the
// custom integration and display intervals, the separate ventricular heart rates (AV block) and
// the return to the normal parameter set. Messages go to the engine's view, which shows them in
// an OK-only message box on the desktop and collects them on the command line.

#include <string_view>

#include "core/NumberParse.h"
#include "model/ModelState.h"

namespace vasora::options {

/// chkIntervals ticked with the texts of txtIterationInterval and txtPrintInterval. Sets
/// IntervalsCustom; an accepted iteration interval becomes IterInterval and IterIntervalEntry,
/// an accepted display interval PrintInterval and PrintIntervalEntry. A rejected value shows
/// its message and ends the check, leaving that interval as it was. The model is not run.
/// Returns true when both intervals were accepted.
bool tickIntervals(std::string_view iterationText, std::string_view printText);

/// chkIntervals unticked: back to the default intervals, one run, and the state after that run
/// becomes the normal reference.
void untickIntervals();

/// chkAV_Block: sets AVBlock and gives the model window's lblHR_LV its background (light yellow
/// with the block, bright white without). The model is not run.
void setAVBlock(bool ticked);

/// chkReflex and its four effector boxes (chkReflexHR, chkReflexEmax, chkReflexResis,
/// chkReflexVenous): puts the baroreceptor reflex options in force. The model is not run; an
/// effector switched off gives its parameter back its base value at once.
void setReflex(const model::ReflexOptions& o);

/// Reads a list of effectors, "hr,emax,resis,venous" or any of them in any order, into the
/// effectors of `o` (those not named are off). False, with `o` unchanged, for an empty list, an
/// empty item or a name that is none of these.
bool parseReflexEffectors(std::string_view list, model::ReflexOptions& o);

/// chkOriginalP ticked: the strip chart cleared and shown, the normal set loaded, run, stored
/// and displayed; the model window and the layout sheet name it as the set in use.
void useOriginalParameters();

/// cmdReturn: the custom intervals back in force when they are in use, else the defaults.
void restoreIntervals();

// The messages of the interval checks.
inline constexpr std::string_view kNotNumeric = kNotNumericMessage;
inline constexpr std::string_view kIterTooSmall =
    "The Iteration Interval should be greater than 0.0001 minute";
inline constexpr std::string_view kIterTooLarge = "Model unstable if more than about 0.01 min";
inline constexpr std::string_view kPrintBelowIter =
    "The Print Interval can NOT be less than the Iteration step";
inline constexpr std::string_view kPrintTooLarge = "Please do not choose a Print Interval > 3 min";

// Bounds of the accepted intervals, in minutes, inclusive.
inline constexpr double kMinIterInterval = 0.0001;
inline constexpr double kMaxIterInterval = 0.01;
inline constexpr double kMaxPrintInterval = 3;

/// The largest iteration interval at which the normal circulation and the changes of the lab
/// book's experiments run stably, in minutes. The Euler step of the stiffest pair of
/// compartments (the pulmonary veins filling the left ventricle) swings from about 0.003 minute
/// on: the normal set then runs away within one display interval, and the run is undone.
/// Steps between this and kMaxIterInterval are accepted, as they always were, but the options
/// window says that they may fail.
inline constexpr double kStableIterInterval = 0.002;
inline constexpr std::string_view kStabilityNote =
    "Iteration intervals up to 0.002 min keep the model stable (0.001 is the normal step). "
    "From about 0.003 min the model swings and a run may fail.";

}  // namespace vasora::options
