#pragma once

// The main of the benchmarks of real windows: an application on the offscreen platform, a
// scripted dialog seam so that no message box waits for an answer, the windows deleted after.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "shell/Dialogs.h"
#include "shell/Forms.h"

namespace vasora::bench {

inline int runGuiBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::ScriptedSeam seam;
    ui::SeamGuard guard(seam);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    forms::reset();
    return 0;
}

}  // namespace vasora::bench
