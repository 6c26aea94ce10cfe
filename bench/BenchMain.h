#pragma once

// The main of the benchmarks that need Qt: the offscreen platform unless the environment names
// another, one application of the kind the benchmarks need for the whole run, then Google
// Benchmark's own: its flags read (--benchmark_filter and the others), any other argument
// refused, the selected benchmarks run and their figures reported.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>
#include <functional>

namespace vasora::bench {

/// Runs the benchmarks the command line selects inside an application of type `App`
/// (QGuiApplication, or QApplication where there are widgets). `ready`, when given, runs once
/// the application exists; a non-zero result is returned at once and nothing is measured.
/// `done`, when given, runs after the report, while the application still exists.
template <class App>
int runBenchmarks(int argc, char** argv, const std::function<int()>& ready = {},
                  const std::function<void()>& done = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application keeps a reference to argc: it lives as long as the application.
    App app(argc, argv);
    if (ready) {
        if (const int refused = ready(); refused != 0) return refused;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (done) done();
    return 0;
}

}  // namespace vasora::bench
