#pragma once

// Window layouts and documents measure in twips, the unit the program's designs use. This is
// the one place that turns them into device-independent pixels: 15 twips make a pixel on a
// 96 dpi screen, and the toolkit scales device-independent pixels for high-DPI screens itself.

#include <cmath>

namespace vasora {

constexpr int kTwipsPerPixel = 15;

/// Twips to whole pixels, halves away from zero.
constexpr int twips(int t) {
    return (t + (t >= 0 ? kTwipsPerPixel / 2 : -kTwipsPerPixel / 2)) / kTwipsPerPixel;
}
/// Twips to pixels with their fraction, for layouts that keep it (document indents, tabs).
constexpr double twipsToPixels(int t) {
    return double(t) / kTwipsPerPixel;
}
constexpr int toTwips(int px) {
    return px * kTwipsPerPixel;
}
/// Pixels with their fraction back to whole twips, nearest.
inline int pixelsToTwips(double px) {
    return int(std::lround(px * kTwipsPerPixel));
}

}  // namespace vasora
