#include "documents/HelpWindows.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "documents/ScrivoControl.h"
#include "shell/AppState.h"
#include "shell/Navigation.h"

namespace vasora::documents {

HelpWindow::HelpWindow(Design design, QWidget* parent)
    : QWidget(parent, Qt::Window), m_design(std::move(design)) {
    setObjectName(m_design.name.str());
    setWindowTitle(m_design.caption);
    m_text = new ScrivoControl(m_design.controlName, this);
    // Links of a help text lead into the information file; the help window itself follows
    // none, so its tags are shown as the information viewer shows them, without acting.
    auto* back = new QPushButton(m_design.returnCaption, this);
    back->setObjectName(QStringLiteral("cmdReturn"));
    connect(back, &QPushButton::clicked, this, [this] { returnClicked(); });
    auto* v = new QVBoxLayout(this);
    v->addWidget(m_text, 1);
    v->addWidget(back, 0, Qt::AlignRight);
    resize(640, 560);
    indexControls(this);
}

void HelpWindow::load() {
    if (m_design.showOnLoad) show();
    m_text->setFileName(m_design.file());
    m_text->setFileFormat(kFormatRichText);
    m_text->setReadOnly(true);
    m_text->setLoadNow(1);
    m_text->setCursorPara(0);
    m_text->setCursorChar(0);
}

void HelpWindow::returnClicked() {
    hide();
    if (m_design.onReturn) m_design.onReturn();
}

void HelpWindow::closeEvent(QCloseEvent* e) {
    // Closing by the frame is Return.
    e->ignore();
    returnClicked();
}

HelpWindow::Design fileHelpDesign() {
    return {forms::frmHelp,
            QStringLiteral("Help and instructions for saving your Lab Book"),
            QStringLiteral("scrivoHelp"),
            QStringLiteral(" Return"),
            [] { return appState().HelpFile; },
            true,
            [] {
                // Back to where the learner came from: the main menu once a lab book is
                // loaded, else the choice of lab book (the main menu while that window is
                // not in this version).
                if (appState().LabBookState == kLabBookLoaded || !shell::showLabBook()) {
                    forms::show(forms::frmMain);
                    forms::hide(forms::frmLBUser);
                }
            }};
}

HelpWindow::Design optionsHelpDesign() {
    return {forms::frmOptionHelp,
            QStringLiteral("Help for using Model Options"),
            QStringLiteral("scrivoOptionsHelp"),
            QStringLiteral("Return"),
            [] { return appState().OptionsHelpFile; },
            false,
            {}};
}

}  // namespace vasora::documents
