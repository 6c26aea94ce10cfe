#pragma once

namespace vasora::labbook {

/// Registers the lab book's windows: the choice of lab book, the display and the question on
/// quitting; going back to the main menu hides the first two.
void registerLabBookForms();

}  // namespace vasora::labbook
