#pragma once

// Window layouts are written in twips, the unit the program's designs use. This is the one place
// that turns them into device-independent pixels: 15 twips make a pixel on a 96 dpi screen, and
// Qt scales device-independent pixels for high-DPI screens itself.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vasora {

constexpr int kTwipsPerPixel = 15;

constexpr int twips(int t) {
    return (t + (t >= 0 ? kTwipsPerPixel / 2 : -kTwipsPerPixel / 2)) / kTwipsPerPixel;
}
constexpr int toTwips(int px) {
    return px * kTwipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
inline QSize twipsSize(int width, int height) {
    return QSize(twips(width), twips(height));
}
inline QPoint twipsPoint(int x, int y) {
    return QPoint(twips(x), twips(y));
}

}  // namespace vasora
