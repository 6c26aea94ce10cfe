#include <QApplication>

#include "app/AppForms.h"
#include "app/Forms.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vasora"));
    // Every window is the program's own; the last one closing must not end the program while
    // the main menu is only hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    vasora::registerAllForms();
    vasora::forms::show(QStringLiteral("frmMain"));
    return QApplication::exec();
}
