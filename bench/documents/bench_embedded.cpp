// A document holding 20 embedded pictures of 400 x 300 pixels, through ScrivoOLE as the control
// loads it: 7 MB of pictures, a 44 MB file once each is written in hexadecimal with its
// presentation and the picture a word processor shows. Loading it, which makes and draws every
// object (aim 500 ms), and saving it unchanged, every object keeping its bytes (aim 200 ms: the
// file is written whole).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>

#include "bench/BenchMain.h"
#include "documents/EmbeddedObjects.h"
#include "documents/ScrivoControl.h"
#include "documents/ScrivoOle.h"

using namespace vasora::documents;

namespace {

constexpr int kPictures = 20;

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// The book, made once through the library: each picture inserted from its file.
QString book() {
    static const QString file = [] {
        const QString reg = folder().filePath(QStringLiteral("classes.reg"));
        QFile r(reg);
        r.open(QIODevice::WriteOnly);
        r.write(
            "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\.bmp]\r\n@=\"Paint.Picture\"\r\n"
            "[HKEY_CLASSES_ROOT\\Paint.Picture\\CLSID]\r\n"
            "@=\"{D3E34B21-9D75-101A-8C3D-00AA001A1652}\"\r\n");
        r.close();
        qputenv("SCRIVOOLE_REGISTRY", QFile::encodeName(reg));
        ScrivoControl control(QStringLiteral("scrivoBench"));
        for (int i = 0; i < kPictures; ++i) {
            QImage picture(400, 300, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv(i * 17, 200, 200));
            const QString path = folder().filePath(QStringLiteral("picture%1.bmp").arg(i));
            picture.save(path, "BMP");
            QTextCursor end(control.document());
            end.movePosition(QTextCursor::End);
            end.insertText(QStringLiteral("Picture %1: ").arg(i));
            const int at = end.position();
            control.insertObject(QLatin1Char('*') + path, at, at, {});
            end.movePosition(QTextCursor::End);
            end.insertBlock();
        }
        const QString out = folder().filePath(QStringLiteral("book.rtf"));
        control.setFileName(out);
        control.setRangeStart(0);
        control.setRangeLength(control.TextLength());
        control.setSaveNow(1);
        return out;
    }();
    return file;
}

void BM_LoadPictures(benchmark::State& state) {
    ScrivoControl control(QStringLiteral("scrivoBench"));
    control.setFileName(book());
    for (auto _ : state) control.setLoadNow(1);
    state.counters["objects"] = control.embeddedObjects().count();
    state.counters["bytes"] = double(QFile(book()).size());
}
BENCHMARK(BM_LoadPictures)->Unit(benchmark::kMillisecond);

void BM_SavePicturesUnchanged(benchmark::State& state) {
    ScrivoControl control(QStringLiteral("scrivoBench"));
    control.setFileName(book());
    control.setLoadNow(1);
    control.setFileName(folder().filePath(QStringLiteral("saved.rtf")));
    control.setRangeStart(0);
    control.setRangeLength(control.TextLength());
    for (auto _ : state) control.setSaveNow(1);
    state.counters["objects"] = control.embeddedObjects().count();
}
BENCHMARK(BM_SavePicturesUnchanged)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The library of this build, unless another is named.
    if (!qEnvironmentVariableIsSet("VASORA_SCRIVOOLE")) qputenv("VASORA_SCRIVOOLE", SCRIVOOLE_FILE);
    return vasora::bench::runBenchmarks<QApplication>(argc, argv, [] {
        if (ole::library()) return 0;
        std::fprintf(stderr, "bench_embedded: ScrivoOLE could not be loaded\n");
        return 1;
    });
}
