// vasora-rtf: inspects the rich-text documents of the program with the program's own reader.
//   vasora-rtf text FILE        the plain text, one paragraph a line, table cells by tabs
//   vasora-rtf tags FILE        every tag: paragraph, character, code, kind, P2, P3, P4, text
//   vasora-rtf roundtrip IN OUT reads IN and writes it to OUT
//   vasora-rtf compile [--sample] SRC OUT
//                               compiles a document's source (a .vtx file or a folder of them);
//                               --sample fills a lab book's answer fields
//   vasora-rtf check FILE [--info INFOFILE]
//                               checks a document: tag codes, links and their anchors,
//                               figures and their files, headings, lab book tables; exit 0
//                               when it finds nothing, 1 with every problem found
//   vasora-rtf play IN OUT      plays a lab book as the display's tag event would, every table
//                               button and restart tag from top to bottom, writes the filled
//                               book to OUT and reports every table on standard output
// A file read only in part (a damaged file, a file that is not RTF) is still printed or written
// as far as it was read, with the problem on standard error. Exit status: 0 the file was read
// completely, 3 it was read in part, 1 it could not be opened or written, 2 wrong use.

#include "core/TagCodes.h"
#include "documents/PlainText.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "documents/Tags.h"
#include "tools/vasora-rtf/Authoring.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <cstdio>

using namespace vasora;

namespace {

int usage() {
    std::fputs(
        "usage: vasora-rtf text FILE | tags FILE | roundtrip IN OUT |\n"
        "                  compile [--sample] SRC OUT |\n"
        "                  check FILE [--info INFOFILE] | play IN OUT\n",
        stderr);
    return 2;
}

void say(const QString& s, FILE* to) {
    const QByteArray b = s.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), to);
}

constexpr int kCannotOpen = 1;
constexpr int kPartialRead = 3;

// Reads the file into doc: 0 when it was read completely, kPartialRead when only in part (the
// problem is on standard error), kCannotOpen when it could not be opened.
int load(const QString& path, QTextDocument& doc) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        say(QStringLiteral("vasora-rtf: cannot open %1\n").arg(path), stderr);
        return kCannotOpen;
    }
    const documents::RtfReadReport report = documents::readRtf(f.readAll(), doc);
    if (report.clean()) return 0;
    say(QStringLiteral("vasora-rtf: %1\n").arg(report.message(QFileInfo(path).fileName())), stderr);
    return kPartialRead;
}

}  // namespace

int main(int argc, char** argv) {
    // Text layout needs a GUI application, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) return usage();
    const QString cmd = args[1];
    if (cmd == QLatin1String("compile") || cmd == QLatin1String("check") ||
        cmd == QLatin1String("play")) {
        const int status = cmd == QLatin1String("compile") ? rtftool::compileCommand(args.mid(2))
                           : cmd == QLatin1String("check") ? rtftool::checkCommand(args.mid(2))
                                                           : rtftool::playCommand(args.mid(2));
        return status == 2 ? usage() : status;
    }

    QTextDocument doc;
    if (cmd == QLatin1String("text") && args.size() == 3) {
        const int read = load(args[2], doc);
        if (read == kCannotOpen) return read;
        say(documents::plainText(doc) + QLatin1Char('\n'), stdout);
        return read;
    }
    if (cmd == QLatin1String("tags") && args.size() == 3) {
        const int read = load(args[2], doc);
        if (read == kCannotOpen) return read;
        for (const documents::TagSpan& t : documents::allTags(doc)) {
            std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
            if (!labbook::SplitTag(t.code, kind, p2, p3, p4))
                say(QString::fromStdString(labbook::splitTagError(t.code)) + QLatin1Char('\n'),
                    stderr);
            const QTextBlock b = doc.findBlock(t.start);
            say(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\n")
                    .arg(b.blockNumber())
                    .arg(t.start - b.position())
                    .arg(t.code)
                    .arg(kind)
                    .arg(p2)
                    .arg(p3)
                    .arg(p4)
                    .arg(documents::tagText(doc, t)),
                stdout);
        }
        return read;
    }
    if (cmd == QLatin1String("roundtrip") && args.size() == 4) {
        const int read = load(args[2], doc);
        if (read == kCannotOpen) return read;
        if (!rtftool::writeDocument(args[3], documents::writeRtf(doc))) return kCannotOpen;
        return read;
    }
    return usage();
}
