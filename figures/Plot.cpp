#include "figures/Plot.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "figures/Style.h"

namespace vasora::figures {

using namespace style;

namespace {

int decimalsFor(const Scale& s) {
    if (s.decimals >= 0) return s.decimals;
    // Enough places to tell neighbouring ticks apart: 0.25 needs two, 0.5 one, 5 none.
    for (int d = 0; d < 6; ++d) {
        const double scaled = s.step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-9) return d;
    }
    return 6;
}

// Tick positions from lo to hi; a tiny tolerance keeps the last tick despite rounding.
std::vector<double> ticks(const Scale& s) {
    std::vector<double> t;
    if (!(s.step > 0)) return t;
    const double eps = s.step * 1e-6;
    for (int i = 0;; ++i) {
        const double v = s.lo + s.step * i;
        if (v > s.hi + eps) break;
        t.push_back(v);
    }
    return t;
}

double mapped(double v, const Scale& s, double from, double to) {
    return from + (v - s.lo) / (s.hi - s.lo) * (to - from);
}

}  // namespace

Chart::Chart(QPainter& p, const QRectF& area, Scale x, Scale y)
    : m_p(p), m_area(area), m_x(x), m_y(y) {}

double Chart::px(double x) const {
    return mapped(x, m_x, m_area.left(), m_area.right());
}
double Chart::py(double y) const {
    return mapped(y, m_y, m_area.bottom(), m_area.top());
}
double Chart::py2(double y2) const {
    return mapped(y2, m_y2, m_area.bottom(), m_area.top());
}

void Chart::drawAxes(const QString& xTitle, const QString& yTitle, const QColor& leftColour,
                     const QString& y2Title, const QColor& rightColour) const {
    QPainter& p = m_p;
    p.save();
    const double tick = 5;
    const QRectF& a = m_area;

    // Grid first, beneath everything, on the left scale's ticks.
    p.setPen(QPen(kGrid, 1));
    for (double v : ticks(m_x)) p.drawLine(QPointF(px(v), a.top()), QPointF(px(v), a.bottom()));
    for (double v : ticks(m_y)) p.drawLine(QPointF(a.left(), py(v)), QPointF(a.right(), py(v)));

    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(a);

    const int dx = decimalsFor(m_x);
    for (double v : ticks(m_x)) {
        const double x = px(v);
        p.setPen(QPen(kInk, 1.2));
        p.drawLine(QPointF(x, a.bottom()), QPointF(x, a.bottom() + tick));
        text(p, QPointF(x, a.bottom() + tick + 2), number(v, dx), Qt::AlignHCenter | Qt::AlignTop,
             kSmall, kInk);
    }
    const int dy = decimalsFor(m_y);
    double widest = 0;
    for (double v : ticks(m_y)) {
        const double y = py(v);
        p.setPen(QPen(kInk, 1.2));
        p.drawLine(QPointF(a.left() - tick, y), QPointF(a.left(), y));
        const QRectF r = text(p, QPointF(a.left() - tick - 3, y), number(v, dy),
                              Qt::AlignRight | Qt::AlignVCenter, kSmall, leftColour);
        widest = std::max(widest, r.width());
    }
    text(p, QPointF(a.center().x(), a.bottom() + tick + 20), xTitle,
         Qt::AlignHCenter | Qt::AlignTop, kAxisTitle, kInk);
    verticalText(p, QPointF(a.left() - tick - 3 - widest - 12, a.center().y()), yTitle, kAxisTitle,
                 leftColour);

    if (m_hasY2) {
        const int d2 = decimalsFor(m_y2);
        double widest2 = 0;
        for (double v : ticks(m_y2)) {
            const double y = py2(v);
            p.setPen(QPen(kInk, 1.2));
            p.drawLine(QPointF(a.right(), y), QPointF(a.right() + tick, y));
            const QRectF r = text(p, QPointF(a.right() + tick + 3, y), number(v, d2),
                                  Qt::AlignLeft | Qt::AlignVCenter, kSmall, rightColour);
            widest2 = std::max(widest2, r.width());
        }
        verticalText(p, QPointF(a.right() + tick + 3 + widest2 + 12, a.center().y()), y2Title,
                     kAxisTitle, rightColour);
    }
    p.restore();
}

void Chart::line(const std::vector<QPointF>& data, const QPen& pen, bool right) const {
    if (data.size() < 2) return;
    QPolygonF poly;
    for (const QPointF& d : data) poly << at(d.x(), d.y(), right);
    m_p.save();
    m_p.setClipRect(m_area.adjusted(-1, -1, 1, 1));
    m_p.setPen(pen);
    m_p.setBrush(Qt::NoBrush);
    m_p.drawPolyline(poly);
    m_p.restore();
}

