#pragma once

// Twips as the toolkit's rectangles, sizes and points; the conversion itself is in core/Twips.h.

#include <QPoint>
#include <QRect>
#include <QSize>

#include "core/Twips.h"

namespace vasora {

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
