#include "documents/DocumentForms.h"

#include "documents/BusyWindows.h"
#include "documents/HelpWindows.h"
#include "documents/frmImage.h"
#include "documents/frmInfo.h"
#include "shell/Forms.h"

namespace vasora::documents {

void registerDocumentForms() {
    forms::registerForm(forms::frmInfo, [] { return new frmInfo; });
    forms::registerForm(forms::frmImage, [] { return new frmImage; });
    forms::registerForm(forms::frmActive, [] { return new frmActive; });
    forms::registerForm(forms::frmClearScreen, [] { return new frmClearScreen; });
    forms::registerForm(forms::frmHelp, [] { return new HelpWindow(fileHelpDesign()); });
    forms::registerForm(forms::frmOptionHelp, [] { return new HelpWindow(optionsHelpDesign()); });
}

}  // namespace vasora::documents
