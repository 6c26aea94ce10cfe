#include "labbook/LabBookActions.h"

#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"

namespace vasora::labbook {

using model::Window;

void restartFromLabBook() {
    model::view().plotClear();
    model::view().showWindow(Window::CVModel);
    workbench::loadModelWindow();
    // The normal set stops AutoRun; the box says so, as after the model window's Restart.
    model::view().setChecked(Window::CVModel, "chkAutoRun", false);
    model::state().AutoRunOn = 0;
}

bool runUntilEquilibrium() {
    model::view().setChecked(Window::CVModel, "chkAutoRun", true);
    workbench::clickAutoRun(true);
    // The display unticks the box itself when AutoRun gives up.
    model::view().setChecked(Window::CVModel, "chkAutoRun", false);
    workbench::clickAutoRun(false);
    return flowsShownEqual();
}

bool flowsShownEqual() {
    return model::view().captionOf(Window::CVModel, "lblFlowError").empty();
}

}  // namespace vasora::labbook
