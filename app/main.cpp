#include <QApplication>
#include <QTimer>

#include "app/AppForms.h"
#include "shell/Forms.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vasora"));
    // Every window is the program's own; the last one closing must not end the program while
    // the main menu is only hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    vasora::registerAllForms();
    vasora::forms::show(vasora::forms::frmMain);
    // --quit-after-start ends the program as soon as the main menu has been shown and painted,
    // so that the start-up can be timed as a whole process.
    if (QApplication::arguments().contains(QStringLiteral("--quit-after-start")))
        QTimer::singleShot(0, [] { QApplication::quit(); });
    return QApplication::exec();
}
