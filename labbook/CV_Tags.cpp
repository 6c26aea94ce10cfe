#include "labbook/CV_Tags.h"

#include <array>
#include <cmath>

#include "core/NumberParse.h"
#include "core/TagCodes.h"
#include "model/Derived.h"
#include "model/Quantities.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/ParameterChanges.h"

namespace vasora::labbook {

using namespace vasora::model;

namespace {

// Lab book rows 1 to 6 name the compartments in the order the course's tables list them: the
// left ventricle before the pulmonary veins, unlike the model's index order.
constexpr std::array<int, 7> kRowCompartment = {0, SysA, SysV, RghtV, PulmA, LeftV, PulmV};

// Output cells of rows 10 to 17, by column 1 to 5. "" is a cell the table leaves empty, and
// nullptr one it does not have.
constexpr const char* kError = nullptr;
constexpr const char* kEmpty = "";
// clang-format off
constexpr std::array<std::array<const char*, 5>, 8> kSystemRows = {{
    /* 10 */ {"lblSystP", "lblDiasP", kError, kError, kError},
    /* 11 */ {"lblSV_RV", "lblESV_RV", "lblEDV_RV", "lblEjectF_RV", "lblEmax_RV"},
    /* 12 */ {"lblSV_LV", "lblESV_LV", "lblEDV_LV", "lblEjectF_LV", "lblEmax_LV"},
    /* 13 */ {kError, "lblK2_RV", kError, "lblK2_RV", "lblHR_RV"},
    /* 14 */ {"lblVolError", "lblK2_LV", kError, "lblK2_LV", "lblHR_LV"},
    /* 15 */ {"lblVstrsTotal", kEmpty, "lblVunstrsTotal", kError, "lblVtotalBody"},
    /* 16 */ {"lblPra", kEmpty, "lblPla", kError, "lblPit"},
    /* 17 */ {"lblPmcf", kError, kError, kError, "lblVo_LV"},
}};
// clang-format on

// Columns 1 to 5 of a compartment's row: its box on the model window.
constexpr std::array<Role, 5> kColumnRole = {Role::Pressure, Role::Flow, Role::Volume,
                                             Role::Compliance, Role::Resistance};

ModelView& out() {
    return view();
}

std::string cellName(int table, int row, int column) {
    return "Table " + std::to_string(table) + ", row " + std::to_string(row) + ", column " +
           std::to_string(column);
}

// The parameter a percent-of-normal cell changes, with its normal reference, from the one
// table of quantities.
void setPercentOfNormal(std::string_view label, double x) {
    const Quantity* q = quantityByLabel(label);
    ModelState& s = state();
    *q->target(s) = x * q->normal(s) / 100;
    reflexBaseChanged(s, q->target(s));
}

bool isPercentOfNormal(InputEffect e) {
    return e == InputEffect::Compliance || e == InputEffect::Resistance || e == InputEffect::Emax;
}

// Why a value cannot be applied although it is a number, or empty when it can. The lab book
// checks no limits, but a value the run divides by would only make it fail.
std::string refusal(const InputCell& c, double x, const std::string& cell) {
    const Quantity* q = quantityByLabel(c.label);
    const std::string what(q ? q->description : std::string_view("The value"));
    if (isPercentOfNormal(c.effect) && x == 0)
        return cell + ": " + what + " cannot be 0 % of normal; the model would divide by it." +
               "\r\nNothing was changed.";
    if ((c.effect == InputEffect::HeartRateRV || c.effect == InputEffect::HeartRateLV) && x == 0)
        return cell + ": " + what + " cannot be 0 beats/min; the model would divide by it." +
               "\r\nNothing was changed.";
    if (c.effect == InputEffect::HeartRateLV && state().AVBlock == 0)
        return cell +
               ": the left ventricle beats at a rate of its own only with separate heart "
               "rates.\r\nTick \"separate RV and LV Heart Rates\" in Options first; nothing was "
               "changed.";
    return {};
}

void apply(const InputCell& c, double x) {
    ModelState& s = state();
    switch (c.effect) {
        case InputEffect::UnstressedVolume:
            s.VunstrsChangeTarget = x;
            s.VunstrsChangeDone = 0;
            s.VolChangeKind = 0;
            s.VunstrsChangeRate = labBookUnstressedRate(x);
            break;
        case InputEffect::Compliance:
        case InputEffect::Resistance:
        case InputEffect::Emax:
            setPercentOfNormal(c.label, x);
            break;
        case InputEffect::HeartRateRV:
            s.HrtRate = x;
            s.FillTime_RV = labBookFillTime(x);
            s.K2_RV = fillingCompleteness(s.Kfill_RV, s.FillTime_RV);
            reflexBaseChanged(s, &s.HrtRate);
            break;
        case InputEffect::HeartRateLV:
            s.HrtRate_LV = x;
            s.FillTime_LV = labBookFillTime(x);
            s.K2_LV = fillingCompleteness(s.Kfill_LV, s.FillTime_LV);
            break;
        case InputEffect::BloodVolume:
            // A volume change starts even while an earlier one runs; it is spread over one
            // minute of model time.
            s.VolChangeTarget = x;
            s.VolChangeDone = 0;
            s.VolChangeKind = 1;
            s.VolChangeRate = x;
            break;
        case InputEffect::Pit:
            s.Pit = x;
            break;
        case InputEffect::VoLV:
            s.Vo_LV = x;
            break;
    }
}

void showUnits() {
    out().setCaption(Window::CVModel, "cmdPercent", " Show % Normal");
    state().ShowUnits = 1;
}

}  // namespace

int compartmentOfRow(int row) {
    return row >= 1 && row <= 6 ? kRowCompartment[static_cast<std::size_t>(row)] : 0;
}

double labBookUnstressedRate(double x) {
    return std::fabs(x) <= 999 ? -x : -0.5 * x;
}

OutputCell outputCell(int row, int column) {
    if (column < 1 || column > 5) return {OutputCell::ColumnError, {}};
    if (const int i = compartmentOfRow(row)) {
        const bool ventricle = i == RghtV || i == LeftV;
        // A ventricle's volume is its end-diastolic volume, as its heart panel shows it.
        if (column == 3 && ventricle)
            return {OutputCell::Label, i == RghtV ? "lblEDV_RV" : "lblEDV_LV"};
        const Quantity* q =
            compartmentQuantity(i, kColumnRole[static_cast<std::size_t>(column - 1)]);
        if (!q) return {OutputCell::RowError, {}};
        return {OutputCell::Label, q->label};
    }
    if (row < 10 || row > 17) return {OutputCell::RowError, {}};
    const char* l =
        kSystemRows[static_cast<std::size_t>(row - 10)][static_cast<std::size_t>(column - 1)];
    if (!l) return {OutputCell::RowError, {}};
    if (*l == 0) return {OutputCell::Empty, {}};
    return {OutputCell::Label, l};
}

InputCell inputCell(int row, int column) {
    InputCell c;
    if (column < 3 || column > 5) {
        c.kind = InputCell::ColumnError;
        return c;
    }
    auto ok = [&c](InputEffect e, std::string_view label) {
        c.kind = InputCell::Ok;
        c.effect = e;
        c.label = label;
        return c;
    };
    if (column == 3) return row == 15 ? ok(InputEffect::UnstressedVolume, "lblVunstrsTotal") : c;
    if (const int i = compartmentOfRow(row)) {
        const Quantity* q =
            compartmentQuantity(i, column == 4 ? Role::Compliance : Role::Resistance);
        if (!q) return c;  // the ventricles have no resistance of their own
        return ok(column == 4 ? InputEffect::Compliance : InputEffect::Resistance, q->label);
    }
    if (column == 4) return c;
    switch (row) {
        case 11:
            return ok(InputEffect::Emax, "lblEmax_RV");
        case 12:
            return ok(InputEffect::Emax, "lblEmax_LV");
        case 13:
            return ok(InputEffect::HeartRateRV, "lblHR_RV");
        case 14:
            return ok(InputEffect::HeartRateLV, "lblHR_LV");
        case 15:
            return ok(InputEffect::BloodVolume, "lblVtotalBody");
        case 16:
            return ok(InputEffect::Pit, "lblPit");
        case 17:
            return ok(InputEffect::VoLV, "lblVo_LV");
        default:
            return c;
    }
}

std::string tagErrorMessage(std::string_view procedure, std::int32_t code) {
    return "Tag error in " + std::string(procedure) + ": " + std::to_string(code);
}

std::string rowErrorMessage(std::string_view procedure, int row, int column) {
    return "Case on row error (R:" + std::to_string(row) + ") in C" + std::to_string(column) +
           " in " + std::string(procedure);
}

std::string columnErrorMessage(std::string_view procedure) {
    return "Case on column in " + std::string(procedure);
}

std::string inputCellProblem(std::int32_t code, std::string_view text, std::string_view cell) {
    std::int16_t kind = 0, table = 0, row = 0, column = 0;
    if (!SplitTag(code, kind, table, row, column) || kind != kTagInputCell) return {};
    const InputCell c = inputCell(row, column);
    if (c.kind != InputCell::Ok) return {};
    const std::string name(cell);
    const NumberText n = readNumber(text);
    if (n.kind != NumberText::Number) {
        const bool comma = text.find(',') != std::string_view::npos;
        return name +
               (n.kind == NumberText::Blank ? std::string(" is empty.")
                                            : ": \"" + std::string(text) + "\" is not a number.") +
               "\r\nNothing was changed; type a number such as 120 or 2.5" +
               (comma ? " (with a period, not a comma)." : ".");
    }
    return refusal(c, n.value, name);
}

std::string Get_It(std::int32_t code) {
    // The parts keep 0 when the code is out of range, which no output cell has.
    std::int16_t kind = 0, table = 0, row = 0, column = 0;
    if (!SplitTag(code, kind, table, row, column)) out().message(splitTagError(code));
    if (kind != kTagOutputCell) {
        out().message(tagErrorMessage(kGetIt, code));
        return {};
    }
    const OutputCell c = outputCell(row, column);
    switch (c.kind) {
        case OutputCell::Label:
            return out().captionOf(Window::CVModel, c.label);
        case OutputCell::Empty:
            return {};
        case OutputCell::RowError:
            out().message(rowErrorMessage(kGetIt, row, column));
            return {};
        case OutputCell::ColumnError:
            out().message(columnErrorMessage(kGetIt));
            return {};
    }
    return {};
}

void Put_It(std::int32_t code, std::string_view text) {
    std::int16_t kind = 0, table = 0, row = 0, column = 0;
    if (!SplitTag(code, kind, table, row, column)) out().message(splitTagError(code));
    if (kind != kTagInputCell) {
        out().message(tagErrorMessage(kPutIt, code));
        return;
    }
    const InputCell c = inputCell(row, column);
    if (c.kind == InputCell::RowError) {
        out().message(rowErrorMessage(kPutIt, row, column));
        return;
    }
    if (c.kind == InputCell::ColumnError) {
        out().message(columnErrorMessage(kPutIt));
        return;
    }
    // A cell that holds no number is not applied with a made-up value.
    if (const std::string why = inputCellProblem(code, text, cellName(table, row, column));
        !why.empty()) {
        out().message(why);
        return;
    }
    const double x = readNumber(text).value;

    ModelState& s = state();
    apply(c, x);
    // The heart rates are displayed only after the run, which recomputes the filling time.
    if (c.effect != InputEffect::HeartRateRV && c.effect != InputEffect::HeartRateLV)
        DisplayValues();
    showUnits();
    workbench::markParameterChanged(c.label);
    out().showWindow(Window::CVModel);
    RunModel();
    DisplayValues();
    out().showWindow(Window::PlotData);
    if (s.AutoRunOn == 0) out().titledMessage(kEquilibriumTitle, kEquilibriumText);
    showUnits();
    out().focus(Window::CVModel, "cmdRun");
}

void LoadPlotCell(std::string_view text, std::int16_t index, std::int16_t axis) {
    static constexpr const char* kColumns[] = {"txtX", "txtY", "txtZ"};
    if (axis < 0 || axis > 2 || index < 0 || index > 10) {
        out().message(kPlotLoadError);
        return;
    }
    const std::string box = std::string(kColumns[axis]) + "(" + std::to_string(index) + ")";
    out().setCaption(Window::Plot, box, readNumber(text).kind == NumberText::Number ? text : "0");
}

}  // namespace vasora::labbook
