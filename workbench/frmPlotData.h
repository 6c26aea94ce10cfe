#pragma once

// The strip chart window: arterial pressure, cardiac output and venous return against model
// time, drawn by the run at every step, one sweep every three minutes.

#include <QWidget>

#include "shell/Forms.h"

class QLabel;
class QPushButton;

namespace vasora::workbench {

class StripChartWidget;

class frmPlotData final : public QWidget, public forms::ControlHost {
    Q_OBJECT
  public:
    explicit frmPlotData(QWidget* parent = nullptr);
    StripChartWidget* chart() const { return m_chart; }

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void placeTimeMarks();

    StripChartWidget* m_chart;
    QLabel* m_label4;
    QLabel* m_label5;
    QLabel* m_label6;
    QWidget* m_marks;
};

}  // namespace vasora::workbench
