#include "app/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "labbook/frmLBSave.h"
#include "labbook/frmLBUser.h"
#include "shell/AppState.h"
#include "shell/Navigation.h"

namespace vasora {

namespace {

std::function<void()>& quitHandler() {
    static std::function<void()> h = &frmMain::endProgram;
    return h;
}

QPushButton* menuButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty()) b->setToolTip(tip);
    b->setMinimumHeight(40);
    // Enter presses the button that has the focus, as Space does.
    b->setAutoDefault(true);
    return b;
}

// Shows a window when it exists in this build; a button whose window is not built stays
// disabled rather than doing nothing.
bool available(forms::FormName form) {
    return forms::registered(form);
}

}  // namespace

void frmMain::setQuitHandler(std::function<void()> quit) {
    quitHandler() = std::move(quit);
}

void frmMain::endProgram() {
    // Windows are hidden rather than closed: a window whose close means "go back" (the layout
    // sheet, the model window) would otherwise refuse, and the toolkit would cancel the quit.
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QCoreApplication::exit(0);
}

frmMain::frmMain(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(forms::frmMain.str());
    setWindowTitle(QStringLiteral("Vasora   -  Main menu"));
    auto* v = new QVBoxLayout(this);
    buildTitle(*v);
    buildButtons(*v);
    buildPath(*v);
    resize(560, 460);
    indexControls(this);
}

void frmMain::buildTitle(QVBoxLayout& v) {
    auto* title = new QLineEdit(QStringLiteral("    Vasora"), this);
    title->setObjectName(QStringLiteral("txtTitle1"));
    title->setAccessibleName(QStringLiteral("Vasora"));
    title->setReadOnly(true);
    title->setFrame(false);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2.4);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    title->setFocusPolicy(Qt::NoFocus);

    auto* purpose = new QLabel(
        QStringLiteral(
            "Vasora lets you explore how the heart and the blood vessels work together. A model "
            "of the circulation in six compartments runs on your screen: change a compliance, a "
            "resistance, the strength or rate of the heart, or the blood volume, run the model "
            "until the flows agree again, and record what you find in your own Lab Book. The "
            "information text explains the model and the physiology behind it."),
        this);
    purpose->setObjectName(QStringLiteral("lblPurpose"));
    purpose->setWordWrap(true);
    v.addWidget(title);
    v.addWidget(purpose);
    v.addSpacing(8);
}

void frmMain::buildButtons(QVBoxLayout& v) {
    auto* info =
        menuButton(this, "cmdInfo", QStringLiteral(" Information and Help"),
                   QStringLiteral("Instructions for and information about this application"));
    auto* labBook = menuButton(this, "cmdLabBook", QStringLiteral("&Lab Book"),
                               QStringLiteral("Open the Lab Book"));
    auto* model = menuButton(this, "cmdCVModel", QStringLiteral("Vasora  Model"),
                             QStringLiteral("Activate the Cardiovascular model"));
    auto* concepts = menuButton(this, "cmdConcepts", QStringLiteral("   CV Concepts  "),
                                QStringLiteral("Show a diagram of Vasora Concepts"));
    auto* layout =
        menuButton(this, "cmdLayout", QStringLiteral("Model Layout"),
                   QStringLiteral(" Diagram of the Model with variables and parameters"));
    auto* help = menuButton(this, "cmdHelp", QStringLiteral(" File Help"), {});
    auto* grid = new QGridLayout;
    grid->addWidget(model, 0, 0);
    grid->addWidget(labBook, 0, 1);
    grid->addWidget(info, 1, 0);
    grid->addWidget(concepts, 1, 1);
    grid->addWidget(layout, 2, 0);
    grid->addWidget(help, 2, 1);
    v.addLayout(grid);
    v.addSpacing(8);
    // Tab goes through the buttons as they stand, row by row.
    QWidget::setTabOrder(model, labBook);
    QWidget::setTabOrder(labBook, info);
    QWidget::setTabOrder(info, concepts);
    QWidget::setTabOrder(concepts, layout);
    QWidget::setTabOrder(layout, help);

    connect(info, &QPushButton::clicked, this, &frmMain::infoClicked);
    connect(labBook, &QPushButton::clicked, this, &frmMain::labBookClicked);
    connect(model, &QPushButton::clicked, this, &frmMain::modelClicked);
    connect(concepts, &QPushButton::clicked, this, &frmMain::conceptsClicked);
    connect(layout, &QPushButton::clicked, this, &frmMain::layoutClicked);
    connect(help, &QPushButton::clicked, this, &frmMain::helpClicked);

    // A button whose window is not in this version stays disabled and says so.
    auto offer = [](QPushButton* b, bool ok) {
        b->setEnabled(ok);
        if (ok) return;
        const QString notYet = QStringLiteral("Not in this version of Vasora yet.");
        b->setToolTip(b->toolTip().isEmpty() ? notYet : b->toolTip() + QLatin1Char('\n') + notYet);
    };
    offer(info, available(forms::frmInfo));
    offer(labBook, available(forms::frmLBUser));
    offer(concepts, available(forms::frmConcepts));
    offer(layout, available(forms::frmLayout));
    offer(help, available(forms::frmHelp));
    m_lastButton = help;
    // The information viewer's way back offers File Help again.
    shell::setFileHelpOffer([help] { help->show(); });
}

