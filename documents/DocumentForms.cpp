#include "documents/DocumentForms.h"

#include "documents/BusyWindows.h"
#include "documents/HelpWindows.h"
#include "documents/frmConcepts.h"
#include "documents/frmImage.h"
#include "documents/frmInfo.h"
#include "shell/Forms.h"
#include "shell/WindowPlacement.h"

namespace vasora::documents {

void registerDocumentForms() {
    forms::registerForm(forms::frmInfo, [] {
        auto* w = new frmInfo;
        shell::centreOnFirstShow(w, QSize(1000, 760));
        return w;
    });
    forms::registerForm(forms::frmImage, [] { return new frmImage; });
    forms::registerForm(forms::frmConcepts, [] {
        auto* w = new frmConcepts;
        shell::centreOnFirstShow(w, QSize(1000, 730));
        return w;
    });
    forms::registerForm(forms::frmActive, [] { return new frmActive; });
    forms::registerForm(forms::frmClearScreen, [] { return new frmClearScreen; });
    forms::registerForm(forms::frmHelp, [] {
        auto* w = new HelpWindow(fileHelpDesign());
        shell::centreOnFirstShow(w, QSize(680, 640));
        return w;
    });
    forms::registerForm(forms::frmOptionHelp, [] {
        auto* w = new HelpWindow(optionsHelpDesign());
        shell::centreOnFirstShow(w, QSize(640, 600));
        return w;
    });
}

}  // namespace vasora::documents
