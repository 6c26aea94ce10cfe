#include "workbench/ChangeHandlers.h"

#include "model/Quantities.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "workbench/ParameterChanges.h"
#include "workbench/frmChangeParam.h"
#include "workbench/frmChangePit.h"
#include "workbench/frmChangeVol.h"

namespace vasora::workbench {

using model::Change;
using model::Quantity;

namespace {

void report(const ChangeResult& r) {
    if (!r.message.empty()) ui::messageBox(QString::fromStdString(r.message));
}

// A refusal shown instead of opening the dialog; true when there was one.
bool refusedBeforeOpening(const std::string& busy) {
    if (busy.empty()) return false;
    ui::messageBox(QString::fromStdString(busy));
    return true;
}

void askParameter(const Quantity& q) {
    if (!parameterLabelEnabled(q)) return;
    auto* dialog = forms::get<frmChangeParam>(forms::frmChangeParam);
    if (!dialog) return;
    dialog->prepare(paramDialogTexts(q));
    // A typed -1 is the dialog's no-change answer and changes nothing, as Cancel does.
    if (const std::optional<double> e = dialog->ask(); e && *e != kParamNoChange)
        report(changeParameter(q, *e));
}

// The blood volume's and the unstressed volume's dialog: refused before it opens while a change
// of its kind runs, else filled by `texts` and its entry handed to `change`.
void askVolume(const std::string& busy, DialogTexts (*texts)(), ChangeResult (*change)(double)) {
    if (refusedBeforeOpening(busy)) return;
    auto* dialog = forms::get<frmChangeVol>(forms::frmChangeVol);
    if (!dialog) return;
    dialog->prepare(texts());
    if (const std::optional<double> e = dialog->ask(); e && *e != kVolNoChange) report(change(*e));
}

void askPit() {
    auto* dialog = forms::get<frmChangePit>(forms::frmChangePit);
    if (!dialog) return;
    dialog->prepare(pitDialogValue());
    if (const std::optional<double> e = dialog->ask(); e && *e != kPitNoChange)
        report(changePit(*e));
}

}  // namespace

void parameterLabelClicked(const QString& name) {
    const Quantity* q = model::quantityByLabel(name.toStdString());
    if (!q) return;
    switch (q->change) {
        case Change::Parameter:
            askParameter(*q);
            break;
        case Change::BloodVolume:
            askVolume(bloodVolumeBusyMessage(), &bloodVolumeDialogTexts, &changeBloodVolume);
            break;
        case Change::UnstressedVolume:
            askVolume(unstressedBusyMessage(), &unstressedDialogTexts, &changeUnstressedVolume);
            break;
        case Change::Pressure:
            askPit();
            break;
        case Change::None:
            break;
    }
}

}  // namespace vasora::workbench
