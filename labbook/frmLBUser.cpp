#include "labbook/frmLBUser.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>

#include "documents/BusyWindows.h"
#include "labbook/LabBookSave.h"
#include "labbook/frmDisplay.h"
#include "model/Vasora_Model_coding.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"

namespace vasora::labbook {

namespace {

const QString kFilter = QStringLiteral("Scrivo files (*.rtf)");
const QString kExtension = QStringLiteral(".rtf");

QLabel* label(QWidget* parent, const QString& text, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& tip = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty()) b->setToolTip(tip);
    b->setMinimumHeight(34);
    return b;
}

// The template is copied whole into a temporary file that then replaces the learner's file, so
// an earlier book of that name is never left half overwritten. Returns why it failed; empty
// when the copy is made.
QString copyWhole(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) return in.errorString();
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly)) return out.errorString();
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return chunk.isEmpty() ? in.errorString() : out.errorString();
        }
    }
    return out.commit() ? QString() : out.errorString();
}

void showLabBookName(const QString& text) {
    const std::string t = text.toStdString();
    model::view().setCaption(model::Window::CVModel, "txtLabBookF", t);
    model::view().setCaption(model::Window::Layout, "txtLabBookF", t);
}

}  // namespace

QString projectPathFrom(const QString& typed) {
    QString path = QDir::fromNativeSeparators(typed.trimmed());
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

frmLBUser::frmLBUser(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(forms::frmLBUser.str());
    setWindowTitle(QStringLiteral("Lab Book User form"));

    m_sourcePath = new QLineEdit(this);
    m_sourcePath->setObjectName(QStringLiteral("txtSourcePath"));
    m_sourcePath->setAccessibleName(QStringLiteral("Path to the Vasora project files"));
    auto* saveNew = button(this, "cmdSaveNewFile", QStringLiteral("Save New File"));
    auto* retrieve = button(this, "cmdRetrieveFile", QStringLiteral(" Retrieve File"));
    auto* sample = button(this, "cmdExplore", QStringLiteral("Explore"));
    auto* help = button(this, "cmdHelp", QStringLiteral("File Help"));
    auto* exit = button(this, "cmdExit", QStringLiteral("Exit to Main"),
                        QStringLiteral("Exit the program."));
    auto* warning = label(this, QStringLiteral(" The Path to Project files must be correct "
                                               "before you can proceed !"));
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, QColor(128, 0, 0));
    warning->setPalette(red);

    auto* g = new QGridLayout(this);
    g->setColumnStretch(0, 3);
    g->setColumnStretch(1, 2);
    g->setVerticalSpacing(10);
    int row = 0;
    g->addWidget(label(this, QStringLiteral("   Step 1.  Path to the Vasora Project files"), true),
                 row++, 0, 1, 2);
    g->addWidget(label(this, QStringLiteral(" Current Path to PROJECT files =")), row++, 0, 1, 2);
    g->addWidget(m_sourcePath, row++, 0, 1, 2);
    g->addWidget(warning, row++, 0, 1, 2);
    g->addWidget(label(this,
                       QStringLiteral(" Step 2. Choose the file name AND path for the  Lab "
                                      "Book"),
                       true),
                 row++, 0, 1, 2);
    g->addWidget(label(this, QStringLiteral("Use Dialog Box to declare and make      your own "
                                            "copy of the Lab Book")),
                 row, 0);
    g->addWidget(saveNew, row++, 1);
    g->addWidget(label(this, QStringLiteral(" Use Dialog Box to  retrieve your file        for  "
                                            "further use")),
                 row, 0);
    g->addWidget(retrieve, row++, 1);
    g->addWidget(label(this, QStringLiteral("Or look first at a Lab Book filled in as an example "
                                            "(it is not saved):")),
                 row, 0);
    g->addWidget(sample, row++, 1);
    g->addWidget(help, row, 0, Qt::AlignLeft);
    auto* again = new QHBoxLayout;
    QLabel* overAgain = label(this, QStringLiteral("To start over, click  ->"));
    overAgain->setWordWrap(false);
    again->addWidget(overAgain);
    again->addWidget(exit);
    g->addLayout(again, row++, 1);

    connect(saveNew, &QPushButton::clicked, this, [this] { saveNewFile(); });
    connect(retrieve, &QPushButton::clicked, this, [this] { retrieveFile(); });
    connect(sample, &QPushButton::clicked, this, [this] { explore(); });
    connect(help, &QPushButton::clicked, this, [] { forms::show(forms::frmHelp); });
    connect(exit, &QPushButton::clicked, this, [this] { exitToMain(); });

    m_sourcePath->setText(QDir::toNativeSeparators(appState().ProjectPath));
    resize(620, 420);
    indexControls(this);
}

void frmLBUser::takeProjectPath(const QString& typed) {
    appState().ProjectPath = projectPathFrom(typed);
}

void frmLBUser::takeDerivedPaths() {
    AppState& a = appState();
    a.LabBookTemplate = projectFile(QStringLiteral("finalLB.rtf"));
    a.InfoFile = projectFile(QStringLiteral("finalNT.rtf"));
}

void frmLBUser::showChosen(const QString& boxText) {
    showLabBookName(boxText);
    hide();
    showDisplay();
}

void frmLBUser::showDisplay() {
    // Coming up, the display reads the book chosen now; one in view already is told to.
    const bool shownAlready = forms::isVisible(forms::frmDisplay);
    forms::show(forms::frmDisplay);
    if (!shownAlready) return;
    if (auto* d = forms::existing<frmDisplay>(forms::frmDisplay)) d->loadChosen();
}

