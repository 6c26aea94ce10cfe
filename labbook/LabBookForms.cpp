#include "labbook/LabBookForms.h"

#include "labbook/frmDisplay.h"
#include "labbook/frmLBSave.h"
#include "labbook/frmLBUser.h"
#include "shell/AppState.h"
#include "shell/Forms.h"
#include "shell/Navigation.h"
#include "shell/WindowPlacement.h"

namespace vasora::labbook {

void registerLabBookForms() {
    forms::registerForm(forms::frmLBUser, [] {
        auto* w = new frmLBUser;
        shell::centreOnFirstShow(w, QSize(620, 420));
        return w;
    });
    // The display takes its place beside the model window whenever it is shown.
    forms::registerForm(forms::frmDisplay, [] { return new frmDisplay; });
    forms::registerForm(forms::frmLBSave, [] {
        auto* w = new frmLBSave;
        shell::centreOnFirstShow(w, QSize(380, 150));
        return w;
    });
    shell::hideOnReturnToMainMenu(forms::frmLBUser);
    shell::hideOnReturnToMainMenu(forms::frmDisplay);
    // Back to the lab book: the display once a book is loaded, else the choice of one.
    shell::setLabBookShower([] {
        forms::show(appState().LabBookState == kLabBookLoaded ? forms::frmDisplay
                                                              : forms::frmLBUser);
        return true;
    });
}

}  // namespace vasora::labbook
