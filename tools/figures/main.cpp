// vasora-figures: see FiguresTool.h.
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "tools/figures/FiguresTool.h"

int main(int argc, char** argv) {
    // The generator draws into images only; it needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    return vasora::figures::runFiguresTool(args, out, err);
}