void frmLBUser::saveNewFile() {
    AppState& a = appState();
    // The box as the learner left it: coming back from the file dialog activates the window,
    // which shows the project folder in use in the box again.
    const QString typed = m_sourcePath->text();
    const QString chosen = ui::seam().saveFile(
        this, QStringLiteral("Enter the path and your name for your Lab Book"),
        learnerFolder(a.LabBookBase, kLabBookFolder), kFilter, ui::Replace::CallerAsks);
    if (chosen.isEmpty()) return;
    // A name typed with its extension does not get a second one.
    const QString file =
        chosen.endsWith(kExtension, Qt::CaseInsensitive) ? chosen : chosen + kExtension;
    // Nothing is taken over until the new book exists: a book that cannot be made leaves the
    // open one with its names, so that it can still be saved.
    const QString project = projectPathFrom(typed);
    const QString source = existingPath(project + QStringLiteral("finalLB.rtf"));
    // The shipped files are every learner's: a new book never takes their place.
    if (sameFile(file, source) ||
        sameFile(file, existingPath(project + QStringLiteral("Explore.rtf")))) {
        ui::messageBox(QStringLiteral("%1 is one of the program's own files. Please choose "
                                      "another name for your Lab Book.")
                           .arg(QFileInfo(file).fileName()),
                       {}, this);
        return;
    }
    if (!QFileInfo(source).isFile()) {
        ui::messageBox(QStringLiteral("The Lab Book template %1 is not in the project folder %2.\n"
                                      "Please correct the path of Step 1.")
                           .arg(QStringLiteral("FinalLB.rtf"), QDir::toNativeSeparators(project)),
                       {}, this);
        return;
    }
    if (!ui::mayReplace(existingPath(file), QStringLiteral("A Lab Book named"), this)) return;
    if (!offerToSaveBefore(file, this)) return;
    QString why;
    {
        documents::BusyNotice busy;
        why = copyWhole(source, file);
    }
    if (!why.isEmpty()) {
        ui::messageBox(QStringLiteral("Your Lab Book could not be made as %1:\n%2\nPlease choose "
                                      "another folder or name.")
                           .arg(QDir::toNativeSeparators(file), why),
                       {}, this);
        return;
    }
    // The fresh copy is read even when a book of this name is open.
    if (auto* d = forms::existing<frmDisplay>(forms::frmDisplay)) d->forgetLoaded();
    takeLabBook(chosen, file, typed);
}

void frmLBUser::retrieveFile() {
    const AppState& a = appState();
    const QString typed = m_sourcePath->text();
    const QString chosen =
        ui::seam().openFile(this, QStringLiteral("Retrieve your LabBook file"),
                            learnerFolder(a.LabBookBase, kLabBookFolder), kFilter);
    if (chosen.isEmpty()) return;
    openChosen(chosen, typed);
}

bool frmLBUser::openLabBook(const QString& path) {
    return openChosen(path, m_sourcePath->text());
}

bool frmLBUser::openChosen(const QString& chosen, const QString& typedProject) {
    // A file that is no lab book is reported here, once, and the book that is open stays.
    if (const QString why = whyNotALabBook(existingPath(chosen)); !why.isEmpty()) {
        ui::messageBox(why, {}, this);
        return false;
    }
    if (!offerToSaveBefore(chosen, this)) return false;
    takeLabBook(chosen, chosen, typedProject);
    return true;
}

void frmLBUser::takeLabBook(const QString& name, const QString& file, const QString& typedProject) {
    AppState& a = appState();
    a.LabBookName = name;
    a.LabBookFile = file;
    takeProjectPath(typedProject);
    takeDerivedPaths();
    a.LabBookState = kLabBookChosen;
    a.OwnLabBook = 1;
    showChosen(a.LabBookFile);
}

void frmLBUser::explore() {
    AppState& a = appState();
    takeProjectPath(m_sourcePath->text());
    a.InfoFile = projectFile(QStringLiteral("finalNT.rtf"));
    if (a.LabBookState == kNoLabBook) a.LabBookFile = projectFile(QStringLiteral("Explore.rtf"));
    a.LabBookState = kLabBookChosen;
    showLabBookName(QStringLiteral(" The Lab Book is Explorer"));
    // The choice is made: the window goes, as it does for the learner's own book, rather than
    // staying behind the display.
    hide();
    showDisplay();
    forms::hide(forms::frmHelp);
}

void frmLBUser::focusExplore() {
    if (auto* e = findChild<QWidget*>(QStringLiteral("cmdExplore"))) e->setFocus();
}

void frmLBUser::exitToMain() {
    takeProjectPath(m_sourcePath->text());
    hide();
    forms::show(forms::frmMain);
}

bool frmLBUser::event(QEvent* e) {
    // Whenever the window comes up, its box shows the project folder in use.
    if (e->type() == QEvent::WindowActivate) {
        m_sourcePath->setText(QDir::toNativeSeparators(appState().ProjectPath));
        takeProjectPath(m_sourcePath->text());
    }
    return QWidget::event(e);
}

void frmLBUser::showEvent(QShowEvent* e) {
    m_sourcePath->setText(QDir::toNativeSeparators(appState().ProjectPath));
    takeProjectPath(m_sourcePath->text());
    QWidget::showEvent(e);
}

void frmLBUser::closeEvent(QCloseEvent* e) {
    // Closing the window by its frame goes back to the main menu, as Exit to Main does.
    e->ignore();
    exitToMain();
}

}  // namespace vasora::labbook
