#pragma once

// The one table of model quantities: for every value label of the model window and the layout
// sheet, what it shows (the state value and its normal reference), in which unit and format,
// of which compartment, whether and how a learner can change it (for a parameter, the change
// dialog's captions, bounds and refusals), and the topic that explains it. The engine's
// displays, the model window, the layout sheet, the change logic, the parameter-set checks,
// vasora-cli and the lab book's tag exchange all read this table.
//
// Adding a quantity
//
// A new quantity is one row in Quantities.cpp, where the table lists it in display order: a
// compartment's box quantity in addCompartment (the volumes only the layout sheet shows in
// addSheetVolumes), any other in kHeartAndTotals, at its end if only the layout sheet shows
// it. The row reads a field of ModelState through a small accessor beside the others; add the
// field to ModelState (model/ModelState.h) first if the model does not keep the value yet, and
// its normal reference if the percent view is to show it. Besides the row:
//  - A compartment's box quantity (one of the Roles) gets its label on the model window and
//    the layout sheet from the table. Any other needs its label placed by hand: the heart
//    panels, the pressures and the totals of frmCVModel (workbench/frmCVModel.cpp) and of
//    the layout sheet (workbench/frmLayout.cpp), under the names the row gives.
//  - Its topic is a heading of the information file (content/src/), anchor 51000 + topic; the
//    viewers' tests check that every row's topic is there.
//  - A quantity the learner changes names its Change. A Change::Parameter row also needs its
//    limits (what the parameter dialog shows and accepts), its target, and a follow function
//    when the change sets more than the target. Every changeable label has a bit of
//    ModelState::ChangedMarks by its place among them (parameterMark, whose static_assert
//    counts them). The other kinds have a dialog and a change of their own in
//    workbench/ParameterChanges.cpp and workbench/ChangeHandlers.cpp; a new kind is a new
//    Change and a case in the switches there.
//  - A value a parameter set stores has its line in options/ParameterSetFormat.cpp and its
//    bounds in options/ParameterSetChecks.cpp; a lab book's table reaches it only through the
//    cells that labbook/CV_Tags.cpp names.

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

/// What the parameter dialog shows of a quantity and which entries it accepts. Captions keep
/// their leading and trailing blanks.
struct ChangeLimits {
    std::string_view segment;    ///< lblSegment, the part of the circulation
    std::string_view parameter;  ///< lblParameter
    /// lblUnits where it is not the quantity's unit; empty: the unit.
    std::string_view units = {};
    std::string_view valueFormat;    ///< lblValue, the present value
    std::string_view entryUnit;      ///< lblUnit, beside the entry: " % normal" or the unit
    std::string_view percentFormat;  ///< lblPercentNormal
    /// Inclusive bounds, in percent of normal for the percent rows, else in the unit.
    double lower = 0, upper = 0;
    std::string_view tooLarge, tooSmall;  ///< the refusals past the upper and the lower bound

    /// The entry unit of the rows whose entry is a percentage of the normal value.
    static constexpr std::string_view kPercentNormal = " % normal";
    /// Whether the entry is a percentage of the normal value.
    bool percentOfNormal() const { return entryUnit == kPercentNormal; }
};

/// One model quantity. The rows name their fields; a field a row leaves out has the default
/// given here.
struct Quantity {
    /// The model window's label; empty when only the sheet has it.
    std::string_view label = {};
    /// The layout sheet's label; empty when the sheet lacks it.
    std::string_view layoutLabel = {};
    std::string_view description;  ///< what it is, in words a learner knows
    std::string_view unit;         ///< of value(); empty for a fraction
    int compartment = 0;           ///< 1 to 6 for a compartment's box quantity, else 0
    Role role = Role::Other;
    double (*value)(const ModelState&);
    double (*normal)(const ModelState&) = nullptr;  ///< nullptr: no normal reference
    /// The model window's units view shows 100 x value / normal (compliance, resistance, Emax).
    bool unitsViewPercent = false;
    std::string_view format = {};  ///< the model window's units view
    PercentView percentView;
    std::string_view percentFormat = {};  ///< the percent view's format where it shows a percent
    std::string_view layoutFormat = {};   ///< the layout sheet shows value() with this
    Change change = Change::None;
    /// The parameter dialog's captions and bounds; only a Change::Parameter row has them.
    ChangeLimits limits = {};
    /// Where a change writes; nullptr when the learner cannot change it directly.
    double* (*target)(ModelState&) = nullptr;
    /// What else an accepted parameter entry sets (a heart rate: its ventricle's filling);
    /// nullptr for nothing.
    void (*follow)(ModelState&) = nullptr;
    /// A ventricle's compliance: past the stiffening volume the label shows the effective
    /// compliance in red, bold.
    bool stiffens = false;
    /// Changeable only while the ventricles beat at their own rates (AV block): the left
    /// ventricle's heart rate.
    bool needsAVBlock = false;
    /// The topic of the information file that explains it (the anchor 51000 + topic).
    int topic = 0;

    bool changeable() const { return change != Change::None; }
    /// Whether the learner can change it in the present state.
    bool changeableNow(const ModelState& s) const {
        return changeable() && (!needsAVBlock || s.AVBlock != 0);
    }
    /// The parameter dialog's lblUnits.
    std::string_view dialogUnits() const { return limits.units.empty() ? unit : limits.units; }
};

/// Every quantity, in the order the units display writes the model window's labels (the
/// compartments in index order, each with flow, pressure, volume, compliance, resistance;
/// then the arterial and atrial pressures, the hearts and the totals), then those only the
/// layout sheet shows.
std::span<const Quantity> quantities();

/// The quantity the model window's label `label` shows, or nullptr.
const Quantity* quantityByLabel(std::string_view label);
/// The quantity the parameter dialog changes through the model window's label `label`
/// (Change::Parameter), or nullptr.
const Quantity* parameterByLabel(std::string_view label);
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
    std::string_view suffix;          ///< "SysA"
    std::string_view nameLabel;       ///< "lblSysArt"
    std::string_view nameCaption;     ///< "Systemic Artery"
    std::string_view percentCaption;  ///< the name in the percent view
    bool ventricle;
    bool inChest;
};
std::span<const CompartmentInfo> compartments();

}  // namespace vasora::model
