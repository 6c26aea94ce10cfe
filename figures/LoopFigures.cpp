// The circulation as the model sees it: six compartments in a loop (602), and the same loop
// simplified with the normal values a learner records in the lab book (001). Both use one
// arrangement, the model window's: the right heart on the left, the lungs on top, the body
// below, flow running clockwise.

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <functional>

#include "core/NumberFormat.h"
#include "figures/Canvas.h"
#include "figures/FigurePainters.h"
#include "figures/Figures.h"
#include "figures/ModelRuns.h"
#include "figures/Style.h"
#include "model/Quantities.h"

namespace vasora::figures {

using namespace style;
using namespace vasora::model;

namespace {

struct LoopLayout {
    std::array<QRectF, 7> box;  ///< by compartment index
    QRectF chest;
    QRectF lungs, body, heart;
};

LoopLayout loopLayout() {
    LoopLayout l;
    const QSizeF size(190, 92);
    const double left = 60, right = 430, top = 50, middle = 194, bottom = 346;
    l.box[PulmA] = QRectF(QPointF(left, top), size);
    l.box[PulmV] = QRectF(QPointF(right, top), size);
    l.box[RghtV] = QRectF(QPointF(left, middle), size);
    l.box[LeftV] = QRectF(QPointF(right, middle), size);
    l.box[SysV] = QRectF(QPointF(left, bottom), size);
    l.box[SysA] = QRectF(QPointF(right, bottom), size);
    l.chest = QRectF(QPointF(36, 18), QPointF(644, middle + size.height() + 18));
    l.lungs = QRectF(282, top + 22, 116, 48);
    l.body = QRectF(282, bottom + 22, 116, 48);
    l.heart = QRectF(300, middle + 12, 80, 70);
    return l;
}

bool oxygenated(int i) {
    return i == SysA || i == PulmV || i == LeftV;
}
bool ventricle(int i) {
    return i == RghtV || i == LeftV;
}

// A resistance as a drawing marks one: a zigzag across the path from a to b.
void resistor(QPainter& p, QPointF a, QPointF b, const QColor& colour) {
    const QPointF d = b - a;
    const QPointF n(-d.y() / std::hypot(d.x(), d.y()) * 6, d.x() / std::hypot(d.x(), d.y()) * 6);
    QPainterPath z(a);
    const int teeth = 6;
    for (int k = 1; k < teeth * 2; ++k) z.lineTo(a + d * (k / (teeth * 2.0)) + (k % 2 ? n : -n));
    z.lineTo(b);
    p.save();
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(z);
    p.restore();
}

// A capillary bed: an ellipse shading from one blood colour to the other.
void bed(QPainter& p, const QRectF& r, const QColor& from, const QColor& to, const QString& name) {
    QLinearGradient g(r.topRight(), r.topLeft());
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.save();
    p.setPen(QPen(kMuted, 1));
    p.setBrush(g);
    p.drawEllipse(r);
    p.restore();
    text(p, r.center(), name, Qt::AlignCenter, kText, kInk, false, true);
}

void heartShape(QPainter& p, const QRectF& r) {
    const double cx = r.center().x(), w = r.width(), h = r.height();
    QPainterPath s;
    s.moveTo(cx, r.top() + h * 0.25);
    s.cubicTo(cx - w * 0.1, r.top() - h * 0.05, r.left() - w * 0.1, r.top() + h * 0.1, r.left(),
              r.top() + h * 0.38);
    s.cubicTo(r.left() + w * 0.05, r.top() + h * 0.66, cx - w * 0.22, r.top() + h * 0.8, cx,
              r.bottom());
    s.cubicTo(cx + w * 0.22, r.top() + h * 0.8, r.right() - w * 0.05, r.top() + h * 0.66, r.right(),
              r.top() + h * 0.38);
    s.cubicTo(r.right() + w * 0.1, r.top() + h * 0.1, cx + w * 0.1, r.top() - h * 0.05, cx,
              r.top() + h * 0.25);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, kVenousFill.darker(108));
    g.setColorAt(1, kArterialFill.darker(108));
    p.save();
    p.setPen(QPen(kMuscle, 2.2));
    p.setBrush(g);
    p.drawPath(s);
    p.restore();
}

// The loop without its compartments' contents: chest, beds, heart, boxes and the flow between
// them. `detailed` adds the resistances and their names.
void paintLoop(QPainter& p, const LoopLayout& l, bool detailed) {
    box(p, l.chest, kChestFill, kMuted, 1.1, 22);
    p.save();
    p.setPen(QPen(kMuted, 1.1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(l.chest, 22, 22);
    p.restore();
    text(p, l.chest.topLeft() + QPointF(18, 14),
         detailed ? QStringLiteral("CHEST: the intrathoracic pressure acts on these four "
                                   "compartments")
                  : QStringLiteral("chest"),
         Qt::AlignLeft | Qt::AlignVCenter, kSmall, kMuted, false, true);

    bed(p, l.lungs, kArterialFill, kVenousFill, QStringLiteral("lungs"));
    bed(p, l.body, kVenousFill, kArterialFill, QStringLiteral("body"));
    heartShape(p, l.heart);

    for (int i = 1; i <= kCompartments; ++i) {
        const auto k = static_cast<std::size_t>(i);
        box(p, l.box[k], oxygenated(i) ? kArterialFill : kVenousFill,
            ventricle(i) ? kMuscle : kMuted, ventricle(i) ? 3.2 : 1.3, 10);
    }

    const QColor flow = kInk;
    const auto& b = l.box;
    // Across the lungs and the body: compartment, bed, compartment.
    const double yTop = b[PulmA].center().y(), yBottom = b[SysA].center().y();
    arrow(p, QPointF(b[PulmA].right(), yTop), QPointF(l.lungs.left() - 2, yTop), flow);
    arrow(p, QPointF(l.lungs.right(), yTop), QPointF(b[PulmV].left() - 2, yTop), flow);
    arrow(p, QPointF(b[SysA].left(), yBottom), QPointF(l.body.right() + 2, yBottom), flow);
    arrow(p, QPointF(l.body.left(), yBottom), QPointF(b[SysV].right() + 2, yBottom), flow);
    // Up the right side of the loop, down the left.
    const double xL = b[SysV].center().x(), xR = b[SysA].center().x();
    const QPointF veinsOut(xL, b[SysV].top()), rvIn(xL, b[RghtV].bottom() + 2);
    const QPointF pvOut(xR, b[PulmV].bottom()), lvIn(xR, b[LeftV].top() - 2);
    if (detailed) {
        resistor(p, veinsOut + QPointF(0, -12), veinsOut + QPointF(0, -44), kInk);
        arrow(p, veinsOut + QPointF(0, -44), rvIn, flow);
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(veinsOut, veinsOut + QPointF(0, -12));
        resistor(p, pvOut + QPointF(0, 10), pvOut + QPointF(0, 42), kInk);
        p.drawLine(pvOut, pvOut + QPointF(0, 10));
        arrow(p, pvOut + QPointF(0, 42), lvIn, flow);
    } else {
        arrow(p, veinsOut, rvIn, flow);
        arrow(p, pvOut, lvIn, flow);
    }
    arrow(p, QPointF(xL, b[RghtV].top()), QPointF(xL, b[PulmA].bottom() + 2), flow, 2.6, 11);
    arrow(p, QPointF(xR, b[LeftV].bottom()), QPointF(xR, b[SysA].top() - 2), flow, 2.6, 11);
}

void boxTitle(QPainter& p, const QRectF& r, const QString& name) {
    text(p, QPointF(r.center().x(), r.top() + 16), name, Qt::AlignCenter, kAxisTitle, kInk, true);
}

}  // namespace

void paintModelLayout(QPainter& p, const QRectF& target) {
    const Canvas canvas(p, target, drawingSize(602));
    const LoopLayout l = loopLayout();
    paintLoop(p, l, true);

    struct Part {
        int i;
        const char *name, *what;
    };
    static constexpr Part kParts[] = {
        {SysA, "Systemic arteries", "compliance, resistance,\nvolume, pressure"},
        {SysV, "Systemic veins", "the largest store of blood,\nmost of it unstressed"},
        {RghtV, "Right ventricle", "a pump: heart rate, Emax,\nfilling completeness K2"},
        {PulmA, "Pulmonary arteries", "compliance, resistance,\nvolume, pressure"},
        {PulmV, "Pulmonary veins", "compliance, resistance,\nvolume, pressure"},
        {LeftV, "Left ventricle", "a pump: heart rate, Emax,\nvolume intercept Vo"},
    };
    for (const Part& part : kParts) {
        const QRectF& r = l.box[static_cast<std::size_t>(part.i)];
        boxTitle(p, r, QString::fromUtf8(part.name));
        text(p, QPointF(r.center().x(), r.top() + 56), QString::fromUtf8(part.what),
             Qt::AlignCenter, kSmall + 0.5, kInk);
        // The model numbers its compartments; the learner meets the numbers in parameter files.
        const QPointF badge = r.topLeft() + QPointF(14, 14);
        p.setPen(QPen(kMuted, 1));
        p.setBrush(Qt::white);
        p.drawEllipse(badge, 8.5, 8.5);
        text(p, badge, QString::number(part.i), Qt::AlignCenter, kSmall, kInk, true);
    }

    // The four resistances, named where they sit.
    const auto& b = l.box;
    text(p, QPointF(l.lungs.center().x(), l.lungs.top() - 6),
         QStringLiteral("pulmonary arterial\nresistance"), Qt::AlignHCenter | Qt::AlignBottom,
         kSmall, kInk);
    text(p, QPointF(l.body.center().x(), l.body.bottom() + 6),
         QStringLiteral("systemic arterial resistance\n(arterioles)"),
         Qt::AlignHCenter | Qt::AlignTop, kSmall, kInk);
    text(p, QPointF(b[SysV].center().x() + 14, (b[SysV].top() + b[RghtV].bottom()) / 2),
         QStringLiteral("venous resistance"), Qt::AlignLeft | Qt::AlignVCenter, kSmall, kInk);
    text(p, QPointF(b[PulmV].center().x() - 14, (b[PulmV].bottom() + b[LeftV].top()) / 2),
         QStringLiteral("pulmonary venous\nresistance"), Qt::AlignRight | Qt::AlignVCenter, kSmall,
         kInk);
    text(p, QPointF(b[RghtV].center().x() - 10, (b[RghtV].top() + b[PulmA].bottom()) / 2),
         QStringLiteral("ejection"), Qt::AlignRight | Qt::AlignVCenter, kSmall, kMuted, false,
         true);
    text(p, QPointF(b[LeftV].center().x() + 10, (b[LeftV].bottom() + b[SysA].top()) / 2),
         QStringLiteral("ejection"), Qt::AlignLeft | Qt::AlignVCenter, kSmall, kMuted, false, true);

    // The key, in one row under the loop.
    const double y = 482;
    arrow(p, QPointF(92, y), QPointF(126, y), kInk);
    text(p, QPointF(132, y), QStringLiteral("direction of flow"), Qt::AlignLeft | Qt::AlignVCenter,
         kText);
    p.fillRect(QRectF(262, y - 7, 22, 14), kArterialFill);
    text(p, QPointF(290, y), QStringLiteral("oxygen-rich blood"), Qt::AlignLeft | Qt::AlignVCenter,
         kText);
    p.fillRect(QRectF(404, y - 7, 22, 14), kVenousFill);
    text(p, QPointF(432, y), QStringLiteral("oxygen-poor blood"), Qt::AlignLeft | Qt::AlignVCenter,
         kText);
    resistor(p, QPointF(560, y), QPointF(586, y), kInk);
    text(p, QPointF(592, y), QStringLiteral("resistance"), Qt::AlignLeft | Qt::AlignVCenter, kText);
}

void paintLabBookLoop(QPainter& p, const QRectF& target) {
    const ModelState s = normalCirculation();
    const Canvas canvas(p, target, drawingSize(1));
    const LoopLayout l = loopLayout();
    paintLoop(p, l, false);

    // Each value as the model window shows it, so that it matches what the learner records.
    auto shown = [&s](std::string_view label) {
        const Quantity* q = quantityByLabel(label);
        if (!q) return QString();
        // The window's pattern keeps a point after whole numbers ("5500."); in running text
        // the point would read as a full stop.
        QString t = QString::fromStdString(formatNumber(q->value(s), q->format)).trimmed();
        if (t.endsWith(QLatin1Char('.'))) t.chop(1);
        return t;
    };
    struct Part {
        int i;
        const char* name;
        std::string_view pressure, volume;
    };
    static constexpr Part kParts[] = {
        {SysA, "Systemic arteries", "lblPressSysA", "lblVstrsSysA"},
        {SysV, "Systemic veins", "lblPressSysV", "lblVstrsSysV"},
        {PulmA, "Pulmonary arteries", "lblPressPulmA", "lblVstrsPulmA"},
        {PulmV, "Pulmonary veins", "lblPressPulmV", "lblVstrsPulmV"},
    };
    for (const Part& part : kParts) {
        const QRectF& r = l.box[static_cast<std::size_t>(part.i)];
        boxTitle(p, r, QString::fromUtf8(part.name));
        text(p, QPointF(r.center().x(), r.top() + 54),
             QStringLiteral("pressure %1 mmHg\nstressed volume %2 ml")
                 .arg(shown(part.pressure), shown(part.volume)),
             Qt::AlignCenter, kText, kInk);
    }
    const QRectF& rv = l.box[RghtV];
    boxTitle(p, rv, QStringLiteral("Right ventricle"));
    text(
        p, QPointF(rv.center().x(), rv.top() + 54),
        QStringLiteral("EDV %1 ml   ESV %2 ml\nSV %3 ml   EDP %4 mmHg")
            .arg(shown("lblEDV_RV"), shown("lblESV_RV"), shown("lblSV_RV"), shown("lblPressRghtV")),
        Qt::AlignCenter, kText, kInk);
    const QRectF& lv = l.box[LeftV];
    boxTitle(p, lv, QStringLiteral("Left ventricle"));
    text(
        p, QPointF(lv.center().x(), lv.top() + 54),
        QStringLiteral("EDV %1 ml   ESV %2 ml\nSV %3 ml   EDP %4 mmHg")
            .arg(shown("lblEDV_LV"), shown("lblESV_LV"), shown("lblSV_LV"), shown("lblPressLeftV")),
        Qt::AlignCenter, kText, kInk);

    text(p, QPointF(l.heart.center().x(), l.heart.bottom() + 8),
         QStringLiteral("heart rate %1 beats/min").arg(shown("lblHR_RV")),
         Qt::AlignHCenter | Qt::AlignTop, kSmall, kMuscle, true);
    note(p, QPointF(340, 478),
         QStringLiteral("flow %1 ml/min through every compartment   ·   arterial pressure %2/%3 "
                        "mmHg\nright atrium %4 mmHg   ·   Pmcf %5 mmHg   ·   blood volume %6 ml")
             .arg(shown("lblFlowLeftV"), shown("lblSystP"), shown("lblDiasP"), shown("lblPra"),
                  shown("lblPmcf"), shown("lblVtotalBody")),
         Qt::AlignCenter, kText);
}

}  // namespace vasora::figures
