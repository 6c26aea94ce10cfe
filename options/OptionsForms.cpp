#include "options/OptionsForms.h"

#include "app/Forms.h"
#include "options/ParameterSetFile.h"
#include "options/frmOptionHelp.h"
#include "options/frmOptions.h"
#include "workbench/CVModelActions.h"

namespace vasora::options {

namespace {
frmOptions* optionsWindow() {
    return qobject_cast<frmOptions*>(forms::existing(QStringLiteral("frmOptions")));
}
}  // namespace

void registerOptionsForms() {
    forms::registerForm(QStringLiteral("frmOptions"), [] { return new frmOptions; });
    forms::registerForm(QStringLiteral("frmOptionHelp"), [] { return new frmOptionHelp; });
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
    });
}

}  // namespace vasora::options
