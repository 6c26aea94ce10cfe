#pragma once

// The strip chart's drawing: a backing image the run sets points on, kept apart from the widget
// that shows it so that it can be drawn on any surface. The image keeps the drawing while the
// window is covered, and is rescaled when the window is resized.

#include <QImage>
#include <QWidget>

#include "model/Palette.h"

namespace vasora::workbench {

class StripChartSurface final {
public:
    explicit StripChartSurface(QSize size = QSize(600, 300));

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    void clear();
    /// Sets one point: a pixel for pen width 1, a 2 × 2 square for pen width 2. Points outside
    /// the image are ignored.
    void point(int x, int y, model::Rgb colour, int penWidth);
    /// Changes the size, scaling what was drawn so far to the new size.
    void resize(QSize size);
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
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
