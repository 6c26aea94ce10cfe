#include "workbench/frmCVModel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "model/ModelLabels.h"
#include "model/ModelState.h"
#include "model/Quantities.h"
#include "shell/Navigation.h"
#include "workbench/CVModelActions.h"
#include "workbench/ModelDiagram.h"
#include "workbench/ParamLabel.h"
#include "workbench/UndoHistory.h"
#include "workbench/ValueAccess.h"

namespace vasora::workbench {

using namespace vasora::model;

namespace {

constexpr QSize kWindowSize(1260, 684);

void paintBack(QWidget* w, QColor c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

const LabelInfo* designOf(std::string_view name) {
    for (const LabelInfo& l : displayLabels())
        if (l.name == name) return &l;
    return nullptr;
}

QColor qcolor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

}  // namespace

frmCVModel::frmCVModel(QWidget* parent) : QWidget(parent, Qt::Window), m_layout(this, kWindowSize) {
    setObjectName(forms::frmCVModel.str());
    setWindowTitle(QStringLiteral("Cardiovascular Model"));
    setFixedSize(kWindowSize);
    paintBack(this, QColor(252, 252, 250));

    buildToolbar();
    buildCompartments();
    buildHeartPanels();
    buildPanels();
    arrowsBetweenValues(this);
    indexControls(this);
}

void frmCVModel::load() {
    loadModelWindow();
}

QSize frmCVModel::designSize() const {
    return m_layout.designSize();
}

void frmCVModel::setDisplayScale(double scale) {
    m_layout.apply(scale);
    update();
}

QLabel* frmCVModel::value(std::string_view name, QRect r) {
    auto* l = new ValueLabel(this);
    l->setObjectName(QString::fromLatin1(name.data(), qsizetype(name.size())));
    l->setGeometry(r);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMargin(1);
    const LabelInfo* d = designOf(name);
    paintBack(l, d ? qcolor(d->designBack) : Qt::white);
    describe(l, name, true);
    return l;
}

void frmCVModel::describe(QLabel* l, std::string_view name, bool withTip) {
    // What the label shows, for its tooltip and for a screen reader.
    makeValueLabel(l, QString::fromLatin1(name.data(), qsizetype(name.size())), withTip);
}

ParamLabel* frmCVModel::param(std::string_view name, QRect r) {
    auto* l = new ParamLabel(this);
    l->setObjectName(QString::fromLatin1(name.data(), qsizetype(name.size())));
    l->setGeometry(r);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMargin(1);
    const LabelInfo* d = designOf(name);
    paintBack(l, d ? qcolor(d->designBack) : qcolor(kParamNormal));
    describe(l, name, false);
    const QString n = l->objectName();
    connect(l, &ParamLabel::clicked, this, [this, n] { emit parameterClicked(n); });
    return l;
}

QLabel* frmCVModel::text(const QString& caption, QRect r, Qt::Alignment a) {
    auto* l = new QLabel(caption, this);
    l->setGeometry(r);
    l->setAlignment(a);
    return l;
}

QPushButton* frmCVModel::button(const char* name, const QString& caption, QRect r,
                                const QString& tip) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(r);
    if (!tip.isEmpty()) b->setToolTip(tip);
    // Enter presses the button that has the focus, as Space does.
    b->setAutoDefault(true);
    b->setAccessibleDescription(tip);
    return b;
}

void frmCVModel::buildToolbar() {
    auto* run = button("cmdRun", QStringLiteral("Run Model"), QRect(10, 8, 88, 36),
                       QStringLiteral(" Iiterate"));
    QFont bold = run->font();
    bold.setBold(true);
    run->setFont(bold);
    run->setDefault(true);

    auto* autoRun = new QCheckBox(QStringLiteral(" AutoRun"), this);
    autoRun->setObjectName(QStringLiteral("chkAutoRun"));
    autoRun->setGeometry(102, 8, 92, 36);

    auto* flowError = value("lblFlowError", QRect(198, 10, 210, 32));
    flowError->setAlignment(Qt::AlignCenter);
    flowError->setFont(bold);

    auto* percent = button("cmdPercent", QString(), QRect(412, 8, 128, 36),
                           QStringLiteral("To compute data as % control"));
    auto* percentBanner = value("lblPercent", QRect(544, 10, 150, 32));
    percentBanner->setAlignment(Qt::AlignCenter);
    percentBanner->setFrameStyle(QFrame::NoFrame);
    percentBanner->setFont(bold);

    auto* plotData = button("cmdPlotData", QStringLiteral(" Show Plot   of Data"),
                            QRect(698, 8, 130, 36), QStringLiteral("Plot Psa, CO, Venous Return"));
    // Guyton's curves and the ventricles' loops of the state shown, redrawn at every display.
    auto* guyton = button("cmdDiagram", QStringLiteral("Guyton Diagram"), QRect(832, 8, 108, 36),
                          QStringLiteral("Venous return, cardiac function and the pressure-volume "
                                         "loops of the state shown"));
    auto* layout = button("cmdLayout", QStringLiteral("Show Layout"), QRect(944, 8, 88, 36),
                          QStringLiteral("Diagram of the Model with variables and parameters"));
    auto* options = button("cmdOptions", QStringLiteral("Options"), QRect(1036, 8, 60, 36), {});
    auto* restart = button("cmdRestart", QStringLiteral("Restart"), QRect(1100, 8, 60, 36),
                           QStringLiteral("Restart the CV model"));
    auto* toMain = button("cmdToMain", QStringLiteral("To Main Menu"), QRect(1164, 8, 86, 36),
                          QStringLiteral("Used to exit Project"));

    connect(run, &QPushButton::clicked, this, [run] {
        clickRun();
        run->setFocus();
    });
    // Only the learner's click counts; the engine unticks the box itself when AutoRun ends.
    connect(autoRun, &QCheckBox::clicked, this, [](bool checked) { clickAutoRun(checked); });
    connect(percent, &QPushButton::clicked, this, [] { clickPercent(); });
    connect(plotData, &QPushButton::clicked, this, [] { clickPlotData(); });
    connect(restart, &QPushButton::clicked, this, [] { clickRestart(); });
    connect(layout, &QPushButton::clicked, this, [this] {
        forms::show(forms::frmLayout);
        hide();
        forms::hide(forms::frmPlotData);
    });
    layout->setEnabled(forms::registered(forms::frmLayout));
    connect(options, &QPushButton::clicked, this, [] { forms::show(forms::frmOptions); });
    connect(guyton, &QPushButton::clicked, this, [] { forms::show(forms::frmDiagram); });
    guyton->setEnabled(forms::registered(forms::frmDiagram));
    options->setEnabled(forms::registered(forms::frmOptions));
    connect(toMain, &QPushButton::clicked, this, [this] { toMainMenu(); });
}

void frmCVModel::buildCompartments() {
    const DiagramGeometry& g = modelWindowGeometry();
    struct Row {
        Role role;
        const char* caption;
    };
    static constexpr Row kRows[] = {
        {Role::Flow, "Flow (ml/min)"},    {Role::Pressure, "Pressure (mmHg)"},
        {Role::Volume, "Vstress (ml)"},   {Role::Compliance, "Compliance"},
        {Role::Resistance, "Resistance"},
    };
    for (const CompartmentInfo& c : compartments()) {
        const QRect r = g.box[static_cast<std::size_t>(c.index)];
        QLabel* title = value(c.nameLabel, QRect(r.x() + 6, r.y() + 5, r.width() - 12, 22));
        title->setAlignment(Qt::AlignCenter);
        title->setFrameStyle(QFrame::NoFrame);
        QFont f = title->font();
        f.setBold(true);
        title->setFont(f);
        int y = r.y() + 32;
        for (const Row& row : kRows) {
            const Quantity* q = compartmentQuantity(c.index, row.role);
            if (q) {
                text(QString::fromLatin1(row.caption), QRect(r.x() + 12, y, 170, 20));
                const QRect v(r.right() - 104, y, 96, 20);
                if (q->changeable())
                    param(q->label, v);
                else
                    value(q->label, v);
            }
            y += 22;
        }
    }
    // The intrathoracic pressure acts on everything inside the chest.
    const QRect pit(575, 300, 110, 20);
    text(QStringLiteral("P intrathoracic"), pit.translated(0, -22), Qt::AlignCenter);
    param("lblPit", pit);
    text(QStringLiteral("(mmHg)"), pit.translated(0, 22), Qt::AlignCenter);
}

void frmCVModel::buildHeartPanels() {
    const DiagramGeometry& g = modelWindowGeometry();
    struct Row {
        const char* caption;
        const char* rv;
        const char* lv;
    };
    static constexpr Row kRows[] = {
        {"Heart rate (/min)", "lblHR_RV", "lblHR_LV"},
        {"Emax (% Control)", "lblEmax_RV", "lblEmax_LV"},
        {"K2, filling", "lblK2_RV", "lblK2_LV"},
        {"EDV (ml)", "lblEDV_RV", "lblEDV_LV"},
        {"ESV (ml)", "lblESV_RV", "lblESV_LV"},
        {"Stroke volume (ml)", "lblSV_RV", "lblSV_LV"},
        {"Ejection fraction", "lblEjectF_RV", "lblEjectF_LV"},
    };
    for (int side = 0; side < 2; ++side) {
        const QRect p = side == 0 ? g.rightHeartPanel : g.leftHeartPanel;
        QLabel* title =
            text(side == 0 ? QStringLiteral("Right Ventricle") : QStringLiteral("Left Ventricle"),
                 QRect(p.x() + 6, p.y() + 4, p.width() - 12, 22), Qt::AlignCenter);
        QFont f = title->font();
        f.setBold(true);
        title->setFont(f);
        int y = p.y() + 30;
        for (const Row& r : kRows) {
            text(QString::fromLatin1(r.caption), QRect(p.x() + 10, y, 130, 20));
            const QRect v(p.right() - 92, y, 84, 20);
            const char* name = side == 0 ? r.rv : r.lv;
            // The left heart rate is a parameter of its own only with AV block; until then its
            // label looks and announces itself as not changeable.
            if (quantityByLabel(name)->changeable())
                param(name, v);
            else
                value(name, v);
            y += 24;
        }
        if (side == 1) {
            text(QStringLiteral("Left Vo (ml)"), QRect(p.x() + 10, y, 130, 20));
            param("lblVo_LV", QRect(p.right() - 92, y, 84, 20));
        }
    }
}

void frmCVModel::buildPanels() {
    buildKey();
    buildWarnings();
    buildPressures();
    buildTotals();
    buildFilesAndUndo();
}

QFont frmCVModel::boldFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

void frmCVModel::buildKey() {
    const DiagramGeometry& g = modelWindowGeometry();
    // Key.
    const QRect k = g.keyPanel;
    QLabel* keyTitle = text(QStringLiteral("Segment"), QRect(k.x() + 10, k.y() + 4, 200, 20));
    keyTitle->setFont(boldFont());
    const QString keyLines[] = {
        QStringLiteral("Flow: out of the segment, ml/min"),
        QStringLiteral("Pressure: mmHg"),
        QStringLiteral("Volume: Vstress (ml)"),
        QStringLiteral("Compliance (% Control)"),
        QStringLiteral("Resistance (% Control), path out"),
    };
    int y = k.y() + 26;
    for (const QString& line : keyLines) {
        text(line, QRect(k.x() + 10, y, k.width() - 16, 20));
        y += 20;
    }
    // The two colours a parameter label can have: at its normal value, and changed.
    QLabel* hint = text(QStringLiteral("Yellow: click to change"),
                        QRect(k.x() + 10, y + 2, k.width() - 20, 19));
    hint->setObjectName(QStringLiteral("lblKeyNormal"));
    paintBack(hint, qcolor(kParamNormal));
    QLabel* changed = text(QStringLiteral("Pale cyan: changed from normal"),
                           QRect(k.x() + 10, y + 23, k.width() - 20, 19));
    changed->setObjectName(QStringLiteral("lblKeyChanged"));
    changed->setToolTip(QStringLiteral("The marking stays until Restart or a new normal set"));
    paintBack(changed, qcolor(kColorChanged));
}

void frmCVModel::buildWarnings() {
    const DiagramGeometry& g = modelWindowGeometry();
    // Warnings, where they catch the eye.
    const QRect w = g.warningPanel;
    text(QStringLiteral("Warnings"), QRect(w.x() + 10, w.y() + 4, 200, 20))->setFont(boldFont());
    QFont warnFont = boldFont();
    warnFont.setPointSizeF(warnFont.pointSizeF() * 1.05);
    for (int i = 1; i <= 5; ++i) {
        const QByteArray name = "lblWarning" + QByteArray::number(i);
        QLabel* l = value(name.constData(),
                          QRect(w.x() + 6, w.y() + 26 + (i - 1) * 29, w.width() - 12, 26));
        l->setAlignment(Qt::AlignCenter);
        l->setFont(warnFont);
        l->setAccessibleName(QStringLiteral("Warning %1").arg(i));
    }
}

void frmCVModel::buildPressures() {
    const DiagramGeometry& g = modelWindowGeometry();
    // Atrial and arterial pressures beside the hearts.
    const QRect rv = g.rightHeartPanel;
    text(QStringLiteral("Right atrial P (mmHg)"), QRect(rv.x() + 10, rv.bottom() + 12, 140, 20));
    value("lblPra", QRect(rv.right() - 92, rv.bottom() + 12, 84, 20));
    const QRect lv = g.leftHeartPanel;
    text(QStringLiteral("Left atrial P (mmHg)"), QRect(lv.x() + 10, lv.bottom() + 10, 140, 20));
    value("lblPla", QRect(lv.right() - 92, lv.bottom() + 10, 84, 20));
    text(QStringLiteral("Systolic P (mmHg)"), QRect(lv.x() + 10, lv.bottom() + 34, 140, 20));
    value("lblSystP", QRect(lv.right() - 92, lv.bottom() + 34, 84, 20));
    text(QStringLiteral("Diastolic P (mmHg)"), QRect(lv.x() + 10, lv.bottom() + 58, 140, 20));
    value("lblDiasP", QRect(lv.right() - 92, lv.bottom() + 58, 84, 20));
}

void frmCVModel::buildTotals() {
    const DiagramGeometry& g = modelWindowGeometry();
    // Totals and the clock along the bottom.
    const QRect t = g.totalsPanel;
    const int ty = t.y() + 11;
    text(QStringLiteral("Blood Volume (ml)"), QRect(t.x() + 8, ty, 112, 20));
    param("lblVtotalBody", QRect(t.x() + 120, ty, 70, 20));
    text(QStringLiteral("V stressed ="), QRect(t.x() + 200, ty, 78, 20));
    value("lblVstrsTotal", QRect(t.x() + 278, ty, 64, 20));
    text(QStringLiteral("Unstressed (ml)"), QRect(t.x() + 352, ty, 100, 20));
    param("lblVunstrsTotal", QRect(t.x() + 452, ty, 70, 20));
    text(QStringLiteral("Pmcf (calc) ="), QRect(t.x() + 534, ty, 84, 20));
    value("lblPmcf", QRect(t.x() + 618, ty, 60, 20));
    QLabel* errCaption = text(QStringLiteral("Model Error (ml)"), QRect(t.x() + 690, ty, 104, 20));
    const QString errTip =
        QStringLiteral("Difference between initial total volume and expected total volume now.");
    errCaption->setToolTip(errTip);
    value("lblVolError", QRect(t.x() + 794, ty, 150, 20))->setToolTip(errTip);
    QLabel* timeCaption = text(QStringLiteral("Time (min)"), QRect(t.x() + 956, ty, 84, 20));
    timeCaption->setFont(boldFont());
    QLabel* time = value("lblTime", QRect(t.x() + 1042, ty, 80, 20));
    time->setFont(boldFont());
    auto* ksr = new QLabel(this);
    ksr->setObjectName(QStringLiteral("lblKsr"));
    ksr->hide();
}

void frmCVModel::buildFilesAndUndo() {
    auto* labBook = new QLineEdit(QStringLiteral(" Lab Book File"), this);
    labBook->setObjectName(QStringLiteral("txtLabBookF"));
    labBook->setReadOnly(true);
    labBook->setToolTip(QStringLiteral("The lab book file in use"));
    labBook->setGeometry(10, 650, 500, 26);
    auto* paramFile = new QLineEdit(QStringLiteral(" Parameter File"), this);
    paramFile->setObjectName(QStringLiteral("txtCurrentF"));
    paramFile->setReadOnly(true);
    paramFile->setToolTip(QStringLiteral("The parameter set in use"));
    paramFile->setGeometry(520, 650, 500, 26);

    // Taking a change back, so that a learner can try one without a Restart.
    auto* undo = button("cmdUndo", QStringLiteral("Undo last change"), QRect(1030, 648, 220, 30),
                        QStringLiteral("Take back the last change of a parameter, volume or "
                                       "pressure, with the strip chart (Ctrl+Z)"));
    undo->setAutoDefault(false);
    connect(undo, &QPushButton::clicked, this, [this] { undoClicked(); });
    auto* shortcut = new QShortcut(QKeySequence::Undo, this);
    connect(shortcut, &QShortcut::activated, this, [this] { undoClicked(); });
    QPointer<QPushButton> guarded(undo);
    setUndoListener([guarded](bool can) {
        if (guarded) guarded->setEnabled(can);
    });
}

void frmCVModel::undoClicked() {
    clickUndo();
}

ParamLabel* frmCVModel::parameterLabel(const QString& name) const {
    return findChild<ParamLabel*>(name);
}

void frmCVModel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.scale(m_layout.scale(), m_layout.scale());
    paintDiagram(p, modelWindowGeometry());
}

void frmCVModel::closeEvent(QCloseEvent* e) {
    // Closing the window by its frame goes back to the main menu, as To Main Menu does;
    // otherwise the learner would be left with no window at all.
    e->ignore();
    toMainMenu();
}

void frmCVModel::toMainMenu() {
    hide();
    shell::returnToMainMenu();
}

}  // namespace vasora::workbench
