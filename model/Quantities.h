#pragma once

// The one table of model quantities: for every value label of the model window and the layout
// sheet, what it shows (the state value and its normal reference), in which unit and format,
// of which compartment, and whether and how a learner can change it. The engine's displays,
// the model window, the layout sheet, the change logic, vasora-cli and the lab book's tag
// exchange all read this table.

#include <cstdint>
#include <span>
#include <string_view>

#include "model/ModelState.h"

namespace vasora::model {

/// How the percent-of-normal view shows a quantity.
enum class PercentView : unsigned char {
    Percent,          ///< 100 x value / normal, a whole number
    PercentOrNa,      ///< "na" when the value is below zero or the normal not above zero
    PercentOrLeZero,  ///< "<=0" likewise
    Units,            ///< the value in its unit, with the units format
    Untouched,        ///< the percent view leaves the label as it is
};

/// The place of a compartment's quantity in its box.
enum class Role : unsigned char {
    Flow,
    Pressure,
    Volume,  ///< stressed volume
    Compliance,
    Resistance,
    Unstressed,   ///< unstressed volume (layout sheet)
    WholeVolume,  ///< stressed plus unstressed volume (layout sheet)
    Other,        ///< not a compartment's box quantity
};

/// What clicking the quantity's label changes.
enum class Change : unsigned char {
    None,
    Parameter,         ///< the parameter dialog, with the limits of its row
    BloodVolume,       ///< the volume dialog: transfusion or hemorrhage, ramped
    UnstressedVolume,  ///< the volume dialog: venodilation or venoconstriction, ramped
    Pressure,          ///< the intrathoracic pressure dialog
};

struct Quantity {
    std::string_view label;        ///< the model window's label; empty when only the sheet has it
    std::string_view layoutLabel;  ///< the layout sheet's label; empty when the sheet lacks it
    std::string_view description;  ///< what it is, in words a learner knows
    std::string_view unit;         ///< of value(); empty for a fraction
    int compartment;               ///< 1 to 6 for a compartment's box quantity, else 0
    Role role;
    double (*value)(const ModelState&);
    double (*normal)(const ModelState&);  ///< nullptr: no normal reference
    /// The model window's units view shows 100 x value / normal (compliance, resistance, Emax).
    bool unitsViewPercent;
    std::string_view format;        ///< the model window's units view
    PercentView percentView;
    std::string_view percentFormat;  ///< the percent view's format where it shows a percent
    std::string_view layoutFormat;   ///< the layout sheet shows value() with this
    Change change;
    /// Where a change writes; nullptr when the learner cannot change it directly.
    double* (*target)(ModelState&);
    /// A ventricle's compliance: past the stiffening volume the label shows the effective
    /// compliance in red, bold.
    bool stiffens;
    /// Changeable only while the ventricles beat at their own rates (AV block): the left
    /// ventricle's heart rate.
    bool needsAVBlock;
    /// The topic of the information file that explains it (the anchor 51000 + topic).
    int topic = 0;

    bool changeable() const { return change != Change::None; }
    /// Whether the learner can change it in the present state.
    bool changeableNow(const ModelState& s) const {
        return changeable() && (!needsAVBlock || s.AVBlock != 0);
    }
};

/// Every quantity, in the order the units display writes the model window's labels (the
/// compartments in index order, each with flow, pressure, volume, compliance, resistance;
/// then the arterial and atrial pressures, the hearts and the totals), then those only the
/// layout sheet shows.
std::span<const Quantity> quantities();

/// The quantity the model window's label `label` shows, or nullptr.
const Quantity* quantityByLabel(std::string_view label);
/// The quantity the layout sheet's label `label` shows, or nullptr.
const Quantity* quantityByLayoutLabel(std::string_view label);

/// The quantity of compartment `i` (1 to 6) in `role`, or nullptr when it has none.
const Quantity* compartmentQuantity(int i, Role role);

/// The clickable parameter labels of the model window, in table order.
std::span<const std::string_view> parameterLabels();
/// The bit of ModelState::ChangedMarks that stands for the parameter label `label`; 0 for a
/// label that is not one.
std::uint32_t parameterMark(std::string_view label);

/// The topic of the information file that explains whatever the model window's or the layout
/// sheet's label `label` shows: a quantity, a compartment's name, a notice, or the warning now
/// shown on a warning label (its caption). 0 when there is none.
int explainTopic(std::string_view label, std::string_view caption = {});

/// The six compartments with their name labels.
struct CompartmentInfo {
    int index;
    std::string_view suffix;         ///< "SysA"
    std::string_view nameLabel;      ///< "lblSysArt"
    std::string_view nameCaption;    ///< "Systemic Artery"
    std::string_view percentCaption; ///< the name in the percent view
    bool ventricle;
    bool inChest;
};
std::span<const CompartmentInfo> compartments();

}  // namespace vasora::model
