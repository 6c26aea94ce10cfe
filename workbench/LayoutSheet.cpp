#include "workbench/LayoutSheet.h"

#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/NumberFormat.h"
#include "model/Derived.h"
#include "model/Quantities.h"
#include "workbench/DiagramStyle.h"

namespace vasora::workbench {

using namespace vasora::model;

namespace {

using diagram::kArterial;
using diagram::kLine;
using diagram::kVenous;
const QColor kMuscle(150, 40, 50);

void arrow(QPainter& p, QPointF from, QPointF to) {
    p.setPen(QPen(kLine, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, QLineF(from, to).length());
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to - d * 13 + n * 7);
    head.lineTo(to - d * 13 - n * 7);
    head.closeSubpath();
    p.fillPath(head, kLine);
}

// A capillary bed: a bundle of fine vessels between two larger ones.
void capillaries(QPainter& p, const QRectF& r, const QColor& from, const QColor& to,
                 const QString& name) {
    p.setPen(QPen(kLine, 1));
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.setBrush(g);
    p.drawEllipse(r);
    p.setPen(QPen(QColor(170, 60, 80), 1.2));
    for (int k = 1; k <= 4; ++k) {
        const double y = r.top() + r.height() * k / 5;
        QPainterPath wave;
        wave.moveTo(r.left() + 14, y);
        for (double x = r.left() + 14; x < r.right() - 14; x += 12)
            wave.quadTo(x + 6, y + (k % 2 ? -5 : 5), x + 12, y);
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
    }
    p.setPen(kLine);
    QFont f = p.font();
    f.setPixelSize(13);
    f.setItalic(true);
    p.setFont(f);
    p.drawText(r.adjusted(0, r.height() + 2, 0, r.height() + 2).toRect(),
               Qt::AlignHCenter | Qt::AlignTop, name);
}

// The heart between the two ventricles: two lobes over a point, with the septum.
void heart(QPainter& p, const QRectF& r) {
    QPainterPath h;
    const double cx = r.center().x();
    h.moveTo(cx, r.top() + r.height() * 0.28);
    h.cubicTo(cx - r.width() * 0.05, r.top() - r.height() * 0.05, r.left() - r.width() * 0.15,
              r.top() + r.height() * 0.1, r.left(), r.top() + r.height() * 0.38);
    h.cubicTo(r.left() + r.width() * 0.05, r.top() + r.height() * 0.65, cx - r.width() * 0.2,
              r.top() + r.height() * 0.8, cx, r.bottom());
    h.cubicTo(cx + r.width() * 0.2, r.top() + r.height() * 0.8, r.right() - r.width() * 0.05,
              r.top() + r.height() * 0.65, r.right(), r.top() + r.height() * 0.38);
    h.cubicTo(r.right() + r.width() * 0.15, r.top() + r.height() * 0.1, cx + r.width() * 0.05,
              r.top() - r.height() * 0.05, cx, r.top() + r.height() * 0.28);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, kVenous.darker(115));
    g.setColorAt(1, kArterial.darker(115));
    p.setPen(QPen(kMuscle, 3));
    p.setBrush(g);
    p.drawPath(h);
    p.setPen(QPen(kMuscle, 2, Qt::DashLine));
    p.drawLine(QPointF(cx, r.top() + r.height() * 0.3), QPointF(cx, r.bottom() - 6));
}

}  // namespace

const std::array<QRect, 7>& layoutBoxes() {
    static const std::array<QRect, 7> boxes = [] {
        std::array<QRect, 7> b{};
        const QSize size(250, 172);
        b[PulmA] = QRect(QPoint(230, 48), size);
        b[PulmV] = QRect(QPoint(620, 48), size);
        b[RghtV] = QRect(QPoint(230, 236), size);
        b[LeftV] = QRect(QPoint(620, 236), size);
        b[SysV] = QRect(QPoint(230, 424), size);
        b[SysA] = QRect(QPoint(620, 424), size);
        return b;
    }();
    return boxes;
}

std::vector<LayoutValue> layoutValues(const ModelState& s) {
    std::vector<LayoutValue> out;
    for (const Quantity& q : quantities()) {
        if (q.layoutLabel.empty()) continue;
        LayoutValue v{q.layoutLabel, formatNumber(q.value(s), q.layoutFormat)};
        // Above the stiffening volume a ventricle's compliance is the one in effect, in red.
        if (q.stiffens) {
            v.hasColour = true;
            v.red = ventricleIsStiff(s, q.compartment);
        }
        out.push_back(std::move(v));
    }
    return out;
}

