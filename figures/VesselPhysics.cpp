#include "figures/VesselPhysics.h"

#include <algorithm>

namespace vasora::figures {

double vesselPressure(double volume, double unstressed, double compliance) {
    return std::max(0.0, (volume - unstressed) / compliance);
}

double vesselVolume(double pressure, double unstressed, double compliance) {
    return unstressed + compliance * pressure;
}

}  // namespace vasora::figures
