#pragma once

// frmChangePit, "Change intrathoracic pressure": the dialog of lblPit. The entry is the new
// pressure in mmHg, which ask() returns.

#include "workbench/ChangeDialog.h"

namespace vasora::workbench {

class frmChangePit final : public ChangeDialog {
    Q_OBJECT
  public:
    frmChangePit();

    /// Fills lblValue with the current pressure.
    void prepare(const std::string& value);
};

}  // namespace vasora::workbench
