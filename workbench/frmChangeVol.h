#pragma once

// frmChangeVol, "Change Blood volume or Unstressed volume": the dialog of lblVtotalBody and
// lblVunstrsTotal. The entry is a signed change in ml, which ask() returns.

#include "workbench/ChangeDialog.h"

namespace vasora::workbench {

struct DialogTexts;

class frmChangeVol final : public ChangeDialog {
    Q_OBJECT
  public:
    frmChangeVol();

    /// Fills lblSegment, lblParameter, lblValue and lblPercentNormal.
    void prepare(const DialogTexts& t);
};

}  // namespace vasora::workbench
