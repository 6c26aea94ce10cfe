// Engine benchmarks. Build in Release and run:
//   cmake -S . -B build-release -G Ninja -DVASORA_GUI=OFF -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-release --target bench_model && build-release/bench/model/bench_model
// Aims: RunModel at the default intervals (400 trace points) 20 us or less; one RunModel of
// 30000 steps 5 ms or less; one Euler step within twice the cost of a bare loop of the same
// equations (the counter "ratio" of BM_EulerStepRatio).

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <vector>

#include "model/RecordingView.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"

namespace {

using namespace vasora::model;

// A view that keeps the trace points as a strip chart's backing store would, and nothing else.
class TraceView final : public NullView {
  public:
    struct Point {
        int x, y;
        Rgb colour;
        int pen;
    };
    std::vector<Point> points;
    TraceView() { points.reserve(1 << 17); }
    int plotWidth() override { return 4800; }
    int plotHeight() override { return 3000; }
    void plotClear() override { points.clear(); }
    void plotPoint(int x, int y, Rgb c, int pen) override { points.push_back({x, y, c, pen}); }
};

// A view with a drawing area that discards everything: the engine's own cost.
class QuietView final : public NullView {
  public:
    int plotWidth() override { return 4800; }
    int plotHeight() override { return 3000; }
};

void loadNormal(ModelView& v) {
    resetState();
    setView(&v);
    vasora::workbench::setRestartHooks({});
    vasora::workbench::loadModelWindow();
}

void BM_RunModelDefault(benchmark::State& st) {
    TraceView v;
    loadNormal(v);
    ModelState& s = state();
    std::size_t points = 0;
    for (auto _ : st) {
        // Keep the clock in the first sweep, as the learner's first clicks do.
        s.ModelTime = s.RunUntil = 0.1;
        v.points.clear();
        RunModel();
        points = v.points.size();
        benchmark::DoNotOptimize(v.points.data());
    }
    st.counters["points"] = static_cast<double>(points);
    setView(nullptr);
}
BENCHMARK(BM_RunModelDefault);

// A run after a disturbance (500 ml moved out of the systemic veins), from the same state each
// time, with the baroreceptor reflex off (0) or on (1), which keeps its four effectors moving.
// Both copy the starting state in, so the difference is the reflex's own cost. Aim: with the
// reflex 1.3 times without it or less.
void BM_RunModelDisturbed(benchmark::State& st) {
    TraceView v;
    loadNormal(v);
    ModelState& s = state();
    ReflexOptions o;
    o.on = st.range(0) != 0;
    setReflexOptions(s, o);
    RunModel();
    s.Vstrs[SysV] = s.Vstrs[SysV] - 500;
    const ModelState start = s;
    std::size_t points = 0;
    for (auto _ : st) {
        s = start;
        s.ModelTime = s.RunUntil = 0.1;
        v.points.clear();
        RunModel();
        points = v.points.size();
        benchmark::DoNotOptimize(v.points.data());
    }
    st.counters["points"] = static_cast<double>(points);
    st.counters["HR"] = s.HrtRate;
    st.SetLabel(o.on ? "reflex on" : "reflex off");
    setView(nullptr);
}
BENCHMARK(BM_RunModelDisturbed)->Arg(0)->Arg(1);

// The same late in AutoRun's 15 minutes, in the fifth sweep, with a view that keeps every
// caption (the strip chart's axis captions change per sweep).
void BM_RunModelLateSweep(benchmark::State& st) {
    RecordingView v;
    loadNormal(v);
    ModelState& s = state();
    for (auto _ : st) {
        s.ModelTime = s.RunUntil = 13.1;
        RunModel();
    }
    setView(nullptr);
}
BENCHMARK(BM_RunModelLateSweep);

void BM_RunModel30000Steps(benchmark::State& st) {
    TraceView v;
    loadNormal(v);
    ModelState& s = state();
    int steps = 0;
    for (auto _ : st) {
        s.IterInterval = 0.0001;
        s.PrintInterval = 3;
        s.ModelTime = s.RunUntil = 0.1;
        v.points.clear();
        const int before = s.StepCount;
        RunModel();
        steps = s.StepCount - before;
    }
    st.counters["steps"] = steps;
    setView(nullptr);
}
BENCHMARK(BM_RunModel30000Steps)->Unit(benchmark::kMillisecond);

void BM_AutoRunSysA200ToEquilibrium(benchmark::State& st) {
    RecordingView v;
    loadNormal(v);
    const ModelState loaded = state();
    double runs = 0;
    for (auto _ : st) {
        state() = loaded;
        ModelState& s = state();
        s.Resis[SysA] = 2 * s.Resis_N[SysA];
        s.AutoRunOn = 1;
        const int before = s.StepCount;
        RunModel();
        DisplayValues();
        runs = (s.StepCount - before) / 100.0;
        if (std::fabs(s.FlowMax - s.FlowMin) > 0.3) st.SkipWithError("no equilibrium");
    }
    st.counters["runs"] = runs;
    setView(nullptr);
}
BENCHMARK(BM_AutoRunSysA200ToEquilibrium)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------------------------------------
// One Euler step of the engine against the same equations with no bookkeeping: no view, no
// strip chart, no ramps, no step count, no finiteness check.

struct Bare {
    std::array<double, 7> C{}, R{}, P{}, F{}, V{}, Vu{};
    double Pit = 0, K2 = 0, HR = 0, EmaxR = 0, EmaxL = 0, VoR = 0, VoL = 0, collapse = 0, t = 0;
};

Bare bareFrom(const ModelState& s) {
    Bare b;
    for (int i = 0; i < 7; ++i) {
        b.C[i] = s.Comp[i];
        b.R[i] = s.Resis[i];
        b.V[i] = s.Vstrs[i];
        b.Vu[i] = s.Vunstrs[i];
    }
    b.Pit = s.Pit;
    b.K2 = s.K2_RV;
    b.HR = s.HrtRate;
    b.EmaxR = s.Emax_RV;
    b.EmaxL = s.Emax_LV;
    b.VoR = s.Vo_RV;
    b.VoL = s.Vo_LV;
    b.t = s.ModelTime;
    return b;
}

void bareSteps(Bare& b, int n, double dt) {
    auto& P = b.P;
    auto& F = b.F;
    auto& V = b.V;
    auto& C = b.C;
    auto& R = b.R;
    for (int k = 0; k < n; ++k) {
        P[1] = V[1] / C[1];
        P[2] = V[2] / C[2];
        P[3] = V[3] / C[3] + b.Pit;
        if (V[3] > 175) P[3] = P[3] + (V[3] - 175) / (0.33 * C[3]);
        P[4] = V[4] / C[4] + b.Pit;
        P[5] = V[5] / C[5] + b.Pit;
        P[6] = V[6] / C[6] + b.Pit;
        if (V[6] > 175) P[6] = P[6] + (V[6] - 175) / (0.33 * C[6]);
        F[1] = (P[1] - P[2]) / R[1];
        F[2] = (P[2] - P[3]) * b.K2 / R[2];
        double esvR = P[4] / b.EmaxR + b.VoR;
        if (esvR >= V[3]) esvR = V[3];
        F[3] = b.HR * (V[3] - esvR);
        F[4] = (P[4] - P[5]) / R[4];
        F[5] = (P[5] - P[6]) / R[5] * b.K2;
        double esvL = P[1] / b.EmaxL + b.VoL;
        if (esvL >= V[6]) esvL = V[6];
        F[6] = b.HR * (V[6] - esvL);
        double collapseRate = 0;
        if (V[2] < 0) {
            collapseRate = 200;
            b.Vu[2] = b.Vu[2] - 200 * dt;
            b.collapse = b.collapse + 200 * dt;
        }
        if (V[2] > 0 && b.collapse > 0) {
            collapseRate = -100;
            b.Vu[2] = b.Vu[2] + 100 * dt;
            b.collapse = b.collapse - 100 * dt;
        }
        V[1] = V[1] + (F[6] - F[1]) * dt;
        V[2] = V[2] + (F[1] - F[2] + collapseRate) * dt;
        V[3] = V[3] + (F[2] - F[3]) * dt;
        V[4] = V[4] + (F[3] - F[4]) * dt;
        V[5] = V[5] + (F[4] - F[5]) * dt;
        V[6] = V[6] + (F[5] - F[6]) * dt;
        b.t = b.t + dt;
    }
}

constexpr int kSteps = 30000;

void BM_EulerStepEngine(benchmark::State& st) {
    QuietView v;
    loadNormal(v);
    ModelState& s = state();
    for (auto _ : st) {
        s.IterInterval = 0.0001;
        s.PrintInterval = 3;
        s.ModelTime = s.RunUntil = 0.1;
        RunModel();
    }
    st.SetItemsProcessed(st.iterations() * kSteps);
    setView(nullptr);
}
BENCHMARK(BM_EulerStepEngine)->Unit(benchmark::kMillisecond);

void BM_EulerStepBare(benchmark::State& st) {
    QuietView v;
    loadNormal(v);
    const Bare start = bareFrom(state());
    for (auto _ : st) {
        Bare b = start;
        bareSteps(b, kSteps, 0.0001);
        benchmark::DoNotOptimize(b);
    }
    st.SetItemsProcessed(st.iterations() * kSteps);
    setView(nullptr);
}
BENCHMARK(BM_EulerStepBare)->Unit(benchmark::kMillisecond);

// Both timed side by side, the best of several rounds each, so the ratio is read directly.
void BM_EulerStepRatio(benchmark::State& st) {
    QuietView v;
    loadNormal(v);
    ModelState& s = state();
    const Bare start = bareFrom(s);
    using clock = std::chrono::steady_clock;
    double bestEngine = 1e30, bestBare = 1e30;
    for (auto _ : st) {
        auto t0 = clock::now();
        s.IterInterval = 0.0001;
        s.PrintInterval = 3;
        s.ModelTime = s.RunUntil = 0.1;
        RunModel();
        auto t1 = clock::now();
        Bare b = start;
        bareSteps(b, kSteps, 0.0001);
        benchmark::DoNotOptimize(b);
        auto t2 = clock::now();
        bestEngine = std::min(bestEngine, std::chrono::duration<double>(t1 - t0).count());
        bestBare = std::min(bestBare, std::chrono::duration<double>(t2 - t1).count());
    }
    st.counters["engine_ns_per_step"] = bestEngine / kSteps * 1e9;
    st.counters["bare_ns_per_step"] = bestBare / kSteps * 1e9;
    st.counters["ratio"] = bestEngine / bestBare;
    setView(nullptr);
}
BENCHMARK(BM_EulerStepRatio)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
