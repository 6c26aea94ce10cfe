#include "figures/VesselPhysics.h"

#include <algorithm>

namespace vasora::figures {

using namespace vasora::model;

double vesselPressure(double volume, double unstressed, double compliance) {
    return std::max(0.0, (volume - unstressed) / compliance);
}

double vesselVolume(double pressure, double unstressed, double compliance) {
    return unstressed + compliance * pressure;
}

double systemicFillingPressure(const ModelState& s) {
    return (s.Vstrs[SysA] + s.Vstrs[SysV]) / (s.Comp[SysA] + s.Comp[SysV]);
}

double resistanceToVenousReturn(const ModelState& s) {
    const double arterialShare = s.Comp[SysA] / (s.Comp[SysA] + s.Comp[SysV]);
    return s.Resis[SysV] + s.Resis[SysA] * arterialShare;
}

double venousReturn(const ModelState& s, double pra) {
    return (systemicFillingPressure(s) - pra) / resistanceToVenousReturn(s);
}

}  // namespace vasora::figures
