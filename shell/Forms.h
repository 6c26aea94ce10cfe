#pragma once

// The program's windows by name. Each window is created by its factory the first time anything
// asks for it, runs its load steps then, and afterwards is only shown and hidden. Subsystems
// register their windows at start-up and refer to one another's windows by name, so no window
// header has to include another subsystem's.

#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "shell/FormNames.h"

namespace vasora::forms {

using Factory = std::function<QWidget*()>;

/// A window with load steps implements this; the registry calls load() once, right after the
/// window was constructed and entered under its name, so that load steps which write into
/// their own window by name find it.
class Loadable {
  public:
    virtual ~Loadable() = default;
    virtual void load() = 0;
};

/// A window whose controls can be reached by object name, quickly: the engine's view writes
/// dozens of labels per display. The window indexes its controls once, after building them.
class ControlHost {
  public:
    virtual ~ControlHost() = default;
    /// The control named `name`, or nullptr.
    QWidget* control(std::string_view name) const;

  protected:
    void indexControls(QWidget* root);

  private:
    std::map<std::string, QWidget*, std::less<>> m_controls;
};

/// Registers the factory of window `name` (replacing an earlier one).
void registerForm(FormName name, Factory factory);
/// The window, created on first use; nullptr when no factory is registered under `name`.
QWidget* get(FormName name);
/// The window only if it exists already (never creates it).
QWidget* existing(FormName name);
bool exists(FormName name);
/// Whether a factory is registered under `name` (the window can be had).
bool registered(FormName name);

template <class T>
T* get(FormName name) {
    return qobject_cast<T*>(get(name));
}
template <class T>
T* existing(FormName name) {
    return qobject_cast<T*>(existing(name));
}

/// Non-modal show (creating the window if needed), raise and activate; hide only if it exists.
void show(FormName name);
void hide(FormName name);
bool isVisible(FormName name);

/// Deletes every window and forgets the factories and the live figures' windows (tests start
/// each case afresh).
void reset();

}  // namespace vasora::forms
