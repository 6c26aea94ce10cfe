#pragma once

// The two panels of the diagram window drawn with QPainter: Guyton's diagram (venous return and
// cardiac function against right atrial pressure) and the ventricles' pressure-volume loops,
// each with the set of before the learner's last change drawn pale. Shared by the window and
// its picture.

#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

#include "model/Curves.h"

class QPainter;

namespace vasora::workbench::diagram {

/// What the panels draw: the present curves and loops, and optionally those of before the last
/// change and the operating points passed since.
struct Scene {
    const model::DiagramData* now = nullptr;
    const model::DiagramData* before = nullptr;
    const std::vector<model::CurvePoint>* trail = nullptr;
};

// The colours of the panels: venous return in the venous blue, cardiac function in the arterial
// red (the darker shades of DiagramStyle's tints), the transient's dots in an orange of their
// own.
inline const QColor kVenousReturn(40, 80, 200);
inline const QColor kCardiacFunction(200, 40, 40);
inline const QColor kTrail(235, 130, 0);
inline const QColor kRightVentricle(40, 80, 200);
inline const QColor kLeftVentricle(200, 40, 40);

/// A round step for about `ticks` divisions of `range`: 1, 2 or 5 times a power of ten.
double niceStep(double range, int ticks);

/// The ranges an axis shows: from `lo` to `hi`, widened to whole steps.
struct Axis {
    double from = 0, to = 1, step = 1;
};
Axis niceAxis(double lo, double hi, int ticks);

/// The Guyton panel's axes for `scene`: the right atrial pressures of the present and the pale
/// curves, and flows from 0 up to well above the highest crossing and operating point.
Axis guytonPressureAxis(const Scene& scene, int ticks);
Axis guytonFlowAxis(const Scene& scene, int ticks);

/// The text of one ventricle's stroke work, "Stroke work 97 mmHg·ml (13 mJ)".
QString strokeWorkText(double mmHgMl);

void paintGuyton(QPainter& p, const QRectF& r, const Scene& scene);
void paintLoops(QPainter& p, const QRectF& r, const Scene& scene);

}  // namespace vasora::workbench::diagram
