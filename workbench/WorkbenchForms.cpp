#include "workbench/WorkbenchForms.h"

#include "app/Forms.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/QtModelView.h"
#include "workbench/frmCVModel.h"
#include "workbench/frmPlotData.h"

namespace vasora::workbench {

void registerWorkbenchForms() {
    static QtModelView view;
    forms::registerForm(QStringLiteral("frmCVModel"), [] { return new frmCVModel; });
    forms::registerForm(QStringLiteral("frmPlotData"), [] { return new frmPlotData; });
    model::setView(&view);
}

}  // namespace vasora::workbench
