#include "documents/ScrivoHost.h"

#include <unordered_map>

#include "documents/ScrivoControl.h"
#include "scrivoole/ScrivoOLE.h"

namespace vasora::documents::host {
namespace {

// Only the user-interface thread makes controls and receives the library's messages.
std::unordered_map<std::uint32_t, ScrivoControl*>& windows() {
    static std::unordered_map<std::uint32_t, ScrivoControl*> w;
    return w;
}

}  // namespace

std::uint32_t registerWindow(ScrivoControl* control) {
    static std::uint32_t last = 0;
    windows()[++last] = control;
    return last;
}

void unregisterWindow(std::uint32_t window) {
    windows().erase(window);
}

ScrivoControl* controlOfWindow(std::uint32_t window) {
    const auto it = windows().find(window);
    return it == windows().end() ? nullptr : it->second;
}

}  // namespace vasora::documents::host

using vasora::documents::host::controlOfWindow;

// The control's window object for a window number: the parent of the library's dialogs.
extern "C" __attribute__((visibility("default"))) void* SCRIVO_GETHWNDCONTROL(
    std::uint32_t window) {
    return static_cast<QWidget*>(controlOfWindow(window));
}

// Delivers a message of the library to a control and returns once it was handled.
extern "C" __attribute__((visibility("default"))) std::intptr_t SCRIVO_SENDMESSAGE(
    std::uint32_t window, std::uint32_t message, std::uintptr_t, std::intptr_t second) {
    vasora::documents::ScrivoControl* control = controlOfWindow(window);
    if (!control || message != SCRIVOOLE_MSG_OBJECTCHANGED) return 0;
    control->objectChanged(reinterpret_cast<ScrivoExtensionObject*>(second));
    return 0;
}
