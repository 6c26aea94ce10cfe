#pragma once

// The layout sheet's content apart from its widgets: the values of every label, worked out
// from the model state, and the picture of the circulation (ImgLayout). Both serve the screen
// and the printed page, which is painted at the printer's resolution with real text.

#include <QColor>
#include <QRect>
#include <QSize>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/ModelState.h"

class QPainter;
class QWidget;

namespace vasora::workbench {

/// The sheet's size in its own pixel units.
// Small enough, with a title bar, for a screen of 1366 × 768.
inline constexpr QSize kLayoutSheetSize(1100, 700);

/// Where the six compartment boxes lie on the sheet, indexed 1 to 6 as the model numbers them.
const std::array<QRect, 7>& layoutBoxes();

struct LayoutValue {
    std::string_view label;
    std::string caption;
    /// Set only for the ventricular compliances, which turn red past the stiff threshold.
    bool red = false;
    bool hasColour = false;
};

/// Every label the filling writes, with its caption; the state is only read.
std::vector<LayoutValue> layoutValues(const model::ModelState& s);

/// Paints the picture: the chest, the six compartments, the heart, the lungs, the body and the
/// direction of flow, in sheet coordinates.
void paintLayoutPicture(QPainter& p);

/// Paints the whole sheet (picture, labels and text boxes as they are now) into `target`,
/// scaled to fit and centred; returns the rectangle the sheet took.
QRectF paintLayoutSheet(QPainter& p, const QWidget& sheet, const QRectF& target);

}  // namespace vasora::workbench