void Chart::markers(const std::vector<QPointF>& data, Marker m, const QColor& colour, bool right,
                    double size) const {
    for (const QPointF& d : data) {
        const QPointF c = at(d.x(), d.y(), right);
        if (!m_area.adjusted(-1, -1, 1, 1).contains(c)) continue;
        drawMarker(m_p, c, m, colour, size);
    }
}

void Chart::vLine(double x, const QPen& pen) const {
    m_p.save();
    m_p.setPen(pen);
    m_p.drawLine(QPointF(px(x), m_area.top()), QPointF(px(x), m_area.bottom()));
    m_p.restore();
}

void Chart::hLine(double y, const QPen& pen, bool right) const {
    const double yy = right ? py2(y) : py(y);
    m_p.save();
    m_p.setPen(pen);
    m_p.drawLine(QPointF(m_area.left(), yy), QPointF(m_area.right(), yy));
    m_p.restore();
}

void drawMarker(QPainter& p, QPointF c, Marker m, const QColor& colour, double s) {
    if (m == Marker::None) return;
    p.save();
    p.setPen(QPen(Qt::white, 1.1));
    p.setBrush(colour);
    switch (m) {
        case Marker::Circle:
            p.drawEllipse(c, s, s);
            break;
        case Marker::Square:
            p.drawRect(QRectF(c.x() - s * 0.9, c.y() - s * 0.9, s * 1.8, s * 1.8));
            break;
        case Marker::Diamond: {
            const double d = s * 1.25;
            p.drawPolygon(QPolygonF(
                {c + QPointF(0, -d), c + QPointF(d, 0), c + QPointF(0, d), c + QPointF(-d, 0)}));
            break;
        }
        case Marker::Triangle: {
            const double d = s * 1.2;
            p.drawPolygon(
                QPolygonF({c + QPointF(0, -d), c + QPointF(d, d * 0.8), c + QPointF(-d, d * 0.8)}));
            break;
        }
        case Marker::None:
            break;
    }
    p.restore();
}

namespace {
constexpr double kSample = 26, kSampleGap = 7;

void legendSample(QPainter& p, QPointF left, const LegendEntry& e) {
    const QPointF right = left + QPointF(kSample, 0);
    if (e.pen.style() != Qt::NoPen) {
        p.setPen(e.pen);
        p.drawLine(left, right);
    }
    drawMarker(p, (left + right) / 2, e.marker, e.markerColour);
}
}  // namespace

void drawLegendRow(QPainter& p, QPointF centre, const std::vector<LegendEntry>& entries) {
    const double between = 22;
    double width = 0;
    for (const LegendEntry& e : entries)
        width += kSample + kSampleGap + textBounds(e.text, kText).width() + between;
    width -= between;
    double x = centre.x() - width / 2;
    p.save();
    for (const LegendEntry& e : entries) {
        legendSample(p, QPointF(x, centre.y()), e);
        const QRectF r = text(p, QPointF(x + kSample + kSampleGap, centre.y()), e.text,
                              Qt::AlignLeft | Qt::AlignVCenter, kText, kInk);
        x = r.right() + between;
    }
    p.restore();
}

QRectF drawLegend(QPainter& p, QPointF at, Qt::Alignment align,
                  const std::vector<LegendEntry>& entries) {
    const double pad = 8, lineH = 18;
    double w = 0;
    for (const LegendEntry& e : entries) w = std::max(w, textBounds(e.text, kText).width());
    const QSizeF size(pad * 2 + kSample + kSampleGap + w,
                      pad * 2 + lineH * static_cast<double>(entries.size()) - 2);
    double x = (align & Qt::AlignRight) ? at.x() - size.width() : at.x();
    double y = (align & Qt::AlignBottom) ? at.y() - size.height() : at.y();
    const QRectF r(QPointF(x, y), size);
    p.save();
    p.setPen(QPen(kGrid.darker(115), 0.9));
    p.setBrush(kNoteFill);
    p.drawRoundedRect(r, 4, 4);
    double row = r.top() + pad + lineH / 2 - 1;
    for (const LegendEntry& e : entries) {
        legendSample(p, QPointF(r.left() + pad, row), e);
        text(p, QPointF(r.left() + pad + kSample + kSampleGap, row), e.text,
             Qt::AlignLeft | Qt::AlignVCenter, kText, kInk);
        row += lineH;
    }
    p.restore();
    return r;
}

}  // namespace vasora::figures
