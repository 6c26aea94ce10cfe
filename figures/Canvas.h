#pragma once

// Every figure is drawn in its own logical pixels (its nominal size); the canvas maps them
// into whatever rectangle the caller gives, on any painter: scaled uniformly to fit, centred,
// on white, antialiased. The painter is as it was once the canvas ends.

#include <QRectF>
#include <QSizeF>

class QPainter;

namespace vasora::figures {

class Canvas final {
  public:
    Canvas(QPainter& p, const QRectF& target, QSizeF logical);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

  private:
    QPainter& m_p;
};

}  // namespace vasora::figures
