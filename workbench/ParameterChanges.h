#pragma once

// The learner's changes of the model: the fifteen parameters of the change dialog, the blood
// volume and the unstressed volume (ramped by the run), and the intrathoracic pressure. Here is
// what the dialogs accept, what they refuse with which message, and what an accepted change does
// to the model; a parameter's captions, bounds and refusals are in its row of the table of
// quantities (model/Quantities.h). Plain C++ with no Qt: the dialogs, vasora-cli's --set and
// later the lab book use the same functions.

#include <string>
#include <string_view>

#include "core/NumberParse.h"
#include "model/Quantities.h"

namespace vasora::workbench {

/// The dialogs' own no-change answers: frmChangeParam's, frmChangeVol's and frmChangePit's.
constexpr double kParamNoChange = -1;
constexpr double kVolNoChange = -9999;
constexpr double kPitNoChange = -99;

// The dialogs' own messages, for a blank entry and for one that is not a number.
inline constexpr std::string_view kParamBlankMessage = "New parameter value cannot be blank";
inline constexpr std::string_view kVolBlankMessage = "Volume change cannot be BLANK";
inline constexpr std::string_view kPitBlankMessage = "New pressure value cannot be blank";

/// Whether `label` is one of the eighteen clickable parameter labels.
bool isChangeLabel(std::string_view label);

/// The captions the change dialogs show before the learner types.
struct DialogTexts {
    std::string segment, parameter, value, units, percentNormal, unit;
};
/// The parameter dialog of `q`, a Change::Parameter quantity.
DialogTexts paramDialogTexts(const model::Quantity& q);
DialogTexts bloodVolumeDialogTexts();
DialogTexts unstressedDialogTexts();
/// frmChangePit's lblValue.
std::string pitDialogValue();

/// What came of a change: applied, refused with a message, or not possible at all.
struct ChangeResult {
    /// Ignored: the label does nothing now (lblHR_LV without AV block); NoChange: the entry was
    /// the dialog's own no-change answer.
    enum Status { Applied, Refused, Ignored, NoChange } status = Ignored;
    std::string message;  ///< the message to show; empty when there is none
};

/// Gives `label` on the model window and its twin on the layout sheet the background
/// ColorChanged. Nothing clears the marking again but the normal reference being stored.
void markParameterChanged(std::string_view label);

/// lblHR_LV only opens while the ventricles beat at their own rates (AVBlock 1).
bool parameterLabelEnabled(const model::Quantity& q);

/// Checks `entry` against the bounds of `q`, a Change::Parameter quantity (upper first) and,
/// when it passes, stores it, marks the label on the model window and the layout sheet, runs
/// the model once and displays.
ChangeResult changeParameter(const model::Quantity& q, double entry);

/// The refusal shown instead of the dialog while a change of that kind is under way, or empty.
std::string bloodVolumeBusyMessage();
std::string unstressedBusyMessage();

/// The ramp rate, ml/min, of a change of `dV` ml of blood volume and of `dU` ml of unstressed
/// volume (the latter with the sign of the change of stressed volume).
double bloodVolumeRate(double dV);
double unstressedRate(double dU);

/// Starts a blood-volume change of `dV` ml (positive: transfusion, negative: hemorrhage), or
/// refuses it when a resulting volume is out of bounds.
ChangeResult changeBloodVolume(double dV);
/// Starts an unstressed-volume change of `dU` ml (positive: venodilation, negative:
/// venoconstriction), or refuses it.
ChangeResult changeUnstressedVolume(double dU);
/// Sets the intrathoracic pressure to `pit` mmHg at once, or refuses it.
ChangeResult changePit(double pit);

/// A change given as the label's name and the text the learner would type into its dialog,
/// with the dialog's checks and messages; an entry that is not a number is refused with the
/// dialog's message.
ChangeResult changeByText(std::string_view label, std::string_view text);

}  // namespace vasora::workbench
