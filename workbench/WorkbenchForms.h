#pragma once

namespace vasora::workbench {

/// Registers the workbench's windows with the window registry and makes the real windows the
/// engine's view. Called once at start-up (and by each GUI test case).
void registerWorkbenchForms();

}  // namespace vasora::workbench
