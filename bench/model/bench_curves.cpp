// Guyton's curves and the pressure-volume loops, as the diagram window computes them on every
// display of the model window. Build in Release and run:
//   cmake -S . -B build-release -G Ninja -DVASORA_GUI=OFF -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-release --target bench_curves && build-release/bench/model/bench_curves
// Aim: both curves at 200 points each and both loops in 1 ms or less, at the normal
// circulation and after a 1000 ml hemorrhage.

#include <benchmark/benchmark.h>

#include "model/Curves.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"

namespace {

using namespace vasora::model;

ModelState circulation(bool bled) {
    resetState();
    setView(nullptr);
    vasora::workbench::setRestartHooks({});
    vasora::workbench::loadModelWindow();
    if (bled) {
        vasora::workbench::changeBloodVolume(-1000);
        for (int i = 0; i < 200; ++i) RunModel();
    }
    return state();
}

void BM_DiagramData(benchmark::State& st) {
    const ModelState s = circulation(st.range(0) != 0);
    for (auto _ : st) {
        DiagramData d = diagramData(s, 200);
        benchmark::DoNotOptimize(d);
    }
    st.SetLabel(st.range(0) ? "after a 1000 ml hemorrhage" : "normal");
}
BENCHMARK(BM_DiagramData)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Crossing(benchmark::State& st) {
    const ModelState s = circulation(false);
    for (auto _ : st) benchmark::DoNotOptimize(curvesCrossing(s));
}
BENCHMARK(BM_Crossing)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