void paintLayoutPicture(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const auto& b = layoutBoxes();

    // The chest: the heart and the lungs feel the intrathoracic pressure.
    const QRect chest = b[PulmA].united(b[LeftV]).adjusted(-12, -10, 12, 10);
    p.setPen(QPen(QColor(140, 140, 150), 1.5, Qt::DashLine));
    p.setBrush(QColor(247, 246, 240));
    p.drawRoundedRect(chest, 22, 22);

    capillaries(p, QRectF(495, 80, 110, 56), kVenous, kArterial, QStringLiteral("Lungs"));
    capillaries(p, QRectF(495, 482, 110, 56), kArterial, kVenous, QStringLiteral("Body"));
    heart(p, QRectF(500, 268, 100, 90));

    for (int i = 1; i <= kCompartments; ++i) {
        const bool arterial = i == SysA || i == PulmV || i == LeftV;
        const bool ventricle = i == RghtV || i == LeftV;
        p.setPen(ventricle ? QPen(kMuscle, 4) : QPen(kLine, 1.5));
        p.setBrush(arterial ? kArterial : kVenous);
        p.drawRoundedRect(b[static_cast<std::size_t>(i)], 10, 10);
    }

    // Around the loop in the direction of flow.
    auto midY = [&](int i) { return b[static_cast<std::size_t>(i)].center().y(); };
    auto midX = [&](int i) { return b[static_cast<std::size_t>(i)].center().x(); };
    arrow(p, QPointF(b[PulmA].right(), 108), QPointF(495, 108));
    arrow(p, QPointF(605, 108), QPointF(b[PulmV].left() - 1, 108));
    arrow(p, QPointF(midX(PulmV), b[PulmV].bottom()), QPointF(midX(LeftV), b[LeftV].top() - 1));
    arrow(p, QPointF(midX(LeftV), b[LeftV].bottom()), QPointF(midX(SysA), b[SysA].top() - 1));
    arrow(p, QPointF(b[SysA].left(), midY(SysA) - 6), QPointF(605, midY(SysA) - 6));
    arrow(p, QPointF(495, midY(SysV) - 6), QPointF(b[SysV].right() + 1, midY(SysV) - 6));
    arrow(p, QPointF(midX(SysV), b[SysV].top()), QPointF(midX(RghtV), b[RghtV].bottom() + 1));
    arrow(p, QPointF(midX(RghtV), b[RghtV].top()), QPointF(midX(PulmA), b[PulmA].bottom() + 1));
    p.restore();
}

QRectF paintLayoutSheet(QPainter& p, const QWidget& sheet, const QRectF& target) {
    const QSizeF size(kLayoutSheetSize);
    const double scale = std::min(target.width() / size.width(), target.height() / size.height());
    const QRectF placed(target.x() + (target.width() - size.width() * scale) / 2,
                        target.y() + (target.height() - size.height() * scale) / 2,
                        size.width() * scale, size.height() * scale);
    p.save();
    p.translate(placed.topLeft());
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRect(QPoint(0, 0), kLayoutSheetSize), Qt::white);
    paintLayoutPicture(p);

    // Fonts are given in sheet pixels, so that the scale above sizes them with everything else.
    auto pixelFont = [](const QWidget* w) {
        QFont f = w->font();
        f.setPixelSize(std::max(1, QFontInfo(w->font()).pixelSize()));
        return f;
    };
    for (const QObject* o : sheet.children()) {
        const auto* w = qobject_cast<const QWidget*>(o);
        if (!w || w->isHidden()) continue;
        const QRect r = w->geometry();
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            if (l->autoFillBackground()) p.fillRect(r, l->palette().color(QPalette::Window));
            if (l->frameShape() != QFrame::NoFrame) {
                p.setPen(QPen(QColor(110, 110, 110), 1));
                p.setBrush(Qt::NoBrush);
                p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
            }
            p.setFont(pixelFont(l));
            p.setPen(l->palette().color(QPalette::WindowText));
            p.drawText(r.adjusted(l->margin() + 2, 0, -l->margin() - 2, 0),
                       static_cast<int>(l->alignment()) | Qt::TextSingleLine, l->text());
        } else if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
            p.fillRect(r, Qt::white);
            p.setPen(QPen(QColor(110, 110, 110), 1));
            p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
            p.setFont(pixelFont(e));
            p.setPen(Qt::black);
            p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, e->text());
        }
    }
    p.restore();
    return placed;
}

}  // namespace vasora::workbench
