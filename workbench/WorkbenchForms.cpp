#include "workbench/WorkbenchForms.h"

#include "model/Quantities.h"
#include "model/Vasora_Model_coding.h"
#include "shell/Explain.h"
#include "shell/Forms.h"
#include "shell/LiveFigures.h"
#include "shell/Navigation.h"
#include "shell/WindowPlacement.h"
#include "workbench/ChangeHandlers.h"
#include "workbench/QtModelView.h"
#include "workbench/UndoHistory.h"
#include "workbench/ValueAccess.h"
#include "workbench/frmCVModel.h"
#include "workbench/frmChangeParam.h"
#include "workbench/frmChangePit.h"
#include "workbench/frmChangeVol.h"
#include "workbench/frmDiagram.h"
#include "workbench/frmLayout.h"
#include "workbench/frmPlot.h"
#include "workbench/frmPlotData.h"

namespace vasora::workbench {

namespace {
// The topics of the information file that explain the windows as a whole.
constexpr int kModelWindowTopic = 102;
constexpr int kLayoutSheetTopic = 107;

int labelTopic(const QString& name, const QString& caption) {
    return model::explainTopic(name.toStdString(), caption.toStdString());
}
}  // namespace

void registerWorkbenchForms() {
    static QtModelView view;
    installValueAccess();
    forms::registerForm(forms::frmCVModel, [] {
        auto* w = new frmCVModel;
        QObject::connect(w, &frmCVModel::parameterClicked, w, &parameterLabelClicked);
        shell::placeOnFirstShow(w);
        shell::offerExplanations(w, &labelTopic, kModelWindowTopic);
        return w;
    });
    forms::registerForm(forms::frmPlotData, [] {
        auto* w = new frmPlotData;
        shell::placeOnFirstShow(w);
        return w;
    });
    forms::registerForm(forms::frmChangeParam, [] { return new frmChangeParam; });
    forms::registerForm(forms::frmChangeVol, [] { return new frmChangeVol; });
    forms::registerForm(forms::frmChangePit, [] { return new frmChangePit; });
    forms::registerForm(forms::frmLayout, [] {
        auto* w = new frmLayout;
        shell::offerExplanations(w, &labelTopic, kLayoutSheetTopic);
        shell::fitOnFirstShow(w);
        return w;
    });
    forms::registerForm(forms::frmPlot, [] {
        auto* w = new frmPlot;
        shell::placeOverModelOnFirstShow(w);
        return w;
    });
    forms::registerForm(forms::frmDiagram, [] {
        auto* w = new frmDiagram;
        // Redrawn after every display of the model window.
        QObject::connect(&view.notifier(), &DisplayNotifier::valuesShown, w,
                         &frmDiagram::modelDisplayed);
        shell::placeDiagramOnFirstShow(w);
        return w;
    });
    // Figure tag 53900 of the documents and the lab book opens the diagram.
    shell::registerLiveFigure(shell::kGuytonDiagramFigure, [] { forms::show(forms::frmDiagram); });
    shell::hideOnReturnToMainMenu(forms::frmCVModel);
    shell::hideOnReturnToMainMenu(forms::frmDiagram);
    shell::hideOnReturnToMainMenu(forms::frmPlotData);
    model::setView(&view);
    // A step back takes the strip chart back too; its drawing is the window's, not the model's.
    setUndoViewHooks({[]() -> ViewRestore {
        auto* plot = qobject_cast<frmPlotData*>(forms::existing(forms::frmPlotData));
        return plot ? plot->snapshot() : ViewRestore{};
    }});
}

}  // namespace vasora::workbench
