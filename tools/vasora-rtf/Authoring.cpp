#include "tools/vasora-rtf/Authoring.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <cstdio>

#include "core/AtomicFile.h"
#include "documents/DocCheck.h"
#include "documents/DocSource.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "labbook/LabBookPlay.h"

namespace vasora::rtftool {

namespace {

void err(const QString& s) {
    const QByteArray b = s.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

bool read(const QString& path, QTextDocument& doc) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        err(QStringLiteral("vasora-rtf: cannot open %1").arg(path));
        return false;
    }
    const documents::RtfReadReport r = documents::readRtf(f.readAll(), doc);
    if (!r.clean()) {
        err(QStringLiteral("%1: %2").arg(path, r.message(QFileInfo(path).fileName())));
        return false;
    }
    return true;
}

bool write(const QString& path, const QTextDocument& doc) {
    return writeDocument(path, documents::writeRtf(doc));
}

}  // namespace

bool writeDocument(const QString& path, const QByteArray& data) {
    // The program's one atomic writer: a file is replaced whole or not at all, and what is not
    // a plain file (a device, a folder) is refused, never replaced by one.
    const std::string why = writeFileAtomically(QFile::encodeName(path).toStdString(),
                                                std::string_view(data.constData(), data.size()));
    if (why.empty()) return true;
    err(QStringLiteral("vasora-rtf: cannot write %1: %2").arg(path, QString::fromStdString(why)));
    return false;
}

int compileCommand(QStringList args) {
    documents::SourceVariant variant = documents::SourceVariant::Template;
    if (!args.isEmpty() && args[0] == QLatin1String("--sample")) {
        variant = documents::SourceVariant::Sample;
        args.removeFirst();
    }
    if (args.size() != 2) return 2;
    documents::SourceResult result;
    const QList<documents::SourceFile> files = documents::readSourcePath(args[0], result);
    QTextDocument doc;
    if (!files.isEmpty()) {
        const documents::SourceResult compiled = documents::compileSource(files, doc, variant);
        result.problems.append(compiled.problems);
    }
    if (!result.ok()) {
        for (const documents::SourceProblem& p : result.problems) err(p.toString());
        return 1;
    }
    return write(args[1], doc) ? 0 : 1;
}

int checkCommand(const QStringList& args) {
    QString file, infoFile;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--info") && i + 1 < args.size())
            infoFile = args[++i];
        else if (file.isEmpty())
            file = args[i];
        else
            return 2;
    }
    if (file.isEmpty()) return 2;
    QTextDocument doc, info;
    if (!read(file, doc)) return 1;
    // The information file checked against itself is the information file.
    const bool isInfo = infoFile.isEmpty() || QFileInfo(infoFile).canonicalFilePath() ==
                                                  QFileInfo(file).canonicalFilePath();
    if (!isInfo && !read(infoFile, info)) return 1;
    const QStringList problems =
        documents::checkDocument({&doc, QFileInfo(file).absolutePath(), isInfo ? nullptr : &info});
    for (const QString& p : problems) err(QStringLiteral("%1: %2").arg(file, p));
    return problems.isEmpty() ? 0 : 1;
}

}  // namespace vasora::rtftool

namespace vasora::rtftool {

int playCommand(const QStringList& args) {
    if (args.size() != 2) return 2;
    QTextDocument doc;
    QFile f(args[0]);
    if (!f.open(QIODevice::ReadOnly)) {
        err(QStringLiteral("vasora-rtf: cannot open %1").arg(args[0]));
        return 1;
    }
    // A book read only in part is not played: what it would write is not the whole book.
    const documents::RtfReadReport r = documents::readRtf(f.readAll(), doc);
    if (!r.clean()) {
        err(QStringLiteral("vasora-rtf: %1").arg(r.message(QFileInfo(args[0]).fileName())));
        return 3;
    }
    const labbook::PlayResult played = labbook::playLabBook(doc);
    const QByteArray report = labbook::playReport(played).toUtf8();
    std::fwrite(report.constData(), 1, size_t(report.size()), stdout);
    return write(args[1], doc) ? 0 : 1;
}

}  // namespace vasora::rtftool
