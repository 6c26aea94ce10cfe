#pragma once

// The engine's view onto the real windows: captions, colours and weights of named controls of
// the model window and the layout sheet, and the strip chart's surface.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include "model/ModelView.h"
#include "shell/Forms.h"

class QWidget;

namespace vasora::workbench {

class frmPlotData;

/// Every display of the model window as a Qt signal, for the windows that draw the state
/// (Guyton's diagram); connected in the registration function.
class DisplayNotifier final : public QObject {
    Q_OBJECT
  signals:
    void valuesShown();
};

class QtModelView final : public model::ModelView {
  public:
    QtModelView();

    void setCaption(model::Window w, std::string_view control, std::string_view text) override;
    void setBackColor(model::Window w, std::string_view control, model::Rgb c) override;
    void setForeColor(model::Window w, std::string_view control, model::Rgb c) override;
    void setNote(model::Window w, std::string_view control, std::string_view text) override;
    void setBold(model::Window w, std::string_view control, bool bold) override;
    void setChecked(model::Window w, std::string_view control, bool checked) override;
    void click(model::Window w, std::string_view control) override;
    void setEnabled(model::Window w, std::string_view control, bool enabled) override;
    void showWindow(model::Window w) override;
    void hideWindow(model::Window w) override;
    void bringToFront(model::Window w) override;
    int plotWidth() override;
    int plotHeight() override;
    void plotClear() override;
    void plotSweepEnd() override;
    void plotPoint(int x, int y, model::Rgb colour, int penWidth) override;
    void message(std::string_view text) override;
    std::string captionOf(model::Window w, std::string_view control) override;
    void titledMessage(std::string_view title, std::string_view text) override;
    void focus(model::Window w, std::string_view control) override;
    void autoRunStep() override;
    void valuesShown() override;

    DisplayNotifier& notifier() { return m_notifier; }

  private:
    QWidget* control(model::Window w, std::string_view name);
    frmPlotData* plot();

    struct Host {
        QPointer<QWidget> window;
        forms::ControlHost* host = nullptr;
    };
    Host m_hosts[4];
    QPointer<frmPlotData> m_plot;
    QElapsedTimer m_sinceRepaint;
    DisplayNotifier m_notifier;
};

/// The window's name in the registry.
forms::FormName formName(model::Window w);

}  // namespace vasora::workbench
