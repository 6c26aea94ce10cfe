#pragma once

// The strip chart window: arterial pressure, cardiac output and venous return against model
// time, drawn by the run at every step, one sweep every three minutes.

#include <QWidget>
#include <functional>

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

    /// cmdSaveData and cmdSavePicture: the chart's data as CSV, its picture as PNG, into a file
    /// the learner chooses (the "Lab Book" folder is offered first). Cancel saves nothing.
    void saveData();
    void savePicture();

    /// What the chart shows now (traces and time marks), and how to put it back: a step back
    /// of the model takes the chart back with it.
    std::function<void()> snapshot();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void placeTimeMarks();
    QString chooseFile(const QString& title, const QString& filter, const QString& extension);

    StripChartWidget* m_chart;
    QLabel* m_label4;
    QLabel* m_label5;
    QLabel* m_label6;
    QWidget* m_marks;
};

}  // namespace vasora::workbench
