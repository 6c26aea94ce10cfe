// The model window with its real labels, on the offscreen platform: AutoRun to equilibrium
// including every display (with and without Guyton's diagram redrawn at each), one run with its
// 400 trace points on the real strip chart, and the diagram window's first opening.
// The whole program's start-up is measured by tools/measure-startup.sh.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/AppForms.h"
#include "bench/gui/GuiBenchMain.h"
#include "model/Vasora_Model_coding.h"
#include "shell/Forms.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"

using namespace vasora;

namespace {

void startProgram() {
    forms::reset();
    model::resetState();
    registerAllForms();
    forms::get(forms::frmMain);
    forms::show(forms::frmCVModel);
}

void autoRunFromDoubledResistance(benchmark::State& st, bool withDiagram) {
    startProgram();
    if (withDiagram) forms::show(forms::frmDiagram);
    int runs = 0;
    for (auto _ : st) {
        st.PauseTiming();
        workbench::clickRestart();
        workbench::changeByText("lblResisSysA", "200");
        const int steps = model::state().StepCount;
        QApplication::processEvents();
        st.ResumeTiming();
        workbench::clickAutoRun(true);
        st.PauseTiming();
        if (std::fabs(model::state().FlowMax - model::state().FlowMin) > 0.3)
            st.SkipWithError("AutoRun did not reach equilibrium");
        runs = (model::state().StepCount - steps) / 100;
        model::state().AutoRunOn = 0;
        QApplication::processEvents();
        st.ResumeTiming();
    }
    st.counters["runs"] = runs;
}

void AutoRunFromDoubledArterialResistance(benchmark::State& st) {
    autoRunFromDoubledResistance(st, false);
}
BENCHMARK(AutoRunFromDoubledArterialResistance)->Unit(benchmark::kMillisecond);

void AutoRunFromDoubledArterialResistanceWithTheDiagram(benchmark::State& st) {
    autoRunFromDoubledResistance(st, true);
}
BENCHMARK(AutoRunFromDoubledArterialResistanceWithTheDiagram)->Unit(benchmark::kMillisecond);

// The diagram window created, shown and painted for the first time.
void FirstOpeningOfTheDiagram(benchmark::State& st) {
    startProgram();
    for (auto _ : st) {
        forms::show(forms::frmDiagram);
        if (QWidget* w = forms::existing(forms::frmDiagram)) w->repaint();
        st.PauseTiming();
        delete forms::existing(forms::frmDiagram);
        QApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK(FirstOpeningOfTheDiagram)->Unit(benchmark::kMillisecond);

// Between two clicks the program's event loop repaints what changed; the benchmark does the
// same outside the timed part, so that posted repaints do not pile up as they never would.
void idle(benchmark::State& st) {
    st.PauseTiming();
    QApplication::processEvents();
    if (model::state().ModelTime > 16) workbench::clickRestart();
    st.ResumeTiming();
}

void RunOnTheRealStripChart(benchmark::State& st) {
    startProgram();
    for (auto _ : st) {
        model::RunModel();
        idle(st);
    }
}
BENCHMARK(RunOnTheRealStripChart)->Unit(benchmark::kMicrosecond);

void RunAndDisplayOnTheRealWindow(benchmark::State& st) {
    startProgram();
    for (auto _ : st) {
        workbench::clickRun();
        idle(st);
    }
}
BENCHMARK(RunAndDisplayOnTheRealWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return vasora::bench::runGuiBenchmarks(argc, argv);
}
