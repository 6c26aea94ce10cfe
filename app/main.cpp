#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "app/AppForms.h"
#include "app/CommandLine.h"
#include "app/ScreenshotTour.h"
#include "app/frmMain.h"
#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/ProjectFolder.h"

namespace {

using vasora::app::CommandLine;

void print(std::FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
}

// Help, the version and a refused command line end the program here, with its exit status;
// -1 lets the start go on.
int answered(const CommandLine& c) {
    switch (c.action) {
        case CommandLine::Action::Help:
            print(stdout, vasora::app::helpText());
            return 0;
        case CommandLine::Action::Version:
            print(stdout, vasora::app::versionText());
            return 0;
        case CommandLine::Action::Usage:
            print(stderr, QStringLiteral("vasora: %1\n").arg(c.error) + vasora::app::usageHint());
            return 2;
        case CommandLine::Action::Start:
            return -1;
    }
    return -1;
}

QStringList rawArguments(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// The main menu takes its project folder from the current directory, so the folder chosen here
// becomes the current directory before the main menu loads.
void enterProjectFolder(const QStringList& options) {
    using namespace vasora::shell;
    const QString shipped = shippedContentDir();
    const ProjectChoice c = chooseProjectFolder(
        QDir::currentPath(), options,
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), installedContentDir());
    if (!c.error.isEmpty()) vasora::ui::messageBox(c.error);
    if (c.folder.isEmpty()) return;
    QString problem;
    if (c.fill) {
        if (shipped.isEmpty())
            problem = QStringLiteral(
                "The documents that come with Vasora cannot be found; the "
                "information text and the lab book will be missing.");
        else
            problem = fillProjectFolder(c.folder, shipped).error;
    }
    if (!QDir::setCurrent(c.folder) && problem.isEmpty())
        problem = QStringLiteral("The folder %1 cannot be opened.")
                      .arg(QDir::toNativeSeparators(c.folder));
    if (!problem.isEmpty())
        vasora::ui::messageBox(problem + QStringLiteral("\n\nYour files may not be saved."));
}

}  // namespace

int main(int argc, char** argv) {
    // Asked for help or the version, or given an option it does not know, the program answers
    // before anything of the toolkit starts: no window, and no learner's folder filled.
    if (const int status = answered(vasora::app::parseCommandLine(rawArguments(argc, argv), true));
        status >= 0)
        return status;
    QApplication app(argc, argv);
    // The toolkit has taken its own options out; what is left is the program's.
    const CommandLine cl = vasora::app::parseCommandLine(QApplication::arguments(), false);
    if (const int status = answered(cl); status >= 0) return status;
    QApplication::setApplicationName(QStringLiteral("Vasora"));
    // The launcher's name; on X11 the windows' class is the program's name, which the
    // launcher's StartupWMClass names.
    QApplication::setDesktopFileName(QStringLiteral("org.vasora.Vasora"));
    QIcon icon;
    for (const char* size :
         {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"})
        icon.addFile(QStringLiteral(":/icons/%1/org.vasora.Vasora.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
    // Every window is the program's own; the last one closing must not end the program while
    // the main menu is only hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    // A start that is timed or tested has nobody to press OK: its messages go to standard error.
    if (cl.quitAfterStart) vasora::app::answerDialogsOnStandardError();
    // The book is named from the folder the program was started in, which it is about to leave.
    const QString labBook =
        cl.labBook.isEmpty() ? QString() : QFileInfo(cl.labBook).absoluteFilePath();
    enterProjectFolder(cl.options);
    vasora::registerAllForms();
    vasora::forms::show(vasora::forms::frmMain);
    if (!labBook.isEmpty()) vasora::app::openStartingLabBook(labBook);
    // --quit-after-start ends the program as soon as the main menu (and the lab book named)
    // has been shown and painted, so that the start-up can be timed as a whole process. It ends
    // it as Quit does once the learner has answered: a lab book just opened has nothing to save.
    if (cl.quitAfterStart) QTimer::singleShot(0, &vasora::frmMain::endProgram);
    // --tour FOLDER saves pictures of the main windows for the README (tools/screenshots.sh).
    if (!cl.tour.isEmpty()) vasora::startScreenshotTour(cl.tour);
    return QApplication::exec();
}
