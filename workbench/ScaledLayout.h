#pragma once

// Draws a window of absolutely placed controls at a scale of its design size: every control's
// rectangle and type scaled, type that still does not fit its box made to fit. The model window
// and the layout sheet use it to share a small screen, or one scaled up to 200 %.

#include <QFont>
#include <QRect>
#include <vector>

class QWidget;

namespace vasora::workbench {

class ScaledLayout final {
  public:
    explicit ScaledLayout(QWidget* window) : m_window(window) {}

    /// Places every control of the window at `scale` (0.3 to 1) of its design; the design is the
    /// layout the window had when this is first called.
    void apply(double scale);
    double scale() const { return m_scale; }

  private:
    void fitText(QWidget* w) const;

    struct Design {
        QWidget* widget;
        QRect geometry;
        QFont font;
        int lineWidth;
    };
    QWidget* m_window;
    std::vector<Design> m_design;
    double m_scale = 1;
};

}  // namespace vasora::workbench
