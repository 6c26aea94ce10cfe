// Load and save of a 1 MB lab-book-like document with 500 tables and 5000 tags, and a full
// forward FIND_NTAG walk over it. Aims: load 100 ms, save 50 ms, walk 20 ms.

#include "bench/BenchMain.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "documents/ScrivoControl.h"
#include "documents/Tags.h"
#include "tests/documents/TestDocs.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTextDocument>

using namespace vasora::documents;

namespace {

// 500 tables of two rows: a heading, a start marker, six cells, a button and a link each.
const QByteArray& book() {
    static const QByteArray data = vasora::test::labBook(500, 2, 7);
    return data;
}

void BM_LoadLabBook(benchmark::State& state) {
    for (auto _ : state) {
        QTextDocument doc;
        const RtfReadReport r = readRtf(book(), doc);
        benchmark::DoNotOptimize(r.problems.size());
    }
    QTextDocument doc;
    readRtf(book(), doc);
    state.counters["bytes"] = double(book().size());
    state.counters["tags"] = double(allTags(doc).size());
}
BENCHMARK(BM_LoadLabBook)->Unit(benchmark::kMillisecond);

void BM_SaveLabBook(benchmark::State& state) {
    QTextDocument doc;
    readRtf(book(), doc);
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray out = writeRtf(doc);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_SaveLabBook)->Unit(benchmark::kMillisecond);

void BM_FindNtagForwardWalk(benchmark::State& state) {
    ScrivoControl control(QStringLiteral("scrivoBench"));
    auto* doc = control.document();
    readRtf(book(), *doc);
    int found = 0;
    for (auto _ : state) {
        control.setCursorPara(0);
        control.setCursorChar(0);
        found = 0;
        while (vasora::ScrivoAPI::FIND_NTAG(control, 0, 1) > 0) ++found;
    }
    state.counters["tags"] = found;
}
BENCHMARK(BM_FindNtagForwardWalk)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vasora::bench::runBenchmarks<QApplication>(argc, argv);
}
