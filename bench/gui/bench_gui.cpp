// The model window with its real labels, on the offscreen platform: AutoRun to equilibrium
// including every display, and one run with its 400 trace points on the real strip chart.
// The whole program's start-up is measured by tools/measure-startup.sh.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/AppForms.h"
#include "bench/gui/GuiBenchMain.h"
#include "model/Vasora_Model_coding.h"
#include "shell/Forms.h"
#include "workbench/CVModelActions.h"

using namespace vasora;

namespace {

void startProgram() {
    forms::reset();
    model::resetState();
    registerAllForms();
    forms::get(forms::frmMain);
    forms::show(forms::frmCVModel);
}

void AutoRunFromDoubledArterialResistance(benchmark::State& st) {
    startProgram();
    int runs = 0;
    for (auto _ : st) {
        st.PauseTiming();
        workbench::clickRestart();
        model::state().Resis[model::SysA] *= 2;
        const int steps = model::state().StepCount;
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
BENCHMARK(AutoRunFromDoubledArterialResistance)->Unit(benchmark::kMillisecond);

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
