#include "figures/ModelRuns.h"

#include <algorithm>
#include <cmath>

#include "model/Quantities.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"

namespace vasora::figures {

using namespace vasora::model;

EngineScope::EngineScope() : m_saved(std::make_unique<ModelState>(state())), m_savedView(&view()) {
    resetState();
    setView(&m_quiet);
}

EngineScope::~EngineScope() {
    state() = *m_saved;
    setView(m_savedView);
}

namespace {

bool rampUnderWay(const ModelState& s) {
    return s.VolChangeRate != 0 || s.VunstrsChangeRate != 0 || s.CollapseRate != 0;
}

std::vector<double> steps(double from, double to, double by) {
    std::vector<double> v;
    const int n = static_cast<int>(std::lround((to - from) / by));
    for (int i = 0; i <= n; ++i) v.push_back(from + by * i);
    return v;
}

template <class Change>
std::vector<Settled> series(const std::vector<double>& xs, Change change) {
    std::vector<Settled> out;
    out.reserve(xs.size());
    for (double x : xs) out.push_back(settleAfter(x, [&] { return change(x); }));
    return out;
}

workbench::ChangeResult changeLabel(const char* label, double entry) {
    return workbench::changeParameter(*model::parameterByLabel(label), entry);
}

}  // namespace

ModelState normalCirculation() {
    EngineScope scope;
    workbench::loadModelWindow();
    return state();
}

Settled settleAfter(double x, const std::function<workbench::ChangeResult()>& change) {
    EngineScope scope;
    workbench::loadModelWindow();
    workbench::clickAutoRun(true);
    Settled out;
    out.x = x;
    out.applied = change().status == workbench::ChangeResult::Applied;
    // AutoRun stops as soon as the flows agree; a ramp that is still moving volume will part
    // them again, so the learner would click Run on until it is over.
    ModelState& s = state();
    while ((!flowsAgree(s) || rampUnderWay(s)) && s.ModelTime <= kAutoRunLimit) {
        RunModel();
        DisplayValues();
    }
    out.settled = flowsAgree(s) && !rampUnderWay(s);
    out.s = s;
    return out;
}

std::vector<double> heartRates() {
    std::vector<double> r = steps(30, 240, 10);
    r.push_back(72);
    std::sort(r.begin(), r.end());
    return r;
}

std::vector<Settled> heartRateSeries() {
    return series(heartRates(), [](double rate) { return changeLabel("lblHR_RV", rate); });
}

// From the largest hemorrhage the volume dialog accepts without collapsing the veins to the
// largest transfusion it allows.
std::vector<double> bloodVolumeChanges() {
    return steps(-1100, 2300, 100);
}

std::vector<Settled> bloodVolumeSeries() {
    return series(bloodVolumeChanges(), [](double dV) { return workbench::changeBloodVolume(dV); });
}

// The dialog's range: unstressed volume down to 2200 ml, and at most a 1000 ml venodilation.
std::vector<double> unstressedVolumeChanges() {
    return steps(-1400, 1000, 100);
}

std::vector<Settled> unstressedVolumeSeries() {
    return series(unstressedVolumeChanges(),
                  [](double dU) { return workbench::changeUnstressedVolume(dU); });
}

std::vector<double> leftEmaxPercents() {
    return {10, 15, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100, 125, 150, 175, 200, 250, 300};
}

std::vector<Settled> leftEmaxSeries() {
    return series(leftEmaxPercents(), [](double pct) { return changeLabel("lblEmax_LV", pct); });
}

}  // namespace vasora::figures
