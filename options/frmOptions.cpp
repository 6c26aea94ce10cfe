#include "options/frmOptions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/NumberParse.h"
#include "model/ModelState.h"
#include "model/Reflex.h"
#include "options/ParameterSetFile.h"
#include "options/RunOptions.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "workbench/UndoHistory.h"

namespace vasora::options {

namespace {

const QString kFilter = QStringLiteral("Text file (*.txt)");

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& text) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

std::string localPath(const QString& p) {
    return QFile::encodeName(p).toStdString();
}
QString shownPath(const std::string& p) {
    return QFile::decodeName(QByteArray::fromStdString(p));
}

QString paramSetFolder() {
    return learnerFolder(appState().ParamSetBase, kParameterFolder);
}

}  // namespace

QString decimalText(double v) {
    return QString::number(v, 'f', QLocale::FloatingPointShortest);
}

frmOptions::frmOptions(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(forms::frmOptions.str());
    setWindowTitle(
        QStringLiteral(" Save or  Retrieve  a slected  parameter set for Normal values"));

    QLayout* intervals = buildIntervals();
    m_avBlock =
        check(this, "chkAV_Block", QStringLiteral("Check to have separate RV and LV Heart Rates"));
    m_original = check(this, "chkOriginalP", QStringLiteral("Check to use original parameter set"));
    QLayout* reflex = buildReflex();
    QLayout* files = buildFiles();
    QLayout* bottom = buildButtons();

    auto* v = new QVBoxLayout(this);
    v->addWidget(m_intervals);
    v->addLayout(intervals);
    v->addSpacing(6);
    v->addWidget(m_avBlock);
    v->addWidget(m_original);
    v->addLayout(reflex);
    v->addSpacing(6);
    v->addLayout(files);
    v->addSpacing(6);
    v->addLayout(bottom);

    // Only the learner's clicks count: the retrieval ticks chkAV_Block itself.
    connect(m_intervals, &QCheckBox::clicked, this, [this](bool c) { intervalsClicked(c); });
    connect(m_avBlock, &QCheckBox::clicked, this, [](bool c) { setAVBlock(c); });
    connect(m_original, &QCheckBox::clicked, this, [this](bool c) { originalClicked(c); });

    resize(560, 420);
    indexControls(this);
}

QLayout* frmOptions::buildIntervals() {
    m_intervals =
        check(this, "chkIntervals",
              QStringLiteral("Check to use different intervals    (First - Enter change below)"));
    auto* iterCaption = label(this, "Label4", QStringLiteral("Iteration interval"));
    auto* printCaption = label(this, "lblPrntPeriod", QStringLiteral("Display interval"));
    auto* current = label(this, "Label3", QStringLiteral("Current value ="));
    m_stability =
        label(this, "lblStability",
              QString::fromLatin1(kStabilityNote.data(), qsizetype(kStabilityNote.size())));
    m_iteration = new QLineEdit(this);
    m_iteration->setObjectName(QStringLiteral("txtIterationInterval"));
    m_iteration->setToolTip(QStringLiteral("Iteration interval in minutes"));
    m_print = new QLineEdit(this);
    m_print->setObjectName(QStringLiteral("txtPrintInterval"));
    m_print->setToolTip(QStringLiteral("Display interval in minutes"));

    auto* grid = new QGridLayout;
    grid->addWidget(iterCaption, 0, 1);
    grid->addWidget(printCaption, 0, 2);
    grid->addWidget(current, 1, 0);
    grid->addWidget(m_iteration, 1, 1);
    grid->addWidget(m_print, 1, 2);
    grid->addWidget(m_stability, 2, 0, 1, 3);
    connect(m_iteration, &QLineEdit::textChanged, this,
            [this](const QString& text) { markStability(text); });
    return grid;
}

void frmOptions::markStability(const QString& text) {
    // The note turns red while the box holds a step beyond the stable ones.
    const auto v = parseDecimal(text.toStdString());
    QPalette p = m_stability->palette();
    p.setColor(QPalette::WindowText, v && *v > kStableIterInterval + 1e-12
                                         ? QColor(128, 0, 0)
                                         : palette().color(QPalette::WindowText));
    m_stability->setPalette(p);
}

QLayout* frmOptions::buildFiles() {
    auto* fileCaption = label(this, "Label2", QStringLiteral("Parameter set is:"));
    m_currentFile = new QLineEdit(QStringLiteral("  Default"), this);
    m_currentFile->setObjectName(QStringLiteral("txtCurrentF"));
    m_currentFile->setReadOnly(true);
    auto* equilibrium = label(
        this, "Label1",
        QStringLiteral(
            " Be sure the model is in equilibrium (eqaul flows) before saving the paramter set"));
    auto* save = button(this, "cmdExport", QStringLiteral("Save Parameter set"));
    auto* retrieve = button(this, "cmdImport", QStringLiteral("Retrieve Parameter set"));
    connect(save, &QPushButton::clicked, this, [this] { exportClicked(); });
    connect(retrieve, &QPushButton::clicked, this, [this] { importClicked(); });

    auto* grid = new QGridLayout;
    grid->addWidget(fileCaption, 0, 0);
    grid->addWidget(m_currentFile, 0, 1, 1, 2);
    grid->addWidget(equilibrium, 1, 0, 1, 3);
    grid->addWidget(save, 2, 0);
    grid->addWidget(retrieve, 2, 1);
    return grid;
}

