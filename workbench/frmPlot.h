#pragma once

// The chart window: eleven points of heart rate against cardiac output, whose values sit in
// editable columns of text boxes that the lab book fills; Plot draws them.

#include <QWidget>
#include <array>

#include "shell/Forms.h"

class QLineEdit;
class QLineSeries;

namespace vasora::workbench {

class frmPlot final : public QWidget, public forms::ControlHost {
    Q_OBJECT
  public:
    static constexpr int kRows = 11;

    explicit frmPlot(QWidget* parent = nullptr);

    /// The text box of column `axis` (0 txtX, 1 txtY, 2 txtZ) at `index` 0 to 10; nullptr
    /// outside those ranges.
    QLineEdit* cell(int axis, int index) const;
    /// cmdPlot: the heart rates of txtX against the outputs of txtY / 100.
    void plot();
    /// The points drawn by the last plot.
    QList<QPointF> points() const;

  private:
    std::array<std::array<QLineEdit*, kRows>, 3> m_cells{};
    QLineSeries* m_series;
};

}  // namespace vasora::workbench
