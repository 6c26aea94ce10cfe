#pragma once

// The figures of the information text (602 to 699) and of the lab book (1 and 2), drawn from
// the model itself. Each has a nominal display size in logical pixels; images are rendered at
// a multiple of it so that they stay sharp on high-density screens. Every picture carries its
// own title in a band along its top, so that it says what it shows wherever it is opened (the
// figure windows' captions are their own); the drawing fills the rest and is never covered.
//
// Painting needs a QGuiApplication (for fonts); nothing here needs widgets.

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <span>

class QPainter;

namespace vasora::figures {

struct FigureInfo {
    int number;
    QSize size;           ///< nominal display size of the whole picture, logical pixels
    bool hasData;         ///< figureData() gives its numbers
    const char* title;    ///< drawn along the top of the picture (UTF-8)
    const char* subject;  ///< what it shows, for authors; not the window's caption
    void (*paint)(QPainter&, const QRectF&);
};

/// Every figure, in the order of their numbers as the information text uses them (602 to
/// 699), then the lab book's (1, 2).
std::span<const FigureInfo> figureList();

/// The figure numbered `number`, or nullptr.
const FigureInfo* findFigure(int number);

/// The height of the title band along the top of every picture, logical pixels.
inline constexpr int kTitleBand = 32;

/// The nominal size of figure `number`, title band included; an empty size for an unknown
/// number.
QSize logicalSize(int number);

/// The size of figure `number`'s drawing, below its title band: the logical space its painter
/// draws in. An empty size for an unknown number.
QSize drawingSize(int number);

/// The title figure `number` carries; empty for an unknown number.
QString figureTitle(int number);

/// Paints figure `number` into `target`, its title on top and its drawing below, scaled to fit
/// and centred on white; false for an unknown number (nothing is painted).
bool paintFigure(int number, QPainter& p, const QRectF& target);

/// The images are rendered at twice the nominal size.
inline constexpr double kImageScale = 2.0;

/// Figure `number` as an image of its nominal size times `scale`, on white; a null image for an
/// unknown number or a scale that gives no pixels.
QImage renderFigure(int number, double scale = kImageScale);

/// The file the program looks for: "Img" and the number in three digits, here as JPEG
/// ("Img602.jpg", "Img001.jpg").
QString figureFileName(int number);

}  // namespace vasora::figures
