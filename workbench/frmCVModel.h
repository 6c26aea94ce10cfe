#pragma once

// The model window: the learner's workbench on the circulation. The values are written into its
// labels by the engine's displays; its buttons forward to the shared model-window actions.

#include <QWidget>
#include <string_view>
#include <vector>

#include "shell/Forms.h"
#include "shell/WindowPlacement.h"
#include "workbench/ScaledLayout.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vasora::workbench {

class ParamLabel;

class frmCVModel final : public QWidget,
                         public forms::ControlHost,
                         public forms::Loadable,
                         public shell::Scalable {
    Q_OBJECT
  public:
    explicit frmCVModel(QWidget* parent = nullptr);

    /// The load steps: normal set, the first run and display, the strip chart shown.
    void load() override;

    /// The parameter label named `name` (nullptr if there is none).
    ParamLabel* parameterLabel(const QString& name) const;

    /// The window draws its diagram and every control at `scale` of its design size, so that
    /// it can share a small screen with the strip chart and the lab book.
    QSize designSize() const override;
    void setDisplayScale(double scale) override;
    double displayScale() const override { return m_layout.scale(); }

  signals:
    /// A clickable parameter label was clicked (or opened with Enter or Space).
    void parameterClicked(const QString& name);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    QLabel* value(std::string_view name, QRect r);
    ParamLabel* param(std::string_view name, QRect r);
    static void describe(QLabel* l, std::string_view name, bool withTip);
    QLabel* text(const QString& caption, QRect r,
                 Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter);
    QPushButton* button(const char* name, const QString& caption, QRect r, const QString& tip);
    void buildCompartments();
    void buildHeartPanels();
    void buildPanels();
    // The panels around the diagram, each a step of buildPanels.
    void buildKey();
    void buildWarnings();
    void buildPressures();
    void buildTotals();
    void buildFilesAndUndo();
    QFont boldFont() const;
    void buildToolbar();
    void toMainMenu();
    void undoClicked();

    ScaledLayout m_layout;
};

}  // namespace vasora::workbench
