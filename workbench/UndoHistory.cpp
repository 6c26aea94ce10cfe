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
    showParameterMarks();
    redisplayState();
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