void frmMain::buildPath(QVBoxLayout& v) {
    auto* pathCaption = new QLabel(QStringLiteral(" Current path to Vasora project is :"), this);
    m_sourcePath = new QLineEdit(this);
    m_sourcePath->setObjectName(QStringLiteral("lblSourcePath"));
    m_sourcePath->setAccessibleName(QStringLiteral("Current path to Vasora project"));
    m_sourcePath->setReadOnly(true);
    pathCaption->setBuddy(m_sourcePath);
    auto* version = new QLabel(QStringLiteral("Version 0.1  -  December 2026"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* exit = menuButton(this, "cmdExit", QStringLiteral("Quit"),
                            QStringLiteral("Exit this application"));
    connect(exit, &QPushButton::clicked, this, [this] { quit(); });
    v.addWidget(pathCaption);
    v.addWidget(m_sourcePath);
    v.addWidget(version);
    v.addWidget(exit, 0, Qt::AlignRight);
    QWidget::setTabOrder(m_lastButton, m_sourcePath);
    QWidget::setTabOrder(m_sourcePath, exit);
}

void frmMain::infoClicked() {
    forms::show(forms::frmInfo);
    hide();
}

void frmMain::labBookClicked() {
    AppState& a = appState();
    if (a.InfoState != kInfoLoaded && forms::registered(forms::frmInfo)) {
        // Showing the viewer once loads it and its file.
        forms::show(forms::frmInfo);
        forms::hide(forms::frmInfo);
    }
    if (a.LabBookState != kLabBookLoaded) {
        forms::show(forms::frmLBUser);
        hide();
        if (auto* u = forms::existing<labbook::frmLBUser>(forms::frmLBUser)) u->focusExplore();
        a.LabBookState = kNoLabBook;
        a.OwnLabBook = 0;
    } else {
        forms::show(forms::frmDisplay);
        hide();
    }
}

void frmMain::modelClicked() {
    forms::show(forms::frmCVModel);
    hide();
}

void frmMain::conceptsClicked() {
    forms::show(forms::frmConcepts);
}

void frmMain::layoutClicked() {
    forms::show(forms::frmCVModel);
    forms::show(forms::frmLayout);
    forms::hide(forms::frmCVModel);
    forms::hide(forms::frmPlotData);
}

void frmMain::helpClicked() {
    if (forms::registered(forms::frmLBUser)) forms::show(forms::frmLBUser);
    forms::show(forms::frmHelp);
}

void frmMain::load() {
    forms::show(forms::frmClearScreen);
    fixProjectPaths(QDir::currentPath());
    AppState& a = appState();
    // Touching the parameter-file boxes creates the model window (whose load makes the first
    // run) and the layout sheet, so both exist before they are first shown.
    for (forms::FormName form : {forms::frmCVModel, forms::frmLayout})
        if (auto* host = dynamic_cast<forms::ControlHost*>(forms::get(form)))
            if (auto* box = qobject_cast<QLineEdit*>(host->control("txtCurrentF")))
                box->setText(QStringLiteral("Original Parameter Set"));
    m_sourcePath->setText(QDir::toNativeSeparators(a.ProjectPath));
    a.InfoTreeShown = true;
    a.LabBookTreeShown = true;
    if (QWidget* plot = forms::get(forms::frmPlotData)) plot->hide();
}

bool frmMain::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        m_sourcePath->setText(QDir::toNativeSeparators(appState().ProjectPath));
    return QWidget::event(e);
}

void frmMain::closeEvent(QCloseEvent* e) {
    // Closing the main menu by its frame quits as the Quit button does, with the same offer to
    // save the learner's own lab book.
    e->ignore();
    quit();
}

void frmMain::quit() {
    // Quitting runs its steps once, even where closing a window comes back here.
    if (m_quitting) return;
    m_quitting = true;
    const AppState& a = appState();
    if (a.LabBookName.compare(QStringLiteral("Explore"), Qt::CaseInsensitive) != 0 &&
        a.OwnLabBook == 1) {
        // A book that could not be saved keeps the program running, so that the learner can
        // free space or try again.
        auto* save = forms::get<labbook::frmLBSave>(forms::frmLBSave);
        if (save && !save->askOnQuitting()) {
            m_quitting = false;
            return;
        }
    }
    quitHandler()();
    // The program goes on only where a test's handler stands in for the ending.
    m_quitting = false;
}

}  // namespace vasora
