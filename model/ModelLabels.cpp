#include "model/ModelLabels.h"

namespace vasora::model {
namespace {
constexpr Rgb kInk = palette::Black;
constexpr Rgb kPaper = palette::BrightWhite;
constexpr Rgb kParam = kParamNormal;
// Compartment names sit on the diagram's tinted boxes; they are written on white like values.
}  // namespace

const std::array<LabelInfo, 67> kDisplayLabels{{
    {"lblTime", kInk, kPaper},         {"lblSysArt", kInk, kPaper},
    {"lblFlowSysA", kInk, kPaper},     {"lblPressSysA", kInk, kPaper},
    {"lblVstrsSysA", kInk, kPaper},    {"lblCompSysA", kInk, kParam},
    {"lblResisSysA", kInk, kParam},    {"lblSysVein", kInk, kPaper},
    {"lblFlowSysV", kInk, kPaper},     {"lblPressSysV", kInk, kPaper},
    {"lblVstrsSysV", kInk, kPaper},    {"lblCompSysV", kInk, kParam},
    {"lblResisSysV", kInk, kParam},    {"lblRghtVent", kInk, kPaper},
    {"lblFlowRghtV", kInk, kPaper},    {"lblPressRghtV", kInk, kPaper},
    {"lblVstrsRghtV", kInk, kPaper},   {"lblCompRghtV", kInk, kParam},
    {"lblPulmArt", kInk, kPaper},      {"lblFlowPulmA", kInk, kPaper},
    {"lblPressPulmA", kInk, kPaper},   {"lblVstrsPulmA", kInk, kPaper},
    {"lblCompPulmA", kInk, kParam},    {"lblResisPulmA", kInk, kParam},
    {"lblPulmVein", kInk, kPaper},     {"lblFlowPulmV", kInk, kPaper},
    {"lblPressPulmV", kInk, kPaper},   {"lblVstrsPulmV", kInk, kPaper},
    {"lblCompPulmV", kInk, kParam},    {"lblResisPulmV", kInk, kParam},
    {"lblLeftVent", kInk, kPaper},     {"lblFlowLeftV", kInk, kPaper},
    {"lblPressLeftV", kInk, kPaper},   {"lblVstrsLeftV", kInk, kPaper},
    {"lblCompLeftV", kInk, kParam},    {"lblSystP", kInk, kPaper},
    {"lblDiasP", kInk, kPaper},        {"lblPra", kInk, kPaper},
    {"lblPla", kInk, kPaper},          {"lblPmcf", kInk, kPaper},
    {"lblHR_RV", kInk, kParam},        {"lblK2_RV", kInk, kPaper},
    {"lblEDV_RV", kInk, kPaper},       {"lblESV_RV", kInk, kPaper},
    {"lblSV_RV", kInk, kPaper},        {"lblEjectF_RV", kInk, kPaper},
    {"lblEmax_RV", kInk, kParam},      {"lblHR_LV", kInk, kPaper},
    {"lblK2_LV", kInk, kPaper},        {"lblEDV_LV", kInk, kPaper},
    {"lblESV_LV", kInk, kPaper},       {"lblSV_LV", kInk, kPaper},
    {"lblEjectF_LV", kInk, kPaper},    {"lblEmax_LV", kInk, kParam},
    {"lblVo_LV", kInk, kParam},        {"lblVstrsTotal", kInk, kPaper},
    {"lblVunstrsTotal", kInk, kParam}, {"lblVtotalBody", kInk, kParam},
    {"lblPit", kInk, kParam},          {"lblVolError", kInk, kPaper},
    {"lblFlowError", kInk, kPaper},    {"lblPercent", kInk, kPaper},
    {"lblWarning1", kInk, kPaper},     {"lblWarning2", kInk, kPaper},
    {"lblWarning3", kInk, kPaper},     {"lblWarning4", kInk, kPaper},
    {"lblWarning5", kInk, kPaper},
}};

const std::array<std::string_view, 18> kParameterLabels{{
    "lblCompSysA",
    "lblCompSysV",
    "lblCompRghtV",
    "lblCompPulmA",
    "lblCompPulmV",
    "lblCompLeftV",
    "lblResisSysA",
    "lblResisSysV",
    "lblResisPulmA",
    "lblResisPulmV",
    "lblEmax_RV",
    "lblEmax_LV",
    "lblHR_RV",
    "lblHR_LV",
    "lblVo_LV",
    "lblVunstrsTotal",
    "lblVtotalBody",
    "lblPit",
}};

}  // namespace vasora::model
