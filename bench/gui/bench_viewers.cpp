// The information viewer with the shipped information file, on the offscreen platform: loading
// it with its contents tree (aim 100 ms) and following a link (aim 10 ms).

#include <benchmark/benchmark.h>

#include "bench/gui/GuiBenchMain.h"

#include <QApplication>
#include <QDir>

#include "app/AppForms.h"
#include "core/CV_Nav.h"
#include "documents/ScrivoControl.h"
#include "documents/frmInfo.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"

using namespace vasora;

namespace {

QString contentFolder() {
    return QStringLiteral(VASORA_SOURCE_DIR "/content/");
}

void LoadTheInformationFileWithItsTree(benchmark::State& st) {
    for (auto _ : st) {
        st.PauseTiming();
        forms::reset();
        registerAllForms();
        appState().InfoFile = contentFolder() + QStringLiteral("FinalNT.rtf");
        st.ResumeTiming();
        auto* info = forms::get<documents::frmInfo>(forms::frmInfo);  // its load step runs
        benchmark::DoNotOptimize(info->indexPara());
        st.PauseTiming();
        if (info->text()->TextLength() < 10000) st.SkipWithError("the file did not load");
        QApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK(LoadTheInformationFileWithItsTree)->Unit(benchmark::kMillisecond);

void FollowALink(benchmark::State& st) {
    forms::reset();
    registerAllForms();
    appState().InfoFile = contentFolder() + QStringLiteral("FinalNT.rtf");
    auto* info = forms::get<documents::frmInfo>(forms::frmInfo);
    info->show();
    QApplication::processEvents();
    // Back and forth between a topic near the start and one near the end.
    int k = 0;
    for (auto _ : st) {
        if (!info->showTopic(++k % 2 ? 409 : 101)) st.SkipWithError("no anchor");
        st.PauseTiming();
        if (k % 20 == 0) nav::clearHistory();  // the history holds thirty links
        st.ResumeTiming();
    }
}
BENCHMARK(FollowALink)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vasora::bench::runGuiBenchmarks(argc, argv);
}
