#pragma once

// Going back to the main menu from anywhere: each subsystem names, when it registers its
// windows, which of them the way back hides, so no window has to know another subsystem's.

#include <functional>

#include "shell/FormNames.h"

namespace vasora::shell {

/// Going back to the main menu hides `name` (when it exists).
void hideOnReturnToMainMenu(forms::FormName name);

/// Hides every window named above, then shows the main menu.
void returnToMainMenu();

/// Shows the lab book where it stands, as the lab book's windows registered it: the display once
/// a book is loaded, else the window that chooses one. Returns false when none is registered.
void setLabBookShower(std::function<bool()> show);
bool showLabBook();

/// Offers the main menu's "File Help" again, as the main menu registered it.
void setFileHelpOffer(std::function<void()> offer);
void offerFileHelp();

/// Forgets the names and hooks (tests start each case afresh).
void resetNavigation();

}  // namespace vasora::shell
