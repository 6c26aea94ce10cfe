#pragma once

// The main of the benchmarks of real windows: the benchmarks' main with a QApplication, a
// scripted dialog seam so that no message box waits for an answer, the windows deleted after.

#include <QApplication>

#include "bench/BenchMain.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"

namespace vasora::bench {

inline int runGuiBenchmarks(int argc, char** argv) {
    ui::ScriptedSeam seam;
    ui::SeamGuard guard(seam);
    return runBenchmarks<QApplication>(argc, argv, {}, [] { forms::reset(); });
}

}  // namespace vasora::bench
