#pragma once

// A view that keeps what the engine wrote: the caption, colours and weight of every control of
// every window, the check boxes, the windows' visibility, the strip chart's points and the
// messages. The command-line program reports from it and the tests check it.

#include <map>
#include <string>
#include <vector>

#include "model/ModelView.h"

namespace vasora::model {

struct ControlLook {
    std::string caption;
    Rgb fore = palette::Black;
    Rgb back = palette::BrightWhite;
    bool bold = false;
    bool checked = false;
    bool enabled = true;
};

class RecordingView : public ModelView {
  public:
    struct Point {
        int x, y;
        Rgb colour;
        int penWidth;
    };

    RecordingView(int plotWidth = 4800, int plotHeight = 3000);

    void setCaption(Window w, std::string_view control, std::string_view text) override;
    void setBackColor(Window w, std::string_view control, Rgb c) override;
    void setForeColor(Window w, std::string_view control, Rgb c) override;
    void setBold(Window w, std::string_view control, bool bold) override;
    void setChecked(Window w, std::string_view control, bool checked) override;
    void setEnabled(Window w, std::string_view control, bool enabled) override;
    void showWindow(Window w) override;
    void hideWindow(Window w) override;
    int plotWidth() override { return m_width; }
    int plotHeight() override { return m_height; }
    void plotClear() override;
    void plotSweepEnd() override;
    void plotPoint(int x, int y, Rgb colour, int penWidth) override;
    void message(std::string_view text) override;
    std::string captionOf(Window w, std::string_view control) override;
    void titledMessage(std::string_view title, std::string_view text) override;
    void focus(Window w, std::string_view control) override;

    /// The control as last written; a control never written has the window's design look.
    const ControlLook& look(Window w, std::string_view control);
    const std::string& caption(Window w, std::string_view control) {
        return look(w, control).caption;
    }
    bool visible(Window w) const;

    /// Points drawn since the last clear (kept only when keepPoints is set).
    std::vector<Point> points;
    bool keepPoints = false;
    long long pointCount = 0;
    int clears = 0;
    int sweepEnds = 0;
    std::vector<std::string> messages;
    /// The title of each message, in the same order; empty for the program's title.
    std::vector<std::string> messageTitles;
    /// The control that last got the focus, and its window.
    std::string focused;
    Window focusedWindow = Window::CVModel;

  private:
    ControlLook& entry(Window w, std::string_view control);

    int m_width, m_height;
    std::map<std::pair<Window, std::string>, ControlLook, std::less<>> m_controls;
    std::map<Window, bool> m_visible;
};

}  // namespace vasora::model
