#pragma once

// The figure generator's command line, apart from main so that tests can run it in-process:
//   vasora-figures OUTDIR        every figure as ImgNNN.jpg in OUTDIR (made when missing)
//   vasora-figures --data N      figure N's numbers as CSV on standard output
//   vasora-figures --list        the figures: number, nominal size, what each shows
// Exit status: 0 done, 1 a wrong command line (usage on the error stream), 2 a figure that
// has no data or is unknown, or an image that could not be written.

#include <QStringList>

class QTextStream;

namespace vasora::figures {

/// JPEG quality of the written images.
inline constexpr int kJpegQuality = 92;

/// `args` without the program's name. Needs a QGuiApplication.
int runFiguresTool(const QStringList& args, QTextStream& out, QTextStream& err);

/// Writes every figure into `dir` as ImgNNN.jpg; false (and a line on `err` per failure) when
/// one could not be written.
bool writeAllFigures(const QString& dir, QTextStream& err);

}  // namespace vasora::figures
