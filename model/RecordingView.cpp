#include "model/RecordingView.h"

#include "model/ModelLabels.h"
#include "model/Quantities.h"

namespace vasora::model {

RecordingView::RecordingView(int plotWidth, int plotHeight)
    : m_width(plotWidth), m_height(plotHeight) {}

ControlLook& RecordingView::entry(Window w, std::string_view control) {
    auto key = std::make_pair(w, std::string(control));
    auto it = m_controls.find(key);
    if (it != m_controls.end()) return it->second;
    ControlLook look;
    if (w == Window::CVModel || w == Window::Layout) {
        for (const LabelInfo& l : displayLabels())
            if (l.name == control) {
                look.fore = l.designFore;
                look.back = l.designBack;
            }
        if (const Quantity* q = quantityByLabel(control); q && q->needsAVBlock)
            look.enabled = false;
    }
    return m_controls.emplace(std::move(key), look).first->second;
}

const ControlLook& RecordingView::look(Window w, std::string_view control) {
    return entry(w, control);
}

void RecordingView::setCaption(Window w, std::string_view control, std::string_view text) {
    entry(w, control).caption = std::string(text);
}
void RecordingView::setBackColor(Window w, std::string_view control, Rgb c) {
    entry(w, control).back = c;
}
void RecordingView::setForeColor(Window w, std::string_view control, Rgb c) {
    entry(w, control).fore = c;
}
void RecordingView::setBold(Window w, std::string_view control, bool bold) {
    entry(w, control).bold = bold;
}
void RecordingView::setChecked(Window w, std::string_view control, bool checked) {
    entry(w, control).checked = checked;
}
void RecordingView::setEnabled(Window w, std::string_view control, bool enabled) {
    entry(w, control).enabled = enabled;
}
void RecordingView::showWindow(Window w) {
    m_visible[w] = true;
}
void RecordingView::hideWindow(Window w) {
    m_visible[w] = false;
}
bool RecordingView::visible(Window w) const {
    auto it = m_visible.find(w);
    return it != m_visible.end() && it->second;
}
void RecordingView::plotClear() {
    ++clears;
    points.clear();
}
void RecordingView::plotSweepEnd() {
    ++sweepEnds;
    points.clear();
}
void RecordingView::plotPoint(int x, int y, Rgb colour, int penWidth) {
    ++pointCount;
    if (keepPoints) points.push_back({x, y, colour, penWidth});
}
void RecordingView::message(std::string_view text) {
    messages.emplace_back(text);
    messageTitles.emplace_back();
}
std::string RecordingView::captionOf(Window w, std::string_view control) {
    return look(w, control).caption;
}
void RecordingView::titledMessage(std::string_view title, std::string_view text) {
    messages.emplace_back(text);
    messageTitles.emplace_back(title);
}
void RecordingView::focus(Window w, std::string_view control) {
    focusedWindow = w;
    focused = std::string(control);
}

}  // namespace vasora::model
