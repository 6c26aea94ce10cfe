#include "shell/WindowRoles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace vasora::shell {

namespace {

QAccessibleInterface* windowFactory(const QString& key, QObject* o) {
    if (key != QLatin1String("QWidget") || !o || !o->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(o);
    if (!w->isWindow()) return nullptr;
    const bool dialog = (w->windowFlags() & Qt::WindowType_Mask) == Qt::Dialog;
    return new QAccessibleWidget(w, dialog ? QAccessible::Dialog : QAccessible::Window);
}

}  // namespace

void installWindowRoles() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&windowFactory);
}

}  // namespace vasora::shell
