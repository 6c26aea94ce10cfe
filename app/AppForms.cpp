#include "app/AppForms.h"

#include "shell/Forms.h"
#include "app/frmMain.h"
#include "options/OptionsForms.h"
#include "workbench/WorkbenchForms.h"

namespace vasora {

void registerAllForms() {
    forms::registerForm(forms::frmMain, [] { return new frmMain; });
    workbench::registerWorkbenchForms();
    options::registerOptionsForms();
}

}  // namespace vasora
