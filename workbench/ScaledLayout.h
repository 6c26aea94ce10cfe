#pragma once

// Draws a window of absolutely placed controls at a scale of its design size: every control's
// rectangle and type scaled, type that still does not fit its box made to fit. The model window
// and the layout sheet use it to share a small screen, or one scaled up to 200 %.

#include <QFont>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace vasora::workbench {

class ScaledLayout final {
  public:
    /// `designSize` is the window's own size at scale 1.
    ScaledLayout(QWidget* window, QSize designSize) : m_window(window), m_designSize(designSize) {}

    /// Places every control of the window at `scale` (0.3 to 1) of its design and fixes the
    /// window's size to match; the design is the layout the window had when this is first called.
    void apply(double scale);
    double scale() const { return m_scale; }
    QSize designSize() const { return m_designSize; }

  private:
    void fitText(QWidget* w) const;

    struct Design {
        QWidget* widget;
        QRect geometry;
        QFont font;
        int lineWidth;
    };
    QWidget* m_window;
    QSize m_designSize;
    std::vector<Design> m_design;
    double m_scale = 1;
};

}  // namespace vasora::workbench
