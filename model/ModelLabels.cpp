#include "model/ModelLabels.h"

#include <vector>

#include "model/Quantities.h"

namespace vasora::model {

namespace {
constexpr Rgb kInk = palette::Black;
constexpr Rgb kPaper = palette::BrightWhite;

constexpr std::string_view kWarnings[] = {"lblWarning1", "lblWarning2", "lblWarning3",
                                          "lblWarning4", "lblWarning5"};

// A label a learner can click starts yellow; one that needs AV block starts white, since the
// ventricles beat together until it is switched on.
LabelInfo design(const Quantity& q) {
    return {q.label, kInk, q.changeable() && !q.needsAVBlock ? kParamNormal : kPaper};
}
}  // namespace

std::span<const LabelInfo> displayLabels() {
    static const std::vector<LabelInfo> labels = [] {
        std::vector<LabelInfo> l;
        int shown = 0;  // the compartment whose name label was written last
        for (const Quantity& q : quantities()) {
            if (q.label.empty()) continue;
            if (q.compartment != 0 && q.compartment != shown) {
                shown = q.compartment;
                l.push_back(
                    {compartments()[static_cast<std::size_t>(shown - 1)].nameLabel, kInk, kPaper});
            }
            l.push_back(design(q));
        }
        l.push_back({"lblFlowError", kInk, kPaper});
        l.push_back({"lblPercent", kInk, kPaper});
        for (std::string_view w : kWarnings) l.push_back({w, kInk, kPaper});
        return l;
    }();
    return labels;
}

std::span<const std::string_view> warningLabels() {
    return kWarnings;
}

}  // namespace vasora::model
