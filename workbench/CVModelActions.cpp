#include "workbench/CVModelActions.h"

#include "model/Derived.h"
#include "model/Quantities.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/UndoHistory.h"

namespace vasora::workbench {

using namespace vasora::model;

namespace {
RestartHooks g_hooks;
constexpr Window CV = Window::CVModel;
}  // namespace

void setRestartHooks(RestartHooks hooks) {
    g_hooks = std::move(hooks);
}

bool clickUndo() {
    if (!undoLastChange()) return false;
    if (g_hooks.showAVBlockOfState) g_hooks.showAVBlockOfState();
    return true;
}

void loadModelWindow() {
    forgetUndo();
    SetNormalParameters();
    RunModel();
    DisplayValues();
    view().showWindow(Window::PlotData);
    view().setCaption(CV, "cmdPercent", " Show % Normal");
    state().ShowUnits = 1;
}

void clickRun() {
    RunModel();
    DisplayValues();
    view().showWindow(Window::PlotData);
}

void clickAutoRun(bool checked) {
    if (checked) {
        state().AutoRunOn = 1;
        RunModel();
        DisplayValues();
    } else {
        state().AutoRunOn = 0;
    }
}

void clickPercent() {
    ModelState& s = state();
    ModelView& v = view();
    if (s.ShowUnits != 1) {
        DisplayValues();
        v.setBackColor(CV, "cmdPercent", palette::BrightWhite);
        v.setCaption(CV, "cmdPercent", " Show % of Normal");
        s.ShowUnits = 1;
    } else {
        DisplayPercent();
        v.setForeColor(CV, "lblPercent", palette::LightYellow);
        v.setBackColor(CV, "lblPercent", palette::LightBlue);
        v.setCaption(CV, "lblPercent", "   DATA as PERCENT ");
        v.setBackColor(CV, "cmdPercent", palette::LightYellow);
        v.setCaption(CV, "cmdPercent", " Show Units");
        s.ShowUnits = 0;
    }
}

void clickRestart() {
    forgetUndo();
    ModelState& s = state();
    ModelView& v = view();
    v.plotClear();
    s.CollapseVol = 0;
    if (s.ParamSetLoaded == 1 && g_hooks.retrieveParameterSet) {
        g_hooks.retrieveParameterSet();
    } else {
        SetNormalParameters();
        RunModel();
    }
    if (g_hooks.avBlockChecked && g_hooks.avBlockChecked()) s.AVBlock = 1;
    s.ChangedMarks &= ~parameterMark("lblHR_LV");
    showParameterMark("lblHR_LV");
    showChangeableLabels();
    setDefaultIntervals(s);
    DisplayValues();
    v.showWindow(Window::PlotData);
    v.setCaption(CV, "cmdPercent", " Show % Normal");
    v.setBackColor(CV, "cmdPercent", palette::BrightWhite);
    v.setBackColor(CV, "lblPercent", palette::BrightWhite);
    v.setChecked(CV, "chkAutoRun", false);
    s.AutoRunOn = 0;
    s.ShowUnits = 1;
}

void clickPlotData() {
    state().PlotHidden = 0;
    // Asked for by name, the chart comes to the front even when it was only covered.
    view().bringToFront(Window::PlotData);
}

void clickHidePlot() {
    view().hideWindow(Window::PlotData);
    state().PlotHidden = 1;
}

}  // namespace vasora::workbench
