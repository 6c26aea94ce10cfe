#include "workbench/frmLayout.h"

#include "workbench/ValueAccess.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <cmath>

#include "model/ModelState.h"
#include "model/Quantities.h"
#include "shell/Dialogs.h"
#include "workbench/LayoutSheet.h"

namespace vasora::workbench {

using namespace vasora::model;

namespace {

// The legend's classes, which are also the design backgrounds of the value labels.
enum class Look { Variable, Computed, Parameter, Fixed, White, Window };

const QColor kComputed(255, 192, 128);
const QColor kParameter(255, 255, 0);
const QColor kChangedLegend(192, 255, 255);
const QColor kFixed(192, 255, 192);
const QColor kSheet(252, 252, 248);

QColor lookColour(Look k) {
    switch (k) {
        case Look::Variable:
            return QApplication::palette().color(QPalette::Button);
        case Look::Computed:
            return kComputed;
        case Look::Parameter:
            return kParameter;
        case Look::Fixed:
            return kFixed;
        case Look::White:
            return Qt::white;
        case Look::Window:
            return kSheet;
    }
    return Qt::white;
}

void paintBack(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

class LayoutPicture final : public QWidget {
  public:
    explicit LayoutPicture(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("ImgLayout"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        // The picture is drawn in the sheet's design units, at the sheet's scale.
        const double scale = double(parentWidget()->width()) / kLayoutSheetSize.width();
        QPainter p(this);
        p.translate(-pos());
        p.scale(scale, scale);
        paintLayoutPicture(p);
    }
};

// A caption of the sheet at `r`.
QLabel* sheetText(QWidget* sheet, const QString& caption, QRect r,
                  Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(caption, sheet);
    l->setGeometry(r);
    l->setAlignment(a);
    return l;
}

// A value label named `name` at `r`, in the colour of its kind.
QLabel* sheetValue(QWidget* sheet, const QString& name, QRect r, Look k) {
    auto* l = new ValueLabel(sheet);
    l->setObjectName(name);
    makeValueLabel(l, name, false);
    l->setGeometry(r);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMargin(1);
    paintBack(l, lookColour(k));
    return l;
}

}  // namespace

frmLayout::frmLayout(QWidget* parent)
    : QWidget(parent, Qt::Window), m_layout(this, kLayoutSheetSize) {
    setObjectName(forms::frmLayout.str());
    setWindowTitle(QStringLiteral("Model Layout"));
    setFixedSize(kLayoutSheetSize);
    paintBack(this, kSheet);

    auto* picture = new LayoutPicture(this);
    picture->setGeometry(0, 36, kLayoutSheetSize.width(), 570);
    buildTitleAndLegend();
    buildCompartments();
    buildVentricles();
    buildTotals();
    buildFilesAndButtons();
    picture->lower();
    arrowsBetweenValues(this);
    indexControls(this);
}

void frmLayout::buildTitleAndLegend() {
    QLabel* title = sheetText(this, QStringLiteral("   Vasora Model"), QRect(6, 4, 250, 32));
    title->setObjectName(QStringLiteral("Label11"));
    QFont big = title->font();
    big.setPixelSize(22);
    big.setBold(true);
    title->setFont(big);
    QLabel* note = sheetText(this, QStringLiteral(" > See Information File for details <"),
                             QRect(260, 10, 260, 22));
    note->setObjectName(QStringLiteral("Label7"));

    struct Legend {
        const char* name;
        const char* caption;
        QColor colour;
    };
    const Legend legend[] = {
        {"Label27", "        Variable", lookColour(Look::Variable)},
        {"Label56", "      Computed", kComputed},
        {"Label51", "      Parameter", kParameter},
        {"Label55", "  Changed Param", kChangedLegend},
        {"Label53", " Fixed Parameter", kFixed},
    };
    for (int k = 0; k < 5; ++k) {
        QLabel* l = sheetText(this, QString::fromLatin1(legend[k].caption),
                              QRect(530 + k * 113, 10, 110, 22));
        l->setObjectName(QString::fromLatin1(legend[k].name));
        QFont small = l->font();
        small.setPixelSize(11);
        l->setFont(small);
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        paintBack(l, legend[k].colour);
    }
}

void frmLayout::buildCompartments() {
    // The six compartments, one column of values each, named from the table of quantities.
    static constexpr const char* kCaptions[] = {
        "",          " Syst Artery", " Syst Vein",     " Right Ventricle",
        " Pulm Art", " Pulm Vein",   " Left Ventricle"};
    QFont bold = font();
    bold.setBold(true);
    for (const CompartmentInfo& c : compartments()) {
        const QRect r = layoutBoxes()[static_cast<std::size_t>(c.index)];
        sheetText(this, QString::fromLatin1(kCaptions[c.index]),
                  QRect(r.x() + 8, r.y() + 4, r.width() - 16, 22), Qt::AlignCenter)
            ->setFont(bold);
        auto name = [&c](Role role) {
            const Quantity* q = compartmentQuantity(c.index, role);
            return q ? QString::fromLatin1(q->layoutLabel.data(), qsizetype(q->layoutLabel.size()))
                     : QStringLiteral("lblResis") +
                           QLatin1String(c.suffix.data(), qsizetype(c.suffix.size()));
        };
        struct Row {
            const char* caption;
            Role role;
            Look look;
        };
        const Row rows[] = {
            {c.ventricle ? "      EDP " : "  Pressure", Role::Pressure, Look::Variable},
            {"      Out Flow", Role::Flow, Look::Variable},
            {" Vstressed", Role::Volume, Look::Variable},
            {"     Vunstress", Role::Unstressed, c.index == SysV ? Look::Variable : Look::Fixed},
            {" V total", Role::WholeVolume, Look::Variable},
            {"  Compliance", Role::Compliance, Look::Parameter},
            {"  Resistance", Role::Resistance, c.ventricle ? Look::Window : Look::Parameter},
        };
        int y = r.y() + 28;
        for (const Row& row : rows) {
            sheetText(this, QString::fromLatin1(row.caption), QRect(r.x() + 8, y, 130, 20));
            QLabel* l =
                sheetValue(this, name(row.role), QRect(r.right() - 104, y, 96, 20), row.look);
            // The ventricles have no outflow resistance in the model.
            if (c.ventricle && row.role == Role::Resistance) l->setText(QStringLiteral("zero"));
            y += 20;
        }
    }
    sheetText(this, QStringLiteral("  Pstress = EDP - Pit"), QRect(480, 362, 140, 20),
              Qt::AlignCenter);
}

void frmLayout::buildVentricles() {
    QFont bold = font();
    bold.setBold(true);
    // The ventricles' data beside their boxes.
    struct Side {
        const char* caption;
        const char* rv;
        Look rvLook;
        const char* lv;
        Look lvLook;
    };
    static constexpr Side kSides[] = {
        {" Hrt Rate ", "lblHR_RV", Look::Parameter, "lblHR_LV", Look::Parameter},
        {nullptr, "lblK2_RV", Look::White, "lblK2_LV", Look::Variable},
        {"   EDV ", "lblEDV_RV", Look::Variable, "lblEDV_LV", Look::Variable},
        {"   ESV ", "lblESV_RV", Look::Window, "lblESV_LV", Look::Variable},
        {"    SV  ", "lblSV_RV", Look::Variable, "lblSV_LV", Look::Variable},
        {"  Eject F ", "lblEjectF_RV", Look::Computed, "lblEjectF_LV", Look::Computed},
        {"  EMax ", "lblEmax_RV", Look::Parameter, "lblEmax_LV", Look::Parameter},
        {"  Vo ", "lblVo_RV", Look::Fixed, "lblVo_LV", Look::Parameter},
    };
    for (int side = 0; side < 2; ++side) {
        const int x = side == 0 ? 10 : 890;
        sheetText(this, QString::fromLatin1(side == 0 ? " Right Ventricle" : " Left Ventricle"),
                  QRect(x, 214, 200, 22), Qt::AlignCenter)
            ->setFont(bold);
        int y = 240;
        for (const Side& s : kSides) {
            const QString caption = s.caption ? QString::fromLatin1(s.caption)
                                              : QString::fromLatin1(side == 0 ? "RV K2 " : "LV K2");
            sheetText(this, caption, QRect(x + 4, y, 100, 20));
            sheetValue(this, QString::fromLatin1(side == 0 ? s.rv : s.lv),
                       QRect(x + 108, y, 88, 20), side == 0 ? s.rvLook : s.lvLook);
            y += 24;
        }
        sheetText(this, QString::fromLatin1(side == 0 ? "      P ra " : "    P la "),
                  QRect(x + 4, y + 6, 100, 20));
        sheetValue(this, side == 0 ? QStringLiteral("lblPra") : QStringLiteral("lblPla"),
                   QRect(x + 108, y + 6, 88, 20), Look::Computed);
    }
}

void frmLayout::buildTotals() {
    // Totals along the bottom, in two rows of four.
    struct Total {
        const char* caption;
        const char* name;
        Look look;
    };
    static constexpr Total kTotals[] = {
        {" Total Stressed V", "lblVtotStrs", Look::Window},
        {" Total Unstressed", "lblVunstrsTotal", Look::Parameter},
        {" Total Bld Volume", "lblVtotalBody", Look::Parameter},
        {"     Pmcf", "lblPmcf", Look::Computed},
        {"       Pit  ", "lblPit", Look::Parameter},
        {" C pericardium", "lblCompPericard", Look::Fixed},
        {"  Time =", "lblTime", Look::Variable},
    };
    int k = 0;
    for (const Total& t : kTotals) {
        const int x = 10 + (k % 4) * 272;
        const int y = 608 + (k / 4) * 30;
        sheetText(this, QString::fromLatin1(t.caption), QRect(x, y, 124, 22));
        sheetValue(this, QString::fromLatin1(t.name), QRect(x + 126, y, 100, 22), t.look);
        ++k;
    }
    // The blood pressure takes the last place: systolic over diastolic.
    const int bx = 10 + 3 * 272, by = 608 + 30;
    sheetText(this, QStringLiteral(" Blood pressure ="), QRect(bx, by, 124, 22));
    sheetValue(this, QStringLiteral("lblSystP"), QRect(bx + 126, by, 48, 22), Look::Computed);
    sheetText(this, QStringLiteral("/"), QRect(bx + 174, by, 8, 22), Qt::AlignCenter);
    sheetValue(this, QStringLiteral("lblDiasP"), QRect(bx + 182, by, 48, 22), Look::Computed);
}

void frmLayout::buildFilesAndButtons() {
    auto* labBook = new QLineEdit(QStringLiteral(" Original Lab Book"), this);
    labBook->setObjectName(QStringLiteral("txtLabBookF"));
    labBook->setReadOnly(true);
    labBook->setGeometry(10, 668, 330, 26);
    auto* paramFile = new QLineEdit(QStringLiteral(" Original Parameter data set"), this);
    paramFile->setObjectName(QStringLiteral("txtCurrentF"));
    paramFile->setReadOnly(true);
    paramFile->setGeometry(350, 668, 430, 26);

    auto* print = new QPushButton(QStringLiteral(" Print Layout"), this);
    print->setObjectName(QStringLiteral("cmdPrint"));
    print->setToolTip(QStringLiteral("Print at time shown"));
    print->setGeometry(800, 666, 140, 30);
    auto* back = new QPushButton(QStringLiteral(" Return"), this);
    back->setObjectName(QStringLiteral("cmdReturn"));
    back->setToolTip(QStringLiteral("Return to Model"));
    back->setGeometry(950, 666, 140, 30);
    connect(print, &QPushButton::clicked, this, [this] { this->print(); });
    connect(back, &QPushButton::clicked, this, [this] { returnToModel(); });
}

void frmLayout::fill() {
    for (const LayoutValue& v : layoutValues(state())) {
        auto* l = qobject_cast<QLabel*>(control(v.label));
        if (!l) continue;
        const QString t = QString::fromStdString(v.caption);
        if (l->text() != t) l->setText(t);
        if (v.hasColour) {
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, v.red ? QColor(255, 0, 0) : QColor(Qt::black));
            l->setPalette(p);
        }
    }
}

bool frmLayout::event(QEvent* e) {
    // Filling on show as well keeps the sheet current where a window manager shows it without
    // activating it.
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) fill();
    return QWidget::event(e);
}

void frmLayout::closeEvent(QCloseEvent* e) {
    // Opened from the model window, the sheet is the only window left on screen: closing it by
    // its frame returns to the model as Return does, rather than leaving no window at all.
    e->ignore();
    returnToModel();
}

void frmLayout::returnToModel() {
    hide();
    forms::hide(forms::frmMain);
    forms::show(forms::frmCVModel);
    forms::show(forms::frmPlotData);
}

QSize frmLayout::designSize() const {
    return m_layout.designSize();
}

void frmLayout::setDisplayScale(double scale) {
    m_layout.apply(scale);
    update();
}

bool frmLayout::printTo(QPrinter& printer) {
    // The page gets the sheet at its design size, whatever it is scaled to on the screen.
    const double onScreen = m_layout.scale();
    if (onScreen != 1) setDisplayScale(1);
    QPainter p;
    bool ok = p.begin(&printer);
    if (ok) {
        paintLayoutSheet(p, *this, QRectF(0, 0, printer.width(), printer.height()));
        ok = p.end();
    }
    if (onScreen != 1) setDisplayScale(onScreen);
    return ok;
}

void frmLayout::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Vasora Model Layout"));
    if (!ui::seam().print(this, printer)) return;
    if (!printTo(printer))
        ui::messageBox(QStringLiteral("The layout could not be printed."), {}, this);
}

}  // namespace vasora::workbench
