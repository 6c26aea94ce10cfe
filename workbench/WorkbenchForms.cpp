#include "workbench/WorkbenchForms.h"

#include "app/Forms.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/QtModelView.h"
#include "workbench/frmCVModel.h"
#include "workbench/frmLayout.h"
#include "workbench/frmPlot.h"
#include "workbench/frmPlotData.h"

namespace vasora::workbench {

void registerWorkbenchForms() {
    static QtModelView view;
    forms::registerForm(QStringLiteral("frmCVModel"), [] { return new frmCVModel; });
    forms::registerForm(QStringLiteral("frmPlotData"), [] { return new frmPlotData; });
    forms::registerForm(QStringLiteral("frmLayout"), [] { return new frmLayout; });
    forms::registerForm(QStringLiteral("frmPlot"), [] { return new frmPlot; });
    model::setView(&view);
}

}  // namespace vasora::workbench
