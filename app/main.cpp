#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include "app/AppForms.h"
#include "app/ScreenshotTour.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/ProjectFolder.h"

namespace {

bool quitAfterStart() {
    return QApplication::arguments().contains(QStringLiteral("--quit-after-start"));
}

// A start that is timed or tested has nobody to press OK: its problems go to standard error.
void report(const QString& text) {
    if (quitAfterStart())
        qWarning("%s", qPrintable(text));
    else
        vasora::ui::messageBox(text);
}

// The main menu takes its project folder from the current directory, so the folder chosen here
// becomes the current directory before the main menu loads.
void enterProjectFolder() {
    using namespace vasora::shell;
    const QString shipped = shippedContentDir();
    const ProjectChoice c = chooseProjectFolder(
        QDir::currentPath(), QApplication::arguments(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), installedContentDir());
    if (!c.error.isEmpty()) report(c.error);
    if (c.folder.isEmpty()) return;
    QString problem;
    if (c.fill) {
        if (shipped.isEmpty())
            problem = QStringLiteral("The documents that come with Vasora cannot be found; the "
                                     "information text and the lab book will be missing.");
        else
            problem = fillProjectFolder(c.folder, shipped).error;
    }
    if (!QDir::setCurrent(c.folder) && problem.isEmpty())
        problem = QStringLiteral("The folder %1 cannot be opened.")
                      .arg(QDir::toNativeSeparators(c.folder));
    if (!problem.isEmpty())
        report(problem + QStringLiteral("\n\nYour files may not be saved."));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vasora"));
    QApplication::setDesktopFileName(QStringLiteral("org.vasora.Vasora"));
    QIcon icon;
    for (const char* size : {"48x48", "128x128", "256x256"})
        icon.addFile(QStringLiteral(":/icons/%1/org.vasora.Vasora.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
    // Every window is the program's own; the last one closing must not end the program while
    // the main menu is only hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    enterProjectFolder();
    vasora::registerAllForms();
    vasora::forms::show(vasora::forms::frmMain);
    // --quit-after-start ends the program as soon as the main menu has been shown and painted,
    // so that the start-up can be timed as a whole process.
    if (quitAfterStart())
        QTimer::singleShot(0, [] { QApplication::quit(); });
    // --tour FOLDER saves pictures of the main windows for the README (tools/screenshots.sh).
    if (const qsizetype t = QApplication::arguments().indexOf(QStringLiteral("--tour"));
        t > 0 && t + 1 < QApplication::arguments().size())
        vasora::startScreenshotTour(QApplication::arguments()[t + 1]);
    return QApplication::exec();
}
