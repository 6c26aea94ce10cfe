#include "workbench/WorkbenchForms.h"

#include "app/Forms.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/ChangeHandlers.h"
#include "workbench/QtModelView.h"
#include "workbench/frmCVModel.h"
#include "workbench/frmChangeParam.h"
#include "workbench/frmChangePit.h"
#include "workbench/frmChangeVol.h"
#include "workbench/frmLayout.h"
#include "workbench/frmPlot.h"
#include "workbench/frmPlotData.h"

namespace vasora::workbench {

void registerWorkbenchForms() {
    static QtModelView view;
    forms::registerForm(QStringLiteral("frmCVModel"), [] {
        auto* w = new frmCVModel;
        QObject::connect(w, &frmCVModel::parameterClicked, w, &parameterLabelClicked);
        return w;
    });
    forms::registerForm(QStringLiteral("frmPlotData"), [] { return new frmPlotData; });
    forms::registerForm(QStringLiteral("frmChangeParam"), [] { return new frmChangeParam; });
    forms::registerForm(QStringLiteral("frmChangeVol"), [] { return new frmChangeVol; });
    forms::registerForm(QStringLiteral("frmChangePit"), [] { return new frmChangePit; });
    forms::registerForm(QStringLiteral("frmLayout"), [] { return new frmLayout; });
    forms::registerForm(QStringLiteral("frmPlot"), [] { return new frmPlot; });
    model::setView(&view);
}

}  // namespace vasora::workbench
