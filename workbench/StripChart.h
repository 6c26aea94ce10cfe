#pragma once

// The strip chart's drawing: a backing image the run sets points on, kept apart from the widget
// that shows it so that it can be drawn on any surface. The image keeps the drawing while the
// window is covered, and is rescaled when the window is resized.

#include <QImage>
#include <QWidget>
#include <vector>

#include "model/Palette.h"

namespace vasora::workbench {

class StripChartSurface final {
  public:
    explicit StripChartSurface(QSize size = QSize(600, 300));

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    void clear();
    /// Sets one point: a pixel for pen width 1, a 2 × 2 square for pen width 2. Points outside
    /// the image are ignored. Points are queued and set in the image when it is next read, so
    /// a run's hundreds of points cost little more than storing them.
    void point(int x, int y, model::Rgb colour, int penWidth) {
        // A hidden chart is never painted; the queue is bounded all the same.
        if (m_pending.size() >= kMaxPending) flush();
        m_pending.push_back({x, y, qRgb(colour.r, colour.g, colour.b), penWidth});
    }
    /// Changes the size, scaling what was drawn so far to the new size.
    void resize(QSize size);
    /// The drawing, with every queued point set.
    const QImage& image();

  private:
    struct Pending {
        int x, y;
        QRgb rgb;
        int penWidth;
    };
    void flush();
    static constexpr std::size_t kMaxPending = 1 << 16;

    QImage m_image;
    std::vector<Pending> m_pending;
};

/// Shows a strip-chart surface, with the minute marks of a sweep. Repaints are requested at
/// most once per pending paint, however many points the run sets in between.
class StripChartWidget final : public QWidget {
    Q_OBJECT
  public:
    explicit StripChartWidget(QWidget* parent = nullptr);

    StripChartSurface& surface() { return m_surface; }
    /// Tells the widget that the surface changed.
    void changed();

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    StripChartSurface m_surface;
    bool m_updatePending = false;
};

}  // namespace vasora::workbench
