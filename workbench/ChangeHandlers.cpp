#include "workbench/ChangeHandlers.h"

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "workbench/ParameterChanges.h"
#include "workbench/frmChangeParam.h"
#include "workbench/frmChangePit.h"
#include "workbench/frmChangeVol.h"

namespace vasora::workbench {

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

}  // namespace

void parameterLabelClicked(const QString& name) {
    const std::string label = name.toStdString();
    if (const model::Quantity* row = model::parameterByLabel(label)) {
        if (!parameterLabelEnabled(*row)) return;
        auto* dialog = forms::get<frmChangeParam>(forms::frmChangeParam);
        if (!dialog) return;
        dialog->prepare(paramDialogTexts(*row));
        // A typed -1 is the dialog's no-change answer and changes nothing, as Cancel does.
        if (const std::optional<double> e = dialog->ask(); e && *e != kParamNoChange)
            report(changeParameter(*row, *e));
        return;
    }
    if (label == "lblVtotalBody" || label == "lblVunstrsTotal") {
        const bool blood = label == "lblVtotalBody";
        if (refusedBeforeOpening(blood ? bloodVolumeBusyMessage() : unstressedBusyMessage()))
            return;
        auto* dialog = forms::get<frmChangeVol>(forms::frmChangeVol);
        if (!dialog) return;
        dialog->prepare(blood ? bloodVolumeDialogTexts() : unstressedDialogTexts());
        if (const std::optional<double> e = dialog->ask(); e && *e != kVolNoChange)
            report(blood ? changeBloodVolume(*e) : changeUnstressedVolume(*e));
        return;
    }
    if (label == "lblPit") {
        auto* dialog = forms::get<frmChangePit>(forms::frmChangePit);
        if (!dialog) return;
        dialog->prepare(pitDialogValue());
        if (const std::optional<double> e = dialog->ask(); e && *e != kPitNoChange)
            report(changePit(*e));
    }
}

}  // namespace vasora::workbench
