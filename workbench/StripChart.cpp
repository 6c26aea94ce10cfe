#include "workbench/StripChart.h"

#include <QPainter>
#include <QPainterPath>

namespace vasora::workbench {

namespace {

using model::Rgb;
namespace pal = model::palette;

// The engine draws the zero line at 85 % of the height, pressures at 200 mmHg and flows at
// 15 L/min per full height; these give the scales of the two axes.
constexpr double kZeroAt = 0.85;
constexpr double kMmHgPerHeight = 200;
constexpr double kLitresPerHeight = 15;

struct TraceLook {
    QColor colour;
    qreal width;
};
const TraceLook kLooks[StripChartSurface::kTraces] = {
    {QColor(0, 0, 0), 1.0},      // zero line
    {QColor(0, 0, 255), 2.0},    // arterial pressure
    {QColor(255, 0, 0), 4.0},    // cardiac output
    {QColor(255, 0, 255), 1.4},  // venous return, inside the cardiac output where they agree
};

int traceOf(Rgb c) {
    if (c == pal::LightBlue) return StripChartSurface::Pressure;
    if (c == pal::LightRed) return StripChartSurface::CardiacOutput;
    if (c == pal::LightMagenta) return StripChartSurface::VenousReturn;
    if (c == pal::Black) return StripChartSurface::ZeroLine;
    return -1;
}

}  // namespace

StripChartSurface::StripChartSurface() {
    for (auto* s : {&m_current, &m_previous})
        for (auto& t : *s) t.assign(kLogicalWidth, -1);
}

void StripChartSurface::clear() {
    for (auto* s : {&m_current, &m_previous})
        for (auto& t : *s) std::fill(t.begin(), t.end(), short(-1));
    m_currentCount = m_previousCount = 0;
    m_lastX = -1;
}

void StripChartSurface::endSweep() {
    // The engine announces a sweep's end at every step of a short window (three thousandths of
    // a minute), so the next sweep's first points may already stand at its left edge; those
    // are no sweep to keep.
    if (m_currentCount == 0 || m_lastX < kLogicalWidth / 100) return;
    std::swap(m_current, m_previous);
    m_previousCount = m_currentCount;
    for (auto& t : m_current) std::fill(t.begin(), t.end(), short(-1));
    m_currentCount = 0;
    m_lastX = -1;
}

void StripChartSurface::point(int x, int y, Rgb colour, int) {
    const int t = traceOf(colour);
    if (t < 0 || x < 0 || x >= kLogicalWidth || y < 0 || y >= kLogicalHeight) return;
    short& slot = m_current[static_cast<std::size_t>(t)][static_cast<std::size_t>(x)];
    if (slot < 0) ++m_currentCount;
    slot = static_cast<short>(y);
    if (x > m_lastX) m_lastX = x;
}

double StripChartSurface::mmHgAt(int y) {
    return (kZeroAt - double(y) / kLogicalHeight) * kMmHgPerHeight;
}

double StripChartSurface::litresPerMinuteAt(int y) {
    return (kZeroAt - double(y) / kLogicalHeight) * kLitresPerHeight;
}

void StripChartSurface::paintSweep(QPainter& p, const QTransform& toArea, const Sweep& s, int fromX,
                                   bool faded) const {
    for (int t = 0; t < kTraces; ++t) {
        const auto& ys = s[static_cast<std::size_t>(t)];
        QPainterPath path;
        bool open = false;
        for (int x = std::max(0, fromX); x < kLogicalWidth; ++x) {
            const short y = ys[static_cast<std::size_t>(x)];
            if (y < 0) continue;
            const QPointF pt = toArea.map(QPointF(x, y));
            if (open)
                path.lineTo(pt);
            else
                path.moveTo(pt), open = true;
        }
        if (!open) continue;
        QColor c = kLooks[t].colour;
        if (faded) c.setAlpha(70);
        p.setPen(QPen(c, kLooks[t].width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

void StripChartSurface::paint(QPainter& p, const QRectF& area) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, Qt::white);
    const QTransform toArea =
        QTransform::fromTranslate(area.left(), area.top())
            .scale(area.width() / kLogicalWidth, area.height() / kLogicalHeight);

    // Scales: pressure on the left, flow on the right, both from the zero line.
    const QFont font = p.font();
    const QFontMetricsF fm(font);
    auto yOf = [&](double fraction) { return area.top() + (kZeroAt - fraction) * area.height(); };
    p.setPen(QPen(QColor(225, 225, 225), 1));
    for (int mmHg = 50; mmHg < 170; mmHg += 50)
        p.drawLine(QPointF(area.left(), yOf(mmHg / kMmHgPerHeight)),
                   QPointF(area.right(), yOf(mmHg / kMmHgPerHeight)));
    p.setPen(QPen(QColor(210, 210, 210), 1, Qt::DotLine));
    for (int m = 1; m < 3; ++m) {
        const double x = area.left() + m * area.width() / 3;
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    p.setPen(QPen(kLooks[Pressure].colour, 1));
    for (int mmHg = 0; mmHg < 170; mmHg += 50) {
        const double y = yOf(mmHg / kMmHgPerHeight);
        p.drawLine(QPointF(area.left() - 5, y), QPointF(area.left(), y));
        const QString t = QString::number(mmHg);
        p.drawText(QRectF(area.left() - 8 - fm.horizontalAdvance(t), y - fm.height() / 2,
                          fm.horizontalAdvance(t), fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, t);
    }
    p.drawText(QRectF(area.left() - 60, area.top() - fm.height() - 2, 56, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("mmHg"));
    p.setPen(QPen(kLooks[CardiacOutput].colour, 1));
    for (int l = 0; l <= 12; l += 3) {
        const double y = yOf(l / kLitresPerHeight);
        p.drawLine(QPointF(area.right(), y), QPointF(area.right() + 5, y));
        p.drawText(QRectF(area.right() + 8, y - fm.height() / 2, 40, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::number(l));
    }
    p.drawText(QRectF(area.right() + 4, area.top() - fm.height() - 2, 60, fm.height()),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("L/min"));
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);

    // The previous sweep, faded, where the current one has not reached yet.
    p.setClipRect(area);
    if (m_previousCount > 0) paintSweep(p, toArea, m_previous, m_lastX + 12, true);
    paintSweep(p, toArea, m_current, 0, false);
    p.restore();
}

StripChartWidget::StripChartWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 120);
}

QRectF StripChartWidget::plotArea() const {
    return plotAreaFor(size(), font());
}

QRectF StripChartWidget::plotAreaFor(const QSizeF& size, const QFont& font) {
    const QFontMetrics fm(font);
    const double left = fm.horizontalAdvance(QStringLiteral("mmHg")) + 14;
    const double right = fm.horizontalAdvance(QStringLiteral("L/min")) + 10;
    const double top = fm.height() + 6;
    return QRectF(left, top, std::max(10.0, size.width() - left - right),
                  std::max(10.0, size.height() - top - 4));
}

void StripChartWidget::changed() {
    if (m_updatePending) return;
    m_updatePending = true;
    update();
}

void StripChartWidget::paintEvent(QPaintEvent*) {
    m_updatePending = false;
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    m_surface.paint(p, plotArea());
}

}  // namespace vasora::workbench
