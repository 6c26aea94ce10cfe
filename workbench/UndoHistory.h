#pragma once

// Taking back the learner's changes. Before a parameter, volume or pressure change is applied,
// the model as it stands is remembered: the whole model state (with the marks of the changed
// labels, ModelState::ChangedMarks) and whatever the windows keep of their own (the strip
// chart's drawing, captured through a hook the Qt side installs). Undo puts the last of these
// back, up to kUndoDepth steps.
//
// The change logic (ParameterChanges.h) remembers by itself. Other code that applies a change
// of the learner's, such as the lab book's input cells, calls rememberForUndo() once before it
// applies the change (once for all the cells one click applies), so that one Undo takes back
// what one action did.
//
// The history covers the changes since the model last started afresh: loading the model
// window (and the lab book's restart tag, which repeats it), Restart, retrieving a parameter set
// and loading the original set each start a new one (forgetUndo()). Plain C++, no Qt.

#include <cstddef>
#include <functional>
#include <memory>

namespace vasora::workbench {

/// How many changes can be taken back, the oldest forgotten first.
inline constexpr std::size_t kUndoDepth = 20;

/// Puts a window's own part of a remembered moment back.
using ViewRestore = std::function<void()>;

/// What the windows add to each remembered moment: `capture` returns how to put back what the
/// windows show now that the model state alone does not give (the strip chart's traces and its
/// sweep captions). Empty where there are no windows (vasora-cli, tests).
struct UndoViewHooks {
    std::function<ViewRestore()> capture;
};
void setUndoViewHooks(UndoViewHooks hooks);

/// Remembers the model as it is now, before a change.
void rememberForUndo();

/// Whether there is a change to take back, and how many.
bool canUndo();
std::size_t undoSteps();

/// Takes back the last change: the model state and the marks as they were before it, shown
/// without running (AutoRun switched off), and the strip chart as it was. Returns false when
/// there was nothing to take back.
bool undoLastChange();

/// Forgets every remembered change (the model starts afresh).
void forgetUndo();

/// Called whenever canUndo() may have changed, for an Undo button.
void setUndoListener(std::function<void(bool canUndo)> listener);

/// Puts the learner's history aside for its lifetime, with the windows' hooks and the listener,
/// so that runs made for another purpose (a figure's) through the change logic neither forget
/// nor add to it; the history starts empty meanwhile and is given back whole.
class UndoSetAside final {
  public:
    UndoSetAside();
    ~UndoSetAside();
    UndoSetAside(const UndoSetAside&) = delete;
    UndoSetAside& operator=(const UndoSetAside&) = delete;

  private:
    std::shared_ptr<struct UndoHistoryData> m_saved;
};

}  // namespace vasora::workbench
