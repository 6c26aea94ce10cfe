#include "model/Derived.h"

#include <cmath>

namespace vasora::model {

bool flowsAgree(const ModelState& s) {
    return std::fabs(s.FlowMax - s.FlowMin) <= 0.3;
}

void setDefaultIntervals(ModelState& s) {
    s.IterInterval = kDefaultIterInterval;
    s.PrintInterval = kDefaultPrintInterval;
}

double fillTime(double rate) {
    return 1.0 / rate - (0.006667 - 1.067e-5 * rate);
}

double labBookFillTime(double rate) {
    return 1 / rate - (0.00885 - 2.8e-5 * rate);
}

double fillingCompleteness(double kfill, double fillTime) {
    return 1 - std::exp(-kfill * fillTime);
}

double rightAtrialPressure(const ModelState& s) {
    return s.Press[SysV] - s.Flow[SysV] * s.Resis[SysV];
}

double leftAtrialPressure(const ModelState& s) {
    return s.Press[PulmV] - s.Flow[PulmV] * s.Resis[PulmV];
}

double ventricleDiastolicPressure(double volume, double compliance, double pit) {
    double p = volume / compliance + pit;
    if (volume > kStiffVentricleVolume)
        p = p + (volume - kStiffVentricleVolume) / (0.33 * compliance);
    return p;
}

bool ventricleIsStiff(const ModelState& s, int i) {
    return s.Vstrs[static_cast<std::size_t>(i)] > kStiffVentricleVolume;
}

double effectiveCompliance(const ModelState& s, int i) {
    const auto k = static_cast<std::size_t>(i);
    if (!ventricleIsStiff(s, i)) return s.Comp[k];
    return s.Vstrs[k] / (s.Press[k] - s.Pit);
}

double displayedTime(const ModelState& s) {
    return s.ModelTime - 0.1;
}

double totalBloodVolume(const ModelState& s) {
    return s.VunstrsTotal + s.VstrsTotal;
}

double compartmentVolume(const ModelState& s, int i) {
    const auto k = static_cast<std::size_t>(i);
    return s.Vstrs[k] + s.Vunstrs[k];
}

}  // namespace vasora::model
