#include "options/OptionsForms.h"

#include "options/ParameterSetFile.h"
#include "options/frmOptions.h"
#include "shell/Forms.h"
#include "shell/Navigation.h"
#include "workbench/CVModelActions.h"

namespace vasora::options {

namespace {
frmOptions* optionsWindow() {
    return qobject_cast<frmOptions*>(forms::existing(forms::frmOptions));
}
}  // namespace

void registerOptionsForms() {
    forms::registerForm(forms::frmOptions, [] { return new frmOptions; });
    shell::hideOnReturnToMainMenu(forms::frmOptions);
    paramSetFile().clear();
    workbench::setRestartHooks({
        [] {
            // A window never opened has its box unticked.
            frmOptions* w = optionsWindow();
            return w && w->avBlockChecked();
        },
        [] {
            const bool hadSet = !paramSetFile().empty();
            reloadParameterSet();
            if (frmOptions* w = optionsWindow(); w && hadSet && model::state().ParamSetLoaded == 1)
                w->showRetrieved();
        },
        [] {
            if (frmOptions* w = optionsWindow()) w->showAVBlockOfState();
        },
    });
}

}  // namespace vasora::options
