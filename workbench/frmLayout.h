#pragma once

// The layout sheet: the whole model on one page. A picture of the circulation carries a label
// for every value, the ventricles' data sit at the sides and the totals at the bottom; a colour
// legend tells parameters from computed values. The sheet refreshes itself from the model state
// each time it becomes the active window, and it can be printed.

#include <QWidget>

#include "shell/Forms.h"
#include "shell/WindowPlacement.h"
#include "workbench/ScaledLayout.h"

class QLabel;
class QPrinter;

namespace vasora::workbench {

class frmLayout final : public QWidget, public forms::ControlHost, public shell::Scalable {
    Q_OBJECT
  public:
    explicit frmLayout(QWidget* parent = nullptr);

    /// The sheet drawn at `scale` of its design size, on a screen too small for it (1920 x 1080
    /// at 200 %); it prints at its design size whatever its scale on the screen.
    QSize designSize() const override;
    void setDisplayScale(double scale) override;
    double displayScale() const override { return m_layout.scale(); }

    /// Writes every value of the model state into the sheet; runs nothing and leaves the
    /// labels' backgrounds alone, so the marking of changed parameters survives.
    void fill();
    /// Paints the sheet on `printer`, fitted to its page. Returns false if it cannot be painted.
    bool printTo(QPrinter& printer);

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    // The sheet is built in these steps, top to bottom.
    void buildTitleAndLegend();
    void buildCompartments();
    void buildVentricles();
    void buildTotals();
    void buildFilesAndButtons();

    void print();
    void returnToModel();

    ScaledLayout m_layout;
};

}  // namespace vasora::workbench
