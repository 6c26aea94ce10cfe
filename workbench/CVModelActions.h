#pragma once

// What the model window's buttons do, in one place: the window's widgets only forward their
// events here, and the command-line program calls the same functions. Plain C++: it works on
// the model state and writes through the engine's view.

#include <functional>

namespace vasora::workbench {

/// What Restart and Undo need of the options window; empty until the options window exists.
struct RestartHooks {
    /// Whether the options window's chkAV_Block is ticked.
    std::function<bool()> avBlockChecked;
    /// The options window's "Retrieve Parameter set" action, re-reading the retrieved set.
    std::function<void()> retrieveParameterSet;
    /// The options window's box follows a state put back by Undo, as it does a retrieved set.
    std::function<void()> showAVBlockOfState;
};

void setRestartHooks(RestartHooks hooks);

/// Undo on the model window: the last change taken back, and the options window told.
bool clickUndo();

/// The load steps of the model window: normal set, one run, display, strip chart shown.
void loadModelWindow();
/// cmdRun: one run and a display, then the strip chart is shown whatever PlotHidden says.
void clickRun();
/// chkAutoRun: ticked starts AutoRun with one run and a display; unticked only stops it.
void clickAutoRun(bool checked);
/// cmdPercent: toggles between units and percent of normal.
void clickPercent();
/// cmdRestart: back to the normal set (or the retrieved parameter set).
void clickRestart();
/// cmdPlotData: the learner asks for the strip chart.
void clickPlotData();
/// frmPlotData's cmdHide: the learner hides the strip chart until asking for it again.
void clickHidePlot();

}  // namespace vasora::workbench
