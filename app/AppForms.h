#pragma once

namespace vasora {

/// Registers every window of the program with the window registry.
void registerAllForms();

}  // namespace vasora
