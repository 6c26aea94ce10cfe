// Feeds arbitrary bytes to the RTF reader, then writes the document, reads that back and writes
// it again, so a fault in either direction shows: what the writer writes must read back with
// no problem of its own, and writing it again must give the same bytes (a document must never
// grow or change by being saved). Every input that ever failed is kept in regressions/, which
// a test loads.

#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "documents/Tags.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // The image decoders complain about every broken picture; the fuzzer makes millions.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    const auto first = vasora::documents::readRtf(bytes, doc);
    vasora::documents::allTags(doc);
    const QByteArray written = vasora::documents::writeRtf(doc);
    QTextDocument again;
    const auto second = vasora::documents::readRtf(written, again);
    // What the writer wrote must read back as RTF with no problem of its own; a picture the
    // first file held undecodable is written back as it was and stays undecodable.
    if (!second.isRtf) __builtin_trap();
    for (const QString& p : second.problems)
        if (!first.problems.contains(p)) __builtin_trap();
    if (vasora::documents::writeRtf(again) != written) __builtin_trap();
    return 0;
}
