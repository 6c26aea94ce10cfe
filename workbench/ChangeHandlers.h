#pragma once

// The click handlers of the model window's eighteen parameter labels: each prepares its change
// dialog, shows it modally and hands the answer to the shared change logic.

#include <QString>

namespace vasora::workbench {

/// The handler of the parameter label `name` (a click, Enter or Space on it).
void parameterLabelClicked(const QString& name);

}  // namespace vasora::workbench
