#include "workbench/StripChart.h"

#include <QPainter>
#include <QResizeEvent>

namespace vasora::workbench {

StripChartSurface::StripChartSurface(QSize size)
    : m_image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32) {
    clear();
}

void StripChartSurface::clear() {
    m_pending.clear();
    m_image.fill(Qt::white);
}

const QImage& StripChartSurface::image() {
    flush();
    return m_image;
}

void StripChartSurface::flush() {
    if (m_pending.empty()) return;
    const int w = m_image.width(), h = m_image.height();
    uchar* bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (const Pending& p : m_pending) {
        // A wide pen's point is centred on (x, y) as a painter would draw it: (x-1..x, y-1..y).
        const int n = p.penWidth >= 2 ? 2 : 1;
        const int x0 = p.x - (n - 1), y0 = p.y - (n - 1);
        for (int yy = y0; yy < y0 + n; ++yy) {
            if (yy < 0 || yy >= h) continue;
            auto* line = reinterpret_cast<QRgb*>(bits + yy * stride);
            for (int xx = x0; xx < x0 + n; ++xx)
                if (xx >= 0 && xx < w) line[xx] = p.rgb;
        }
    }
    m_pending.clear();
}

void StripChartSurface::resize(QSize size) {
    size = size.expandedTo(QSize(1, 1));
    if (size == m_image.size()) return;
    flush();
    QImage next(size, QImage::Format_RGB32);
    next.fill(Qt::white);
    {
        QPainter p(&next);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint(0, 0), size), m_image);
    }
    m_image = std::move(next);
}

StripChartWidget::StripChartWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 120);
}

void StripChartWidget::changed() {
    if (m_updatePending) return;
    m_updatePending = true;
    update();
}

void StripChartWidget::paintEvent(QPaintEvent*) {
    m_updatePending = false;
    QPainter p(this);
    p.drawImage(0, 0, m_surface.image());
    // Minute marks of the three-minute sweep, under the trace.
    p.setPen(QPen(QColor(210, 210, 210), 1, Qt::DotLine));
    for (int m = 1; m < 3; ++m) {
        const int x = m * m_surface.width() / 3;
        p.drawLine(x, 0, x, height());
    }
}

void StripChartWidget::resizeEvent(QResizeEvent* e) {
    m_surface.resize(e->size());
    QWidget::resizeEvent(e);
}

}  // namespace vasora::workbench
