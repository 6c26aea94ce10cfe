// The warnings a run posts when the circulation leaves safe ranges.

#include "model/EngineInternal.h"
#include "model/ModelLabels.h"

namespace vasora::model::engine {

void clearWarnings() {
    using namespace palette;
    for (std::string_view w : warningLabels()) caption(w, "");
    back("lblWarning1", BrightWhite);
    back("lblWarning2", BrightWhite);
    back("lblWarning3", BrightWhite);
}

// Tested in this order; a later test on the same label overwrites what an earlier one wrote.
void postWarnings(const ModelState& s) {
    using namespace palette;
    const double co = s.Flow[LeftV];
    auto warn = [](std::string_view label, const Rgb* backColour, Rgb text, std::string_view cap) {
        if (backColour) back(label, *backColour);
        fore(label, text);
        caption(label, cap);
    };
    const Rgb yellow = LightYellow;
    if (co < 1000) warn("lblWarning1", &yellow, LightBlue, "DEATH IMMINENT CO < 1000");
    if (co >= 1000 && co < 2000) warn("lblWarning1", &yellow, LightRed, "HURRY Patient in Shock!");
    if (co > 25000) warn("lblWarning1", &s.ColorChanged, LightRed, "CONGRATULATIONS CO >25 L/min");
    if (s.Press[SysA] > 200) warn("lblWarning1", nullptr, LightRed, "RUPTURED artery likely");
    if (s.Press[SysA] < 60) warn("lblWarning2", nullptr, LightMagenta, "Patient Hypotensive");
    if (s.Press[SysA] < 35) warn("lblWarning2", &yellow, Black, "Death Soon Psa < 35");
    if (s.Press[PulmV] > 25) warn("lblWarning2", &yellow, LightRed, "GASP! Ppv >25 mmHg");
    if (s.Vstrs[RghtV] > 175) warn("lblWarning4", nullptr, LightMagenta, "Right EDV >175ml");
    if (s.Vstrs[LeftV] > 175) warn("lblWarning5", nullptr, LightMagenta, "Left EDV > 175 ml");
    // The end-systolic volume was clamped to the ventricle's volume in the last step: the
    // ventricle ejected nothing. (After the volume update the two are rarely equal any more,
    // so the clamp itself is what is remembered.)
    if (s.ClampedESV_RV) warn("lblWarning4", nullptr, Black, "No RIGHT heart output!");
    if (s.ClampedESV_LV) warn("lblWarning5", nullptr, Black, "No LEFT heart output!");
    if (s.Vstrs[SysV] < 1.0) warn("lblWarning3", &yellow, LightBlue, "Veins COLLAPSING!");
    if (s.VtotalBody > 7000) warn("lblWarning3", &yellow, Red, "Too much volume!");
    if (s.CollapseVol > 0)
        warn("lblWarning5", nullptr, Black, formatNumber(s.CollapseVol, "#0.0 ml collapse"));
}

}  // namespace vasora::model::engine
