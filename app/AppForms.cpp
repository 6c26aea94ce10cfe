#include "app/AppForms.h"

#include "app/frmMain.h"
#include "documents/DocumentForms.h"
#include "documents/frmInfo.h"
#include "labbook/LabBookForms.h"
#include "options/OptionsForms.h"
#include "shell/Explain.h"
#include "shell/Forms.h"
#include "shell/WindowPlacement.h"
#include "shell/WindowRoles.h"
#include "workbench/WorkbenchForms.h"

namespace vasora {

void registerAllForms() {
    shell::installWindowRoles();
    forms::registerForm(forms::frmMain, [] {
        auto* w = new frmMain;
        shell::centreOnFirstShow(w, QSize(560, 460));
        return w;
    });
    workbench::registerWorkbenchForms();
    options::registerOptionsForms();
    documents::registerDocumentForms();
    labbook::registerLabBookForms();
    // "Explain…" on a label of any window opens the information viewer at its topic.
    shell::setExplainHandler([](int topic) {
        if (auto* info = forms::get<documents::frmInfo>(forms::frmInfo)) info->showTopic(topic);
    });
}

}  // namespace vasora
