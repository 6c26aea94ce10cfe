// Reading very large documents: two million empty paragraphs (10 MB), a table of 20000 rows,
// and 1.6 million runs of alternating format (10 MB). Aims for the empty paragraphs: 2 s and
// 150 MB at most, in a release build. Each benchmark reports the process's peak memory, which
// is its own only when it runs alone: large-documents.sh runs them one by one.

#include "bench/BenchMain.h"
#include "documents/RtfReader.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <QGuiApplication>
#include <QTextDocument>

using namespace vasora::documents;

namespace {

double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

QByteArray repeated(const QByteArray& head, const QByteArray& piece, int times,
                    const QByteArray& tail) {
    QByteArray out = head;
    out.reserve(head.size() + piece.size() * times + tail.size());
    for (int i = 0; i < times; ++i) out += piece;
    return out + tail;
}

void load(benchmark::State& state, const QByteArray& data) {
    int blocks = 0;
    qsizetype problems = 0;
    for (auto _ : state) {
        QTextDocument doc;
        const RtfReadReport r = readRtf(data, doc);
        blocks = doc.blockCount();
        problems = r.problems.size();
    }
    state.counters["MB_file"] = double(data.size()) / 1e6;
    state.counters["blocks"] = blocks;
    state.counters["problems"] = double(problems);
    state.counters["MB_peak"] = peakMegabytes();
}

void BM_LoadTwoMillionEmptyParagraphs(benchmark::State& state) {
    static const QByteArray data = repeated("{\\rtf1 ", "\\par ", 2000000, "}");
    load(state, data);
}
BENCHMARK(BM_LoadTwoMillionEmptyParagraphs)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LoadTableOf20000Rows(benchmark::State& state) {
    static const QByteArray data = repeated(
        "{\\rtf1 ",
        "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl a\\cell b\\cell c\\cell\\row\n",
        20000, "\\pard end}");
    load(state, data);
}
BENCHMARK(BM_LoadTableOf20000Rows)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LoadAlternatingFormats(benchmark::State& state) {
    static const QByteArray data = repeated("{\\rtf1 ", "{\\b x}{\\i y}", 800000, "}");
    load(state, data);
}
BENCHMARK(BM_LoadAlternatingFormats)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return vasora::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
