#pragma once

// The strip chart's drawing, kept apart from the widget that shows it so that it can be painted
// on any surface (the screen, an image for a test or a figure).
//
// The run draws in the chart's own logical units, a fixed grid of kLogicalWidth x
// kLogicalHeight, whatever the window's size; the chart keeps the traces as data and paints
// them scaled to the window. Resizing the window, or a run made before the window was first
// shown, therefore never shifts a trace. When a sweep ends the chart keeps it, faded, to the
// right of the new sweep until the new sweep overwrites it, so a transient is not lost.

#include <QWidget>
#include <array>
#include <vector>

#include "model/Palette.h"

namespace vasora::workbench {

class StripChartSurface final {
  public:
    /// One step per unit across a sweep at the normal step (3000 steps of 0.001 minute).
    static constexpr int kLogicalWidth = 3000;
    static constexpr int kLogicalHeight = 1000;

    /// The four traces, in the order they are painted (the thin venous return last, so that
    /// it shows inside the cardiac output where the two agree).
    enum Trace { ZeroLine, Pressure, CardiacOutput, VenousReturn, kTraces };

    StripChartSurface();

    int width() const { return kLogicalWidth; }
    int height() const { return kLogicalHeight; }

    /// Forgets both sweeps.
    void clear();
    /// The current sweep becomes the previous one; the next points start a new sweep.
    void endSweep();
    /// Records one point of the trace the colour names; points outside the grid are ignored.
    void point(int x, int y, model::Rgb colour, int penWidth);

    /// Paints the chart into `area` of `p`: axes with their scales, the minute marks, the
    /// previous sweep faded, the current sweep.
    void paint(QPainter& p, const QRectF& area) const;

    /// Whether a trace has a point at x in the current sweep, and its y.
    bool has(Trace t, int x) const { return y(m_current, t, x) >= 0; }
    int yAt(Trace t, int x) const { return y(m_current, t, x); }
    /// Points of the current sweep and of the previous one.
    int currentPoints() const { return m_currentCount; }
    int previousPoints() const { return m_previousCount; }
    /// The previous sweep's point of a trace at x, or -1.
    int previousYAt(Trace t, int x) const { return y(m_previous, t, x); }

    /// What a height on the grid stands for: arterial pressure in mmHg, a flow in L/min.
    static double mmHgAt(int y);
    static double litresPerMinuteAt(int y);

  private:
    using Sweep = std::array<std::vector<short>, kTraces>;
    static int y(const Sweep& s, Trace t, int x) {
        return x >= 0 && x < kLogicalWidth ? s[t][static_cast<std::size_t>(x)] : -1;
    }
    void paintSweep(QPainter& p, const QTransform& toArea, const Sweep& s, int fromX,
                    bool faded) const;

    Sweep m_current, m_previous;
    int m_currentCount = 0, m_previousCount = 0;
    int m_lastX = -1;  ///< the right-most x of the current sweep
};

/// Shows a strip-chart surface with its scales. Repaints are requested at most once per
/// pending paint, however many points the run sets in between.
class StripChartWidget final : public QWidget {
    Q_OBJECT
  public:
    explicit StripChartWidget(QWidget* parent = nullptr);

    StripChartSurface& surface() { return m_surface; }
    /// Tells the widget that the surface changed.
    void changed();
    /// The part of the widget the traces take, inside the scales.
    QRectF plotArea() const;
    /// The same for a surface of `size` written in `font`, as a picture of the chart needs it.
    static QRectF plotAreaFor(const QSizeF& size, const QFont& font);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    StripChartSurface m_surface;
    bool m_updatePending = false;
};

}  // namespace vasora::workbench
