#pragma once

// The numbers of the data figures come from the engine itself, by the path a learner takes:
// the model window's load (normal set, one run, display), AutoRun ticked, one change made
// through the change logic of the model window's dialogs, and AutoRun running until the six
// flows agree. So a figure always shows what the learner would read off the model window.
//
// Every function here leaves the engine as it found it: the process's model state, the
// installed view and the learner's undo history are put aside while the figure's runs use a
// zeroed state and a view that ignores everything, and are put back afterwards.

#include <functional>
#include <memory>
#include <vector>

#include "model/Derived.h"
#include "model/ModelState.h"
#include "model/ModelView.h"
#include "workbench/ParameterChanges.h"
#include "workbench/UndoHistory.h"

namespace vasora::figures {

/// Puts the engine's state and view, and the learner's undo history, aside for its lifetime and
/// hands the engine a zeroed state (resetState) and a view that ignores everything.
class EngineScope final {
  public:
    EngineScope();
    ~EngineScope();
    EngineScope(const EngineScope&) = delete;
    EngineScope& operator=(const EngineScope&) = delete;

  private:
    std::unique_ptr<model::ModelState> m_saved;
    model::ModelView* m_savedView;
    model::NullView m_quiet;
    workbench::UndoSetAside m_undo;
};

/// One circulation after a change, as AutoRun left it.
struct Settled {
    double x = 0;          ///< the value that was changed, in the unit of its series
    bool applied = false;  ///< the change logic accepted the change
    bool settled = false;  ///< the flows agreed within 0.3 ml/min and no ramp was under way
    model::ModelState s;   ///< the model state at the end
};

/// AutoRun's time limit, minutes of model time: past it AutoRun gives up as it does for the
/// learner.
inline constexpr double kAutoRunLimit = model::kAutoRunTimeLimit;

/// The state right after the model window's load: the normal circulation.
model::ModelState normalCirculation();

/// Loads the model window, ticks AutoRun, calls `change` (one of the change functions of
/// workbench/ParameterChanges.h, or anything else that changes the state and then runs), and
/// runs on until the circulation settles or AutoRun's time limit passes.
Settled settleAfter(double x, const std::function<workbench::ChangeResult()>& change);

/// The settled circulation for every heart rate of the series (beats/min, set as the model
/// window's right heart rate, which both ventricles follow without AV block).
std::vector<Settled> heartRateSeries();
/// The heart rates of that series: 30 to 240 beats/min by 10, and the normal 72.
std::vector<double> heartRates();

/// Transfusions (positive) and hemorrhages (negative) of blood volume, ml.
std::vector<Settled> bloodVolumeSeries();
std::vector<double> bloodVolumeChanges();

/// Changes of the unstressed volume, ml: negative venoconstriction, positive venodilation.
std::vector<Settled> unstressedVolumeSeries();
std::vector<double> unstressedVolumeChanges();

/// The left ventricle's end-systolic elastance, percent of normal.
std::vector<Settled> leftEmaxSeries();
std::vector<double> leftEmaxPercents();

/// Whether the six flows agree as the model window's display requires.
using model::flowsAgree;

}  // namespace vasora::figures
