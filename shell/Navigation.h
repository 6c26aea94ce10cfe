#pragma once

// Going back to the main menu from anywhere: each subsystem names, when it registers its
// windows, which of them the way back hides, so no window has to know another subsystem's.

#include "shell/FormNames.h"

namespace vasora::shell {

/// Going back to the main menu hides `name` (when it exists).
void hideOnReturnToMainMenu(forms::FormName name);

/// Hides every window named above, then shows the main menu.
void returnToMainMenu();

/// Forgets the names (tests start each case afresh).
void resetNavigation();

}  // namespace vasora::shell
