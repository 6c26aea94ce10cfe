// The model window with its real labels, on the offscreen platform: AutoRun to equilibrium
// including every display and the windows' drawing of the equilibrium (with and without
// Guyton's diagram redrawn live), one run with its 400 trace points on the real strip chart,
// and the diagram window's first opening.
// The whole program's start-up is measured by tools/measure-startup.sh.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>

#include "app/AppForms.h"
#include "bench/gui/GuiBenchMain.h"
#include "model/Vasora_Model_coding.h"
#include "shell/Forms.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"
#include "workbench/frmDiagram.h"

using namespace vasora;

namespace {

void startProgram() {
    forms::reset();
    model::resetState();
    registerAllForms();
    forms::get(forms::frmMain);
    forms::show(forms::frmCVModel);
}

// Until the windows show what the model holds: the model window's labels, and the diagram's
// panels once their repaint has had its turn.
void untilShown() {
    auto* diagram = qobject_cast<workbench::frmDiagram*>(forms::existing(forms::frmDiagram));
    do {
        QApplication::processEvents();
    } while (diagram && diagram->isVisible() && diagram->repaintPending());
    QApplication::processEvents();
}

double millisecondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

// Timed: AutoRun itself, and then the drawing of its equilibrium (counters "autorun" and
// "drawing", ms per AutoRun). Untimed before it: Restart, the doubled resistance and their
// drawing, so that none of that is left over for the timed part.
void autoRunFromDoubledResistance(benchmark::State& st, bool withDiagram) {
    startProgram();
    if (withDiagram) forms::show(forms::frmDiagram);
    int runs = 0;
    double autorun = 0, drawing = 0;
    for (auto _ : st) {
        st.PauseTiming();
        workbench::clickRestart();
        workbench::changeByText("lblResisSysA", "200");
        const int steps = model::state().StepCount;
        untilShown();
        st.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        workbench::clickAutoRun(true);
        autorun += millisecondsSince(t0);
        const auto t1 = std::chrono::steady_clock::now();
        untilShown();
        drawing += millisecondsSince(t1);
        st.PauseTiming();
        if (std::fabs(model::state().FlowMax - model::state().FlowMin) > 0.3)
            st.SkipWithError("AutoRun did not reach equilibrium");
        runs = (model::state().StepCount - steps) / 100;
        model::state().AutoRunOn = 0;
        QApplication::processEvents();
        st.ResumeTiming();
    }
    st.counters["runs"] = runs;
    st.counters["autorun"] = benchmark::Counter(autorun, benchmark::Counter::kAvgIterations);
    st.counters["drawing"] = benchmark::Counter(drawing, benchmark::Counter::kAvgIterations);
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

// One frame of the shown diagram after a display: the curves worked out again and both panels
// painted (at the window's first size, 640 by 760).
void AFrameOfTheDiagram(benchmark::State& st) {
    startProgram();
    forms::show(forms::frmDiagram);
    auto* w = qobject_cast<workbench::frmDiagram*>(forms::existing(forms::frmDiagram));
    QApplication::processEvents();
    for (auto _ : st) {
        w->modelDisplayed();
        do {
            QApplication::processEvents();
        } while (w->repaintPending());
        QApplication::processEvents();
    }
}
BENCHMARK(AFrameOfTheDiagram)->Unit(benchmark::kMicrosecond);

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
