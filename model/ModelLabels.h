#pragma once

// The labels of the model window that the displays and the warnings write, in window order,
// with the colours the window gives them before any display writes them. The list is made from
// the table of model quantities (Quantities.h), so the window, the displays and the
// command-line program always agree.

#include <span>
#include <string_view>

#include "model/Palette.h"

namespace vasora::model {

struct LabelInfo {
    std::string_view name;
    Rgb designFore;  ///< colours the window gives the label before any display writes it
    Rgb designBack;
};

/// Every value, warning and notice label that the displays write, in window order: the clock,
/// each compartment's name and values, the hearts and totals, then the notices and warnings.
std::span<const LabelInfo> displayLabels();

/// The warning labels, lblWarning1 to lblWarning5.
std::span<const std::string_view> warningLabels();

}  // namespace vasora::model
