#include "figures/FigureData.h"

#include <cmath>

#include "figures/VesselPhysics.h"
#include "model/Derived.h"

namespace vasora::figures {

using namespace vasora::model;

namespace {

VeinState veinsOf(const ModelState& s) {
    return {s.Vunstrs[SysV], s.Comp[SysV], compartmentVolume(s, SysV), s.Press[SysV]};
}

// The same vessel at another wall: unstressed volume and compliance replaced, volume kept.
VeinState atSameVolume(const VeinState& v, double unstressed, double compliance) {
    return {unstressed, compliance, v.volume, vesselPressure(v.volume, unstressed, compliance)};
}

}  // namespace

VeinStates veinStates() {
    const ModelState n = normalCirculation();
    const Settled after = settleAfter(
        kVenoconstriction, [] { return workbench::changeUnstressedVolume(kVenoconstriction); });
    VeinStates out;
    out.normal = veinsOf(n);
    const VeinState& v = out.normal;
    out.constricted = atSameVolume(v, v.unstressed + kVenoconstriction, v.compliance);
    out.constrictedSettled = veinsOf(after.s);
    out.transfused = {v.unstressed, v.compliance, v.volume + kPassiveVolume,
                      vesselPressure(v.volume + kPassiveVolume, v.unstressed, v.compliance)};
    out.stiffened = atSameVolume(v, v.unstressed, v.compliance * kStiffVeinPercent / 100);
    out.normalOutput = n.Flow[LeftV];
    out.settledOutput = after.s.Flow[LeftV];
    return out;
}

CapacitanceVessels capacitanceVessels() {
    const ModelState n = normalCirculation();
    const VesselLine a{n.Vunstrs[SysV], n.Comp[SysV]};
    // A made-up second vessel that differs from the veins in both properties.
    const VesselLine b{2200, 52};
    return {a, b, 7};
}

std::vector<FillingPoint> fillingSeries() {
    // The filling rate constant as the run sets it.
    const double kfill = normalCirculation().Kfill_RV;
    std::vector<FillingPoint> out;
    for (int rate = 30; rate <= 300; rate += 2) {
        const double r = rate;
        const double fill = fillTime(r);  // minutes
        const double beat = 1 / r;
        out.push_back(
            {r, beat * 60, (beat - fill) * 60, fill * 60, fillingCompleteness(kfill, fill)});
    }
    return out;
}

double fillingRunsOut() {
    // The filling time falls through zero once between a normal rate and the rate at which
    // systole alone fills the beat; halving the bracket finds it to well below 0.001 beat/min.
    double lo = 72, hi = 300;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (fillTime(mid) > 0 ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

model::PressureVolumeLoop normalLoop(int ventricle) {
    return pressureVolumeLoop(normalCirculation(), ventricle);
}

double peakVolume(const model::PressureVolumeLoop& l) {
    return l.edv - l.peakFraction() * l.sv;
}

ReturnDiagrams returnDiagrams() {
    ReturnDiagrams out;
    out.normal = normalCirculation();
    const Settled bled = settleAfter(
        kReturnFigureChange, [] { return workbench::changeBloodVolume(kReturnFigureChange); });
    out.changed = bled.s;
    out.changedSettled = bled.applied && bled.settled;
    out.normalDiagram = guytonDiagram(out.normal);
    out.changedDiagram = guytonDiagram(out.changed);
    return out;
}

}  // namespace vasora::figures