QLayout* frmOptions::buildButtons() {
    auto* help = button(this, "cmdOptionHelp", QStringLiteral("Help"));
    auto* helpNote = label(this, "Label5", QStringLiteral("Click \"Help\" for Instructions"));
    auto* back = button(this, "cmdReturn", QStringLiteral("Return to Model"));
    connect(help, &QPushButton::clicked, this, [] { forms::show(forms::frmOptionHelp); });
    connect(back, &QPushButton::clicked, this, [this] { returnClicked(); });

    auto* grid = new QGridLayout;
    grid->addWidget(help, 0, 0);
    grid->addWidget(helpNote, 0, 1);
    grid->addWidget(back, 0, 2);
    return grid;
}

QLayout* frmOptions::buildReflex() {
    m_reflex = check(this, "chkReflex",
                     QStringLiteral("Baroreceptor reflex: hold the arterial pressure with"));
    m_reflex->setToolTip(QStringLiteral(
        "A run option, off by default and not kept in parameter sets: the reflex moves the "
        "ticked effectors to hold the systemic arterial pressure at its normal value."));
    static constexpr const char* kNames[] = {"chkReflexHR", "chkReflexEmax", "chkReflexResis",
                                             "chkReflexVenous"};
    auto* row = new QHBoxLayout;
    row->setContentsMargins(24, 0, 0, 0);
    for (std::size_t i = 0; i < m_effectors.size(); ++i) {
        const std::string_view text = model::reflexEffectors()[i].name;
        m_effectors[i] =
            check(this, kNames[i], QString::fromLatin1(text.data(), qsizetype(text.size())));
        row->addWidget(m_effectors[i]);
        connect(m_effectors[i], &QCheckBox::clicked, this, [this] { reflexClicked(); });
    }
    row->addStretch(1);
    connect(m_reflex, &QCheckBox::clicked, this, [this] { reflexClicked(); });
    auto* v = new QVBoxLayout;
    v->addWidget(m_reflex);
    v->addLayout(row);
    showAVBlockOfState();
    return v;
}

void frmOptions::reflexClicked() {
    model::ReflexOptions o;
    o.on = m_reflex->isChecked();
    for (std::size_t i = 0; i < m_effectors.size(); ++i)
        o.effector[i] = m_effectors[i]->isChecked();
    setReflex(o);
    showAVBlockOfState();
}

void frmOptions::showAVBlockOfState() {
    const model::ModelState& s = model::state();
    m_avBlock->setChecked(s.AVBlock != 0);
    const model::ReflexOptions& o = s.Reflex.options;
    m_reflex->setChecked(o.on);
    for (std::size_t i = 0; i < m_effectors.size(); ++i) {
        m_effectors[i]->setChecked(o.effector[i]);
        // The effectors can be chosen only while the reflex is on.
        m_effectors[i]->setEnabled(o.on);
    }
}

bool frmOptions::avBlockChecked() const {
    return m_avBlock->isChecked();
}

void frmOptions::showIntervals() {
    const model::ModelState& s = model::state();
    m_print->setText(decimalText(s.PrintInterval));
    m_iteration->setText(decimalText(s.IterInterval));
}

bool frmOptions::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) showIntervals();
    return QWidget::event(e);
}

void frmOptions::intervalsClicked(bool checked) {
    if (checked) {
        // A refused value ends the click with the box still ticked and this window open.
        if (!tickIntervals(m_iteration->text().toStdString(), m_print->text().toStdString()))
            return;
    } else {
        untickIntervals();
    }
    commonEnding();
}

void frmOptions::commonEnding() {
    showIntervals();
    hide();
    forms::hide(forms::frmOptionHelp);
    forms::show(forms::frmCVModel);
    forms::show(forms::frmPlotData);
}

void frmOptions::originalClicked(bool checked) {
    if (!checked) return;
    hide();
    useOriginalParameters();
    workbench::forgetUndo();
    m_currentFile->setText(QStringLiteral("Original Parameter Set"));
}

void frmOptions::afterFileWork() {
    AppState& a = appState();
    if (a.LabBookState == kNoLabBook) a.LabBookBase = a.StartPath;
    hide();
}

void frmOptions::exportClicked() {
    const QString chosen = ui::seam().saveFile(
        this, QStringLiteral("Enter a unique file name for your saved set of parameters"),
        paramSetFolder(), kFilter, ui::Replace::DialogAsks);
    if (chosen.isEmpty()) return;  // Cancel: nothing is reset, nothing is said
    const std::string written = saveParameterSet(localPath(chosen));
    if (written.empty()) return;  // reported; the model and the boxes are as they were
    m_currentFile->setText(shownPath(written));
    afterFileWork();
}

void frmOptions::importClicked() {
    if (m_original->isChecked()) {
        ui::messageBox(QStringLiteral("Uncheck 'Use original parameter set'"), {}, this);
        return;
    }
    const QString chosen =
        ui::seam().openFile(this, QStringLiteral("Enter the name of your desired parameter set"),
                            paramSetFolder(), kFilter);
    if (chosen.isEmpty()) return;
    if (!retrieveParameterSet(localPath(chosen))) return;
    // The retrieved set is a fresh start: the changes before it cannot be taken back into it.
    workbench::forgetUndo();
    showRetrieved();
}

void frmOptions::showRetrieved() {
    m_currentFile->setText(shownPath(paramSetFile()));
    showAVBlockOfState();
    afterFileWork();
}

void frmOptions::closeEvent(QCloseEvent* e) {
    e->ignore();
    returnClicked();
}

void frmOptions::returnClicked() {
    restoreIntervals();
    hide();
    forms::hide(forms::frmOptionHelp);
    forms::show(forms::frmCVModel);
}

}  // namespace vasora::options
