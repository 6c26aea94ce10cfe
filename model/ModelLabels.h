#pragma once

// The labels of the model window that the displays and the warnings write, in window order, and
// the clickable parameter labels. The window builds its labels from these lists and the
// command-line program reports them in this order, so both always agree.

#include <array>
#include <string_view>

#include "model/Palette.h"

namespace vasora::model {

struct LabelInfo {
    std::string_view name;
    Rgb designFore;  ///< colours the window gives the label before any display writes it
    Rgb designBack;
};

/// Every value, warning and notice label that the displays write, in window order.
extern const std::array<LabelInfo, 67> kDisplayLabels;

/// The clickable parameter labels, in the order their backgrounds are reset to normal.
extern const std::array<std::string_view, 18> kParameterLabels;

}  // namespace vasora::model
