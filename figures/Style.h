#pragma once

// The look every figure shares: one sans-serif face in a few sizes, one set of colours, and the
// small pieces the diagrams are built from (text placed by an anchor, arrows, dimension lines,
// boxes). Sizes are in the figure's logical pixels; the canvas scales them with the figure.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

namespace vasora::figures::style {

// Text sizes, logical pixels.
inline constexpr double kSmall = 11;      ///< tick labels, notes in boxes
inline constexpr double kText = 12.5;     ///< annotations, legends
inline constexpr double kAxisTitle = 13;  ///< axis titles, box names
inline constexpr double kHeading = 14.5;  ///< panel headings
inline constexpr double kTitle = 16;      ///< the title along the top of a picture

QFont font(double pixels, bool bold = false, bool italic = false);

// Colours. Curves take the strong colours; fills the pale ones. Arterial and venous blood keep
// the colours of the model window's diagram.
inline const QColor kInk(35, 35, 45);
inline const QColor kMuted(105, 108, 120);
inline const QColor kGrid(226, 229, 236);
inline const QColor kBlue(28, 92, 170);
inline const QColor kRed(192, 45, 40);
inline const QColor kGreen(36, 128, 68);
inline const QColor kOrange(214, 120, 18);
inline const QColor kPurple(118, 68, 158);
inline const QColor kArterialFill(250, 220, 220);
inline const QColor kVenousFill(218, 228, 252);
inline const QColor kMuscle(150, 40, 50);
inline const QColor kChestFill(247, 246, 238);
inline const QColor kNoteFill(255, 255, 255, 235);
/// The model window's yellow for a parameter a learner can change.
inline const QColor kChangeableFill(255, 250, 170);

/// Draws `text` (lines split at '\n') so that the point `at` lies where `align` says on its
/// bounding box: Qt::AlignLeft puts `at` on the left edge, Qt::AlignHCenter in the middle, and
/// so on vertically. Returns the box the text took.
QRectF text(QPainter& p, QPointF at, const QString& text, Qt::Alignment align,
            double pixels = kText, const QColor& colour = kInk, bool bold = false,
            bool italic = false);

/// The box `text` would take, for layout decisions before drawing.
QRectF textBounds(const QString& text, double pixels, bool bold = false);

/// Text turned a quarter anticlockwise, centred on `centre` (a vertical axis title).
void verticalText(QPainter& p, QPointF centre, const QString& text, double pixels,
                  const QColor& colour = kInk, bool bold = false);

/// A note: text on a white, thinly framed rounded box; `at` and `align` as for text().
QRectF note(QPainter& p, QPointF at, const QString& text, Qt::Alignment align,
            double pixels = kSmall + 0.5, const QColor& colour = kInk,
            const QColor& frame = kMuted);

/// A straight arrow with a filled head at `to`.
void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 1.6,
           double head = 9);
/// A curved arrow through the control point `via`.
void curvedArrow(QPainter& p, QPointF from, QPointF via, QPointF to, const QColor& colour,
                 double width = 1.6, double head = 9);
/// A dimension line between `a` and `b` with short end bars, the way a drawing marks a length.
void dimension(QPainter& p, QPointF a, QPointF b, const QColor& colour, double width = 1.2);

/// A slope triangle's two legs, dashed: across from `from`, then up or down to `to`.
void slopeSteps(QPainter& p, QPointF from, QPointF to, const QColor& colour);

/// A filled dot of radius `r` with a white rim, marking a state on a curve.
void dot(QPainter& p, QPointF at, const QColor& colour, double r = 4.5);

/// A rounded box with a fill and a frame.
void box(QPainter& p, const QRectF& r, const QColor& fill, const QColor& frame,
         double frameWidth = 1.3, double radius = 8);

/// A number as a figure prints it: `decimals` places, a true minus sign.
QString number(double v, int decimals);

}  // namespace vasora::figures::style
