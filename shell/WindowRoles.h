#pragma once

// Every window of the program is announced as a window (a frame), a dialog as a dialog: a plain
// widget shown as a window would otherwise be announced as a mere client area.

namespace vasora::shell {

/// Installs the accessible interface of the program's windows; once per program.
void installWindowRoles();

}  // namespace vasora::shell
