#pragma once

// The strip chart as data and as a picture, for the learner's own records: its traces turned
// back from the chart's grid into minutes, mmHg and L/min, and the chart painted into an image.

#include <QByteArray>
#include <QImage>
#include <QStringList>

namespace vasora::workbench {

class StripChartSurface;

/// Where the chart's sweeps lie in model time.
struct SweepTimes {
    /// The minute at the left edge of the current sweep.
    double currentStart = 0;
    /// Minutes per unit of the grid's width.
    double minutesPerUnit = 0.001;
};

/// The sweeps of the model time `modelTime` with the sweep span `plotSpan` (thousandths of a
/// minute across the width, as the model state keeps it).
SweepTimes sweepTimes(double modelTime, int plotSpan);

/// CSV, one row per time the chart holds a point at, oldest first (the previous sweep, then the
/// current one), after a header row: minute, arterial pressure (mmHg), cardiac output (L/min),
/// venous return (L/min). A trace without a point at that time leaves its cell empty. Values
/// are read back from the chart's grid, so they are as fine as the chart draws them (0.2 mmHg,
/// 0.015 L/min); a value the chart draws at its top edge (above 170 mmHg or 12.8 L/min) is
/// given as drawn.
QByteArray stripChartCsv(const StripChartSurface& chart, const SweepTimes& times);

/// The chart with its scales and legend, and the time marks `timeMarks` (the window's three
/// captions) under the 0, 1 and 2 minute positions, in an image of `size`.
QImage stripChartPicture(const StripChartSurface& chart, const QStringList& timeMarks,
                         QSize size = QSize(1200, 560));

}  // namespace vasora::workbench
