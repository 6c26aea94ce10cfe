#pragma once

// The control's side of ScrivoOLE's window messages. The program exports SCRIVO_GETHWNDCONTROL
// and SCRIVO_SENDMESSAGE (ScrivoHost.cpp), which the library looks up in the program's module:
// every control has a window number of its own, the library names the control by it, and
// message 1361 ("an embedded object was created or changed") is handed to that control.

#include <cstdint>

namespace vasora::documents {

class ScrivoControl;

namespace host {

/// A window number for the control, never 0 and never given twice in a program run.
std::uint32_t registerWindow(ScrivoControl* control);
void unregisterWindow(std::uint32_t window);
/// The control with that window number, or null.
ScrivoControl* controlOfWindow(std::uint32_t window);

}  // namespace host
}  // namespace vasora::documents
