#pragma once

// frmChangeParam, "Change a Parameter value": the dialog of the fifteen parameter labels. The
// handler fills it for one parameter and shows it modally; ask() returns the entry.

#include "workbench/ChangeDialog.h"

namespace vasora::workbench {

struct DialogTexts;

class frmChangeParam final : public ChangeDialog {
    Q_OBJECT
  public:
    frmChangeParam();

    /// Fills lblSegment, lblParameter, lblValue, lblUnits, lblPercentNormal and lblUnit.
    void prepare(const DialogTexts& t);
};

}  // namespace vasora::workbench
