#include "app/ScreenshotTour.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <vector>

#include "documents/ScrivoControl.h"
#include "documents/Tags.h"
#include "documents/frmInfo.h"
#include "labbook/frmDisplay.h"
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

// A click of the mouse on the first tag of the lab book with `code`, scrolled into view.
void clickBookTag(int code) {
    auto* d = forms::existing<labbook::frmDisplay>(forms::frmDisplay);
    if (!d) return;
    documents::ScrivoControl* text = d->text();
    for (const documents::TagSpan& t : documents::allTags(*text->document())) {
        if (t.code != code) continue;
        QTextCursor c(text->document());
        c.setPosition(t.start + 1);
        text->setTextCursor(c);
        text->ensureCursorVisible();
        const QPoint at = text->cursorRect(c).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, text->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
            QApplication::sendEvent(text->viewport(), &e);
        }
        return;
    }
}

// Brings the heading `title` of the lab book to the top of its view.
void showBookHeading(const QString& title) {
    auto* d = forms::existing<labbook::frmDisplay>(forms::frmDisplay);
    if (!d) return;
    QTextDocument* doc = d->text()->document();
    const QTextCursor found = doc->find(title);
    if (found.isNull()) return;
    qint32 x = 0, y = 0;
    ScrivoAPI::SCRIVO_CURTOXY(*d->text(), found.block().blockNumber(), 0, x, y);
    d->text()->setScrollTop(y);
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
        {"guyton-diagram.png",
         [] {
             // From the normal state a hemorrhage of 1000 ml, run to the new equilibrium: the
             // curves of before pale, the transient's dots, the new crossing.
             workbench::clickRestart();
             forms::show(forms::frmDiagram);
             workbench::changeBloodVolume(-1000);
             workbench::clickAutoRun(true);
             workbench::clickAutoRun(false);
         }},
        {"lab-book.png",
         [] {
             hideAll();
             forms::show(forms::frmMain);
             click(forms::frmMain, "cmdLabBook");
             if (auto* u = forms::existing<labbook::frmLBUser>(forms::frmLBUser)) u->explore();
             click(forms::frmDisplay, "cmdLoadModel");
             click(forms::frmDisplay, "cmdPlotData");
             // Experiment 1's tables filled and its first answers, with their decimals.
             QTimer::singleShot(
                 300, [] { showBookHeading(QStringLiteral("Recording the normal state")); });
         }},
        {"lab-book-plot.png",
         [] {
             // The heart-rate curve of Experiment 7, drawn from its table.
             showBookHeading(QStringLiteral("Experiment 7"));
             clickBookTag(48000);
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
