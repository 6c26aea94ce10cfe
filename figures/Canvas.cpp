#include "figures/Canvas.h"

#include <QPainter>
#include <algorithm>

namespace vasora::figures {

Canvas::Canvas(QPainter& p, const QRectF& target, QSizeF logical) : m_p(p) {
    p.save();
    p.fillRect(target, Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const double scale =
        std::min(target.width() / logical.width(), target.height() / logical.height());
    p.translate(target.center());
    p.scale(scale, scale);
    p.translate(-logical.width() / 2, -logical.height() / 2);
    p.setClipRect(QRectF(QPointF(0, 0), logical));
}

Canvas::~Canvas() {
    m_p.restore();
}

}  // namespace vasora::figures
