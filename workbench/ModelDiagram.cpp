#include "workbench/ModelDiagram.h"

#include <QPainter>
#include <QPainterPath>

#include "model/ModelState.h"
#include "workbench/DiagramStyle.h"

namespace vasora::workbench {

using namespace vasora::model;

using namespace diagram;

namespace {

void arrow(QPainter& p, QPoint from, QPoint to, const QString& text = {}) {
    p.setPen(QPen(kLine, 3));
    p.drawLine(from, to);
    const QPointF d = QPointF(to - from) / std::max(1.0, QLineF(from, to).length());
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(QPointF(to) - d * 12 + n * 7);
    head.lineTo(QPointF(to) - d * 12 - n * 7);
    head.closeSubpath();
    p.fillPath(head, kLine);
    if (!text.isEmpty()) {
        p.setPen(kLine);
        QFont f = p.font();
        f.setItalic(true);
        p.setFont(f);
        const QPoint mid = (from + to) / 2;
        p.drawText(QRect(mid.x() - 70, mid.y() + 4, 140, 18), Qt::AlignCenter, text);
        f.setItalic(false);
        p.setFont(f);
    }
}

void panel(QPainter& p, const QRect& r, const QColor& fill) {
    p.setPen(QPen(kLine, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 6, 6);
}

}  // namespace

const DiagramGeometry& modelWindowGeometry() {
    static const DiagramGeometry g = [] {
        DiagramGeometry d;
        const QSize box(300, 148);
        d.box[PulmA] = QRect(QPoint(270, 66), box);
        d.box[PulmV] = QRect(QPoint(690, 66), box);
        d.box[RghtV] = QRect(QPoint(270, 254), box);
        d.box[LeftV] = QRect(QPoint(690, 254), box);
        d.box[SysV] = QRect(QPoint(270, 442), box);
        d.box[SysA] = QRect(QPoint(690, 442), box);
        d.chest = QRect(256, 52, 748, 366);
        d.keyPanel = QRect(10, 66, 236, 176);
        d.rightHeartPanel = QRect(10, 254, 236, 212);
        d.warningPanel = QRect(1014, 66, 236, 176);
        d.leftHeartPanel = QRect(1014, 254, 236, 236);
        d.totalsPanel = QRect(10, 600, 1240, 42);
        return d;
    }();
    return g;
}

void paintDiagram(QPainter& p, const DiagramGeometry& g) {
    p.setRenderHint(QPainter::Antialiasing);

    // The chest: compartments 3 to 6 feel the intrathoracic pressure.
    p.setPen(QPen(QColor(150, 150, 160), 1.5, Qt::DashLine));
    p.setBrush(QColor(246, 246, 240));
    p.drawRoundedRect(g.chest, 18, 18);
    p.setPen(QColor(120, 120, 130));
    p.drawText(QRect(g.chest.center().x() - 60, g.chest.bottom() - 40, 120, 18), Qt::AlignCenter,
               QStringLiteral("Inside the chest"));

    for (int i = 1; i <= kCompartments; ++i) {
        const bool arterial = i == SysA || i == PulmV || i == LeftV;
        panel(p, g.box[static_cast<std::size_t>(i)], arterial ? kArterial : kVenous);
    }
    panel(p, g.keyPanel, QColor(248, 248, 248));
    panel(p, g.rightHeartPanel, kVenous.lighter(104));
    panel(p, g.leftHeartPanel, kArterial.lighter(104));
    panel(p, g.warningPanel, QColor(255, 252, 235));
    panel(p, g.totalsPanel, QColor(240, 240, 236));

    const auto& b = g.box;
    // Around the loop in the direction of flow.
    arrow(p, QPoint(b[SysA].left(), b[SysA].center().y()),
          QPoint(b[SysV].right() + 2, b[SysV].center().y()), QStringLiteral("body"));
    arrow(p, QPoint(b[SysV].center().x(), b[SysV].top()),
          QPoint(b[RghtV].center().x(), b[RghtV].bottom() + 2));
    arrow(p, QPoint(b[RghtV].center().x(), b[RghtV].top()),
          QPoint(b[PulmA].center().x(), b[PulmA].bottom() + 2));
    arrow(p, QPoint(b[PulmA].right(), b[PulmA].center().y() - 30),
          QPoint(b[PulmV].left() - 2, b[PulmV].center().y() - 30), QStringLiteral("lungs"));
    arrow(p, QPoint(b[PulmV].center().x(), b[PulmV].bottom()),
          QPoint(b[LeftV].center().x(), b[LeftV].top() - 2));
    arrow(p, QPoint(b[LeftV].center().x(), b[LeftV].bottom()),
          QPoint(b[SysA].center().x(), b[SysA].top() - 2));
}

}  // namespace vasora::workbench
