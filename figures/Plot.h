#pragma once

// A small chart for the figures: a plotting area with linear scales, ticks every `step`, a
// light grid, axis titles, a second vertical scale on the right, lines, markers and a legend.
// Data are given in the units of the scales; the chart maps them into the area.

#include <QColor>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace vasora::figures {

/// A linear scale from `lo` to `hi` with ticks every `step` from `lo`.
struct Scale {
    double lo, hi, step;
    /// Decimals of the tick labels; -1 takes as many as the step needs.
    int decimals = -1;
};

enum class Marker { None, Circle, Square, Diamond, Triangle };

/// The plotting area of a 640 x 440 chart with one vertical scale, and with a second scale on
/// the right; the margins hold the tick labels and the axis titles.
inline const QRectF kChartArea(78, 22, 532, 346);
inline const QRectF kChartAreaTwoScales(78, 22, 474, 346);

class Chart final {
  public:
    Chart(QPainter& p, const QRectF& area, Scale x, Scale y);

    /// Adds a right-hand scale for the series drawn with `right` set.
    void setRightScale(Scale y2) {
        m_y2 = y2;
        m_hasY2 = true;
    }

    const QRectF& area() const { return m_area; }
    double px(double x) const;
    double py(double y) const;
    double py2(double y2) const;
    QPointF at(double x, double y, bool right = false) const {
        return {px(x), right ? py2(y) : py(y)};
    }

    /// The grid, the frame, ticks and tick labels of every scale, and the axis titles. The
    /// right scale's labels and title take `rightColour`, the left ones `leftColour`, so that
    /// each scale reads as belonging to its curve.
    void drawAxes(const QString& xTitle, const QString& yTitle, const QColor& leftColour,
                  const QString& y2Title = {}, const QColor& rightColour = {}) const;

    /// A line through the points, clipped to the area.
    void line(const std::vector<QPointF>& data, const QPen& pen, bool right = false) const;
    void markers(const std::vector<QPointF>& data, Marker m, const QColor& colour,
                 bool right = false, double size = 4.2) const;
    /// A vertical line across the area at x, clipped.
    void vLine(double x, const QPen& pen) const;
    /// A horizontal line across the area at y, clipped.
    void hLine(double y, const QPen& pen, bool right = false) const;

  private:
    QPainter& m_p;
    QRectF m_area;
    Scale m_x, m_y, m_y2{};
    bool m_hasY2 = false;
};

/// One marker of the given shape, centred on `at`.
void drawMarker(QPainter& p, QPointF at, Marker m, const QColor& colour, double size = 4.2);

struct LegendEntry {
    QString text;
    QPen pen;  ///< the line; Qt::NoPen for a marker alone
    Marker marker = Marker::None;
    QColor markerColour = {};
};

/// A legend box whose corner given by `align` (e.g. Qt::AlignTop | Qt::AlignLeft) is `at`.
QRectF drawLegend(QPainter& p, QPointF at, Qt::Alignment align,
                  const std::vector<LegendEntry>& entries);
/// The same entries side by side in one row, without a box, centred on `centre`.
void drawLegendRow(QPainter& p, QPointF centre, const std::vector<LegendEntry>& entries);

}  // namespace vasora::figures
