#include "shell/Forms.h"

#include <QHash>
#include <QPointer>

#include "shell/LiveFigures.h"

namespace vasora::forms {
namespace {

struct Registry {
    QHash<QString, Factory> factories;
    QHash<QString, QPointer<QWidget>> windows;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void registerForm(FormName name, Factory factory) {
    registry().factories.insert(name.str(), std::move(factory));
}

QWidget* existing(FormName name) {
    auto& r = registry();
    auto it = r.windows.constFind(name.str());
    return it == r.windows.constEnd() ? nullptr : it->data();
}

bool exists(FormName name) {
    return existing(name) != nullptr;
}

bool registered(FormName name) {
    return registry().factories.contains(name.str());
}

QWidget* ControlHost::control(std::string_view name) const {
    auto it = m_controls.find(name);
    return it == m_controls.end() ? nullptr : it->second;
}

void ControlHost::indexControls(QWidget* root) {
    m_controls.clear();
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QString n = w->objectName();
        if (!n.isEmpty()) m_controls.emplace(n.toStdString(), w);
    }
}

QWidget* get(FormName name) {
    if (QWidget* w = existing(name)) return w;
    auto& r = registry();
    auto f = r.factories.constFind(name.str());
    if (f == r.factories.constEnd()) return nullptr;
    // The window is entered in the registry before its load steps run, so that a load step
    // that refers to its own window by name finds it instead of creating a second one.
    QWidget* w = (*f)();
    if (!w) return nullptr;
    if (w->objectName().isEmpty()) w->setObjectName(name.str());
    r.windows.insert(name.str(), w);
    if (auto* l = dynamic_cast<Loadable*>(w)) l->load();
    return w;
}

void show(FormName name) {
    if (QWidget* w = get(name)) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void hide(FormName name) {
    if (QWidget* w = existing(name)) w->hide();
}

bool isVisible(FormName name) {
    QWidget* w = existing(name);
    return w && w->isVisible();
}

void reset() {
    auto& r = registry();
    const auto windows = r.windows;
    r.windows.clear();
    for (const auto& w : windows) delete w.data();
    r.factories.clear();
    // The live figures show windows of the registry: registered again with them.
    shell::resetLiveFigures();
}

}  // namespace vasora::forms
