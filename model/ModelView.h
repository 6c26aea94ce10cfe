#pragma once

// The engine writes into windows only through this interface. The Qt windows implement it, the
// command-line program implements it with a text view, and tests fake it. Controls are named by
// their object names ("lblPressSysA", "cmdPercent", "Label4").

#include <string>
#include <string_view>

#include "model/Palette.h"

namespace vasora::model {

/// The windows the engine and the lab book write into: the model window, the layout sheet, the
/// strip chart and the chart window of the heart-rate curve (whose text boxes are "txtX(0)" to
/// "txtZ(10)").
enum class Window { CVModel, Layout, PlotData, Plot };

class ModelView {
  public:
    virtual ~ModelView() = default;

    virtual void setCaption(Window w, std::string_view control, std::string_view text) = 0;
    virtual void setBackColor(Window w, std::string_view control, Rgb c) = 0;
    virtual void setForeColor(Window w, std::string_view control, Rgb c) = 0;
    virtual void setBold(Window w, std::string_view control, bool bold) = 0;
    /// Ticks or unticks a check box.
    virtual void setChecked(Window w, std::string_view control, bool checked) = 0;
    /// Presses a button as the learner would (the chart window's "Plot", once the lab book has
    /// filled its boxes). A view without that button ignores it.
    virtual void click(Window, std::string_view) {}
    /// The caption a control shows now: a label's or a button's text, a text box's content.
    /// Empty for a control the window does not have. The lab book copies model values this
    /// way, so that it records exactly what the learner sees.
    virtual std::string captionOf(Window, std::string_view) { return {}; }
    /// Whether a clickable label can be used now (lblHR_LV only with AV block); a label that
    /// cannot looks and announces itself as not changeable.
    virtual void setEnabled(Window, std::string_view, bool) {}

    /// Non-modal show and hide of a window (the strip chart, while a run draws).
    virtual void showWindow(Window w) = 0;
    virtual void hideWindow(Window w) = 0;
    /// Shows a window the learner asked for in front of the others and makes it active.
    virtual void bringToFront(Window w) { showWindow(w); }

    // The strip chart's drawing surface: origin top left, y downward, in its own units.
    virtual int plotWidth() = 0;
    virtual int plotHeight() = 0;
    virtual void plotClear() = 0;
    /// A sweep of the strip chart is over and the next one starts at the left edge. A chart
    /// that keeps the previous sweep in view overrides this; by default it clears.
    virtual void plotSweepEnd() { plotClear(); }
    virtual void plotPoint(int x, int y, Rgb colour, int penWidth) = 0;

    /// An OK-only message box with the program's title.
    virtual void message(std::string_view text) = 0;
    /// An OK-only message box with a title of its own.
    virtual void titledMessage(std::string_view, std::string_view text) { message(text); }

    /// A line that says why a control looks as it does (a label the baroreceptor reflex is
    /// moving), shown where the control explains itself; empty removes it.
    virtual void setNote(Window, std::string_view, std::string_view) {}

    /// Puts the keyboard focus on a control of a window.
    virtual void focus(Window, std::string_view) {}

    /// Called after every integration step, once the model clock has advanced.
    virtual void stepDone() {}

    /// Called between the repetitions of AutoRun, so a window can repaint while the model
    /// settles. It must not let the learner's input run.
    virtual void autoRunStep() {}

    /// Called after every display of the model window, in units or in percent, once all its
    /// labels show the new values: a window that draws the state (Guyton's diagram) redraws.
    virtual void valuesShown() {}
};

/// A view that ignores everything; the engine's view until one is installed.
class NullView : public ModelView {
  public:
    void setCaption(Window, std::string_view, std::string_view) override {}
    void setBackColor(Window, std::string_view, Rgb) override {}
    void setForeColor(Window, std::string_view, Rgb) override {}
    void setBold(Window, std::string_view, bool) override {}
    void setChecked(Window, std::string_view, bool) override {}
    void showWindow(Window) override {}
    void hideWindow(Window) override {}
    int plotWidth() override { return 1; }
    int plotHeight() override { return 1; }
    void plotClear() override {}
    void plotPoint(int, int, Rgb, int) override {}
    void message(std::string_view) override {}
};

}  // namespace vasora::model
