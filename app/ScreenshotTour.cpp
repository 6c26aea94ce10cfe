#include "app/ScreenshotTour.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <vector>

#include "documents/frmInfo.h"
#include "labbook/frmLBUser.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"

namespace vasora {

namespace {

struct Stop {
    const char* file;
    std::function<void()> arrange;
};

void click(forms::FormName form, const char* button) {
    if (QWidget* w = forms::existing(form))
        if (auto* b = w->findChild<QAbstractButton*>(QString::fromLatin1(button))) b->click();
}

void hideAll() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() != forms::frmClearScreen.str()) w->hide();
}

void runStop(const QString& folder, std::shared_ptr<std::vector<Stop>> stops, std::size_t k) {
    if (k >= stops->size()) {
        QApplication::quit();
        return;
    }
    (*stops)[k].arrange();
    // Let the windows be placed and drawn before the picture.
    QTimer::singleShot(1500, [folder, stops, k] {
        if (QScreen* s = QGuiApplication::primaryScreen())
            s->grabWindow(0).save(QDir(folder).filePath(QString::fromLatin1((*stops)[k].file)));
        runStop(folder, stops, k + 1);
    });
}

}  // namespace

void startScreenshotTour(const QString& folder) {
    QDir().mkpath(folder);
    // Nothing on the tour may wait for an answer.
    static ui::ScriptedSeam seam;
    ui::setSeam(&seam);
    auto stops = std::make_shared<std::vector<Stop>>(std::vector<Stop>{
        {"main-menu.png", [] {}},
        {"model-window.png",
         [] {
             click(forms::frmMain, "cmdCVModel");
             // An experiment under way: arterial resistance doubled, run to equilibrium.
             workbench::changeByText("lblResisSysA", "200");
             workbench::clickAutoRun(true);
             workbench::clickAutoRun(false);
             workbench::clickPlotData();
         }},
        {"lab-book.png",
         [] {
             hideAll();
             forms::show(forms::frmMain);
             click(forms::frmMain, "cmdLabBook");
             if (auto* u = forms::existing<labbook::frmLBUser>(forms::frmLBUser)) u->explore();
             click(forms::frmDisplay, "cmdLoadModel");
             click(forms::frmDisplay, "cmdPlotData");
         }},
        {"information.png",
         [] {
             hideAll();
             if (auto* info = forms::get<documents::frmInfo>(forms::frmInfo)) {
                 info->show();
                 click(forms::frmInfo, "cmdSHContents");
                 info->showTopic(308);
             }
         }},
        {"layout-sheet.png",
         [] {
             hideAll();
             forms::show(forms::frmMain);
             click(forms::frmMain, "cmdLayout");
         }},
        {"concepts.png",
         [] {
             hideAll();
             forms::show(forms::frmMain);
             click(forms::frmMain, "cmdConcepts");
         }},
    });
    QTimer::singleShot(2500, [folder, stops] { runStop(folder, stops, 0); });
}

}  // namespace vasora
