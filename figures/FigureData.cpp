#include "figures/FigureData.h"

#include <cmath>
#include <numbers>

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

PvLoop pressureVolumeLoop() {
    const ModelState n = normalCirculation();
    PvLoop l;
    l.edv = n.Vstrs[LeftV];
    l.edp = n.Press[LeftV];
    l.esv = n.ESV_LV;
    l.esp = n.Press[SysA];
    l.diastolic = n.DiasP;
    l.systolic = n.SystP;
    l.emax = n.Emax_LV;
    l.vo = n.Vo_LV;
    l.sv = n.SV_LV;
    l.relaxed = leftVentricleDiastolicPressure(l.esv);
    double lo = 0, hi = 200;
    for (int i = 0; i < 50; ++i) {
        l.hump = (lo + hi) / 2;
        (l.ejectionPressure(l.peakFraction()) < l.systolic ? lo : hi) = l.hump;
    }
    for (int v = 0; v <= 200; v += 5) {
        const double vol = v;
        l.diastolicCurve.emplace_back(vol, leftVentricleDiastolicPressure(vol));
    }
    return l;
}

double PvLoop::ejectionPressure(double u) const {
    return diastolic + (esp - diastolic) * u + hump * std::sin(std::numbers::pi * u);
}

double PvLoop::peakFraction() const {
    double best = 0;
    for (int i = 0; i <= 400; ++i)
        if (ejectionPressure(i / 400.0) > ejectionPressure(best)) best = i / 400.0;
    return best;
}

ReturnCurves returnCurves() {
    ReturnCurves out;
    for (const Settled& s : bloodVolumeSeries()) {
        if (!s.applied || !s.settled) continue;
        out.output.emplace_back(rightAtrialPressure(s.s), s.s.Flow[LeftV]);
        if (s.x == 0) out.normal = s.s;
        if (s.x == kReturnFigureChange) out.changed = s.s;
    }
    return out;
}

}  // namespace vasora::figures
