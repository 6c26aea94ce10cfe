#pragma once

// Where the workbench windows open, decided in this one place: the model window, the strip
// chart and, with a lab book open, the lab book display share the screen so that none covers
// what the learner is watching. On a small screen (1366 x 768) the model window scales its
// diagram down to make room; the strip chart takes the bottom of the screen.

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

#include "shell/FormNames.h"

namespace vasora::shell {

/// A window that can draw itself smaller than its design size (the model window).
class Scalable {
  public:
    virtual ~Scalable() = default;
    virtual QSize designSize() const = 0;
    virtual void setDisplayScale(double scale) = 0;
    virtual double displayScale() const = 0;
};

/// The outer rectangles of the windows, frames included, and the model window's scale.
struct WorkbenchPlacement {
    QRect model;
    double modelScale = 1;
    QRect chart;
    QRect labBook;  ///< empty without a lab book
    /// Guyton's diagram: the screen's right part beside the model window (where the lab book
    /// stands, which the learner does not watch while watching the curves), down to the strip
    /// chart; where that part is narrow it goes on to the bottom over the chart's right end.
    QRect diagram;
};

/// The diagram window is at least this wide, frame included; narrower room beside the model
/// window makes it reach down over the strip chart's right end.
inline constexpr int kMinDiagramWidth = 340;
/// Below this width the diagram also takes the height of the strip chart.
inline constexpr int kTallDiagramBelowWidth = 480;

/// The smallest scale the model window is drawn at on a screen of one device pixel per pixel;
/// below it text would be too small to read. A screen scaled up (200 %) draws every pixel with
/// more device pixels, so the model window may go smaller there, down to kMinModelScaleAnyDpi.
inline constexpr double kMinModelScale = 0.6;
inline constexpr double kMinModelScaleAnyDpi = 0.3;

/// The placement on a screen whose free area is `screen` (in device-independent pixels, with
/// `devicePixelRatio` device pixels to each), for a model window of `modelDesign` (its inner
/// size at scale 1), each window's frame being `frame` around its inner area.
WorkbenchPlacement placeWorkbench(const QRect& screen, const QSize& modelDesign, bool withLabBook,
                                  const QMargins& frame, double devicePixelRatio = 1);

/// The free area of the desktop that windows are placed in: the available geometry of the
/// screen of `on` (or the primary screen), unless an area was set.
QRect workArea(const QWidget* on = nullptr);
/// Sets the area windows are placed in, as if the desktop were that size (a learner's 1366 x 768
/// screen for a test on a headless platform, whose own screen is another size); an empty
/// rectangle returns to the screen's own.
void setWorkArea(const QRect& area);

/// Places the workbench windows that exist, on the screen of the main menu.
void placeWorkbenchWindows();

/// Whether the lab book display takes part in the placement (set while one is open).
void setLabBookPlaced(bool placed);

/// Places the workbench the first time `window` is shown; after that the learner's own moves
/// are kept.
void placeOnFirstShow(QWidget* window);

/// The first time `window` (a chart of the lab book's table) is shown it opens over the model
/// window's place, no larger than it: the lab book beside it and the strip chart below stay in
/// view while the learner looks at the curve.
void placeOverModelOnFirstShow(QWidget* window);

/// The first time `window` is shown it takes `preferred` (its inner size), made smaller where
/// the screen is smaller, and is centred on the screen: the main menu, the document viewers.
void centreOnFirstShow(QWidget* window, QSize preferred);

/// The first time `window` (a Scalable window) is shown it is drawn at the largest scale up to 1
/// at which it fits the screen, and centred: the layout sheet.
void fitOnFirstShow(QWidget* window);

/// The diagram's place on `screen` beside a model window whose outer rectangle is `model`, the
/// strip chart starting at `chartTop`.
QRect diagramPlacement(const QRect& screen, const QRect& model, int chartTop);

/// The first time `window` (Guyton's diagram) is shown it takes the placement's diagram
/// rectangle.
void placeDiagramOnFirstShow(QWidget* window);

/// The rectangle `centreOnFirstShow` gives a window of `preferred` size on `screen`.
QRect centredPlacement(const QRect& screen, QSize preferred, const QMargins& frame);

}  // namespace vasora::shell
