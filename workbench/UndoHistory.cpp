#include "workbench/UndoHistory.h"

#include <deque>

#include "model/Quantities.h"
#include "model/Vasora_Model_coding.h"

namespace vasora::workbench {

using namespace vasora::model;

struct UndoHistoryData {
    struct Moment {
        ModelState state;
        ViewRestore view;
    };
    std::deque<Moment> moments;
    UndoViewHooks hooks;
    std::function<void(bool)> listener;
};

namespace {

using History = UndoHistoryData;

History& history() {
    static History h;
    return h;
}

void tell() {
    if (history().listener) history().listener(canUndo());
}

// The labels' backgrounds as the marks and the state say: changed, normal, or (the left heart
// rate without AV block) not a parameter at all, as Restart and the options window colour it.
void showMarks(const ModelState& s) {
    ModelView& v = view();
    for (std::string_view label : parameterLabels()) {
        const bool marked = (s.ChangedMarks & parameterMark(label)) != 0;
        if (marked) {
            v.setBackColor(Window::CVModel, label, s.ColorChanged);
            v.setBackColor(Window::Layout, label, s.ColorChanged);
        } else if (quantityByLabel(label)->changeableNow(s)) {
            v.setBackColor(Window::CVModel, label, kParamNormal);
            v.setBackColor(Window::Layout, label, kParamNormal);
        } else {
            v.setBackColor(Window::CVModel, label, palette::BrightWhite);
        }
    }
    showChangeableLabels();
}

}  // namespace

void setUndoViewHooks(UndoViewHooks hooks) {
    history().hooks = std::move(hooks);
}

void rememberForUndo() {
    History& h = history();
    h.moments.push_back({state(), h.hooks.capture ? h.hooks.capture() : ViewRestore{}});
    while (h.moments.size() > kUndoDepth) h.moments.pop_front();
    tell();
}

bool canUndo() {
    return !history().moments.empty();
}

std::size_t undoSteps() {
    return history().moments.size();
}

bool undoLastChange() {
    History& h = history();
    if (h.moments.empty()) return false;
    History::Moment m = std::move(h.moments.back());
    h.moments.pop_back();
    state() = m.state;
    showMarks(state());
    RedisplayState();
    if (m.view) m.view();
    tell();
    return true;
}

void forgetUndo() {
    if (history().moments.empty()) return;
    history().moments.clear();
    tell();
}

void setUndoListener(std::function<void(bool)> listener) {
    history().listener = std::move(listener);
    tell();
}

UndoSetAside::UndoSetAside() : m_saved(std::make_shared<UndoHistoryData>()) {
    std::swap(*m_saved, history());
}

UndoSetAside::~UndoSetAside() {
    std::swap(*m_saved, history());
    tell();
}

}  // namespace vasora::workbench
