#include "tools/figures/FiguresTool.h"

#include <QDir>
#include <QImageWriter>
#include <QTextStream>

#include "figures/FigureData.h"
#include "figures/Figures.h"

namespace vasora::figures {

namespace {

constexpr const char* kUsage =
    "usage: vasora-figures OUTDIR | --data N | --list\n"
    "  OUTDIR     write every figure as ImgNNN.jpg into OUTDIR\n"
    "  --data N   print the numbers of data figure N as CSV\n"
    "  --list     list the figures with their nominal size\n";

int printData(const QString& arg, QTextStream& out, QTextStream& err) {
    bool ok = false;
    const int n = arg.toInt(&ok);
    if (!ok) {
        err << "not a figure number: " << arg << "\n";
        return 1;
    }
    if (!findFigure(n)) {
        err << "no figure " << n << "\n";
        return 2;
    }
    const std::optional<DataTable> t = figureData(n);
    if (!t) {
        err << "figure " << n << " is a diagram and has no data\n";
        return 2;
    }
    out << QString::fromStdString(toCsv(*t));
    return 0;
}

}  // namespace

bool writeAllFigures(const QString& dir, QTextStream& err) {
    if (!QDir().mkpath(dir)) {
        err << "cannot make the folder " << dir << "\n";
        return false;
    }
    bool all = true;
    for (const FigureInfo& f : figureList()) {
        QImage img = renderFigure(f.number);
        // Tell viewers that honour it that the image is for a screen of twice the density.
        const int dotsPerMetre = static_cast<int>(96 * kImageScale / 0.0254 + 0.5);
        img.setDotsPerMeterX(dotsPerMetre);
        img.setDotsPerMeterY(dotsPerMetre);
        const QString path = QDir(dir).filePath(figureFileName(f.number));
        QImageWriter w(path, "jpeg");
        w.setQuality(kJpegQuality);
        if (img.isNull() || !w.write(img)) {
            err << "cannot write " << path << ": " << w.errorString() << "\n";
            all = false;
        }
    }
    return all;
}

int runFiguresTool(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() == 2 && args[0] == QLatin1String("--data")) return printData(args[1], out, err);
    if (args.size() == 1 && args[0] == QLatin1String("--list")) {
        for (const FigureInfo& f : figureList())
            out << figureFileName(f.number) << "\t" << f.size.width() << "x" << f.size.height()
                << (f.hasData ? "\tdata\t" : "\tdiagram\t") << f.subject << "\n";
        return 0;
    }
    if (args.size() == 1 && !args[0].startsWith(QLatin1Char('-')))
        return writeAllFigures(args[0], err) ? 0 : 2;
    err << kUsage;
    return 1;
}

}  // namespace vasora::figures
