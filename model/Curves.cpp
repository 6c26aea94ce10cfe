#include "model/Curves.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "model/Derived.h"
#include "model/EngineInternal.h"

namespace vasora::model {

double meanSystemicFillingPressure(const ModelState& s) {
    return (s.Vstrs[SysA] + s.Vstrs[SysV]) / (s.Comp[SysA] + s.Comp[SysV]);
}

double resistanceToVenousReturn(const ModelState& s) {
    const double arterialShare = s.Comp[SysA] / (s.Comp[SysA] + s.Comp[SysV]);
    return s.Resis[SysV] + s.Resis[SysA] * arterialShare;
}

double veinCollapsePressure(const ModelState& s) {
    // The venous pressure Pra + Q Rv on the straight curve is zero where
    // Pra = -Pmsf Rv / (RVR - Rv).
    const double rvr = resistanceToVenousReturn(s);
    return -meanSystemicFillingPressure(s) * s.Resis[SysV] / (rvr - s.Resis[SysV]);
}

double venousReturn(const ModelState& s, double pra) {
    if (pra < veinCollapsePressure(s)) return -pra / s.Resis[SysV];
    return (meanSystemicFillingPressure(s) - pra) / resistanceToVenousReturn(s);
}

double cardiacFunctionAfterload(const ModelState& s) {
    return s.Vstrs[SysA] / s.Comp[SysA];
}

namespace {

// The heart rates and filling the next run will use: a rate changed since the last run has
// not yet reached the filling times.
ModelState withRunHeartRates(const ModelState& s) {
    ModelState h = s;
    engine::prepareHeartRates(h);
    return h;
}

// Pra of the heart-lung unit putting out `q`, for a state whose heart rates are prepared.
double heartPressureAt(const ModelState& h, double q) {
    const double vLV = q / h.HrtRate_LV + (cardiacFunctionAfterload(h) / h.Emax_LV + h.Vo_LV);
    const double pLV = ventricleDiastolicPressure(vLV, h.Comp[LeftV], h.Pit);
    const double pPV = pLV + q * h.Resis[PulmV] / h.K2_LV;
    const double pPA = pPV + q * h.Resis[PulmA];
    const double vRV = q / h.HrtRate + (pPA / h.Emax_RV + h.Vo_RV);
    const double pRV = ventricleDiastolicPressure(vRV, h.Comp[RghtV], h.Pit);
    return pRV + q * h.Resis[SysV] * (1 / h.K2_RV - 1);
}

double heartOutputAt(const ModelState& h, double pra) {
    double lo = 0, flo = heartPressureAt(h, 0) - pra;
    if (!(flo < 0)) return 0;
    double hi = 1000, fhi = heartPressureAt(h, hi) - pra;
    for (int i = 0; i < 60 && fhi < 0; ++i) {
        lo = hi, flo = fhi;
        hi *= 2;
        fhi = heartPressureAt(h, hi) - pra;
    }
    if (!(fhi >= 0)) return NAN;
    // Pra rises smoothly with the output: false position with the Illinois rule converges in
    // a dozen evaluations where halving takes sixty.
    int side = 0;
    for (int i = 0; i < 100 && hi - lo > 1e-9 * hi; ++i) {
        const double q = hi - fhi * (hi - lo) / (fhi - flo);
        const double fq = heartPressureAt(h, q) - pra;
        if (fq == 0) return q;
        if (fq < 0) {
            lo = q, flo = fq;
            if (side == -1) fhi /= 2;
            side = -1;
        } else {
            hi = q, fhi = fq;
            if (side == 1) flo /= 2;
            side = 1;
        }
    }
    return (lo + hi) / 2;
}

// The right atrial pressure on the venous return curve at which the veins return `q`.
double venousPressureFor(const ModelState& s, double q) {
    const double straight = meanSystemicFillingPressure(s) - q * resistanceToVenousReturn(s);
    const double pc = veinCollapsePressure(s);
    return straight < pc ? -q * s.Resis[SysV] : straight;
}

Crossing crossingOf(const ModelState& s, const ModelState& h) {
    // Along the flow, the heart's Pra rises and the veins' falls, so their difference changes
    // sign once: at zero flow the heart needs less than Pmsf for the two to cross.
    Crossing c;
    const double pmsf = meanSystemicFillingPressure(s);
    if (!std::isfinite(pmsf) || !(heartPressureAt(h, 0) < pmsf)) return c;
    double lo = 0, hi = 1000;
    auto gap = [&](double q) { return heartPressureAt(h, q) - venousPressureFor(s, q); };
    for (int i = 0; i < 60 && gap(hi) < 0; ++i) lo = hi, hi *= 2;
    if (!(gap(hi) >= 0)) return c;
    for (int i = 0; i < 64; ++i) {
        const double mid = (lo + hi) / 2;
        (gap(mid) < 0 ? lo : hi) = mid;
    }
    c.found = true;
    c.flow = (lo + hi) / 2;
    c.pra = venousPressureFor(s, c.flow);
    return c;
}

}  // namespace

double cardiacFunctionPressure(const ModelState& s, double flow) {
    return heartPressureAt(withRunHeartRates(s), flow);
}

double cardiacFunction(const ModelState& s, double pra) {
    return heartOutputAt(withRunHeartRates(s), pra);
}

Crossing curvesCrossing(const ModelState& s) {
    return crossingOf(s, withRunHeartRates(s));
}

GuytonDiagram guytonDiagram(const ModelState& s, int points) {
    const ModelState h = withRunHeartRates(s);
    GuytonDiagram d;
    d.pmsf = meanSystemicFillingPressure(s);
    d.rvr = resistanceToVenousReturn(s);
    d.collapsePra = veinCollapsePressure(s);
    d.afterload = cardiacFunctionAfterload(s);
    d.crossing = crossingOf(s, h);
    d.operating = {rightAtrialPressure(s), s.Flow[LeftV]};
    // From a few mmHg below the lowest point of interest to just past Pmsf, where the venous
    // return has fallen to zero.
    double from = std::min({-4.0, d.operating.x - 2, heartPressureAt(h, 0) - 1});
    double to = std::max({d.pmsf + 1, d.operating.x + 2, d.crossing.pra + 2});
    if (!std::isfinite(from) || !std::isfinite(to)) from = -4, to = 12;
    d.praFrom = std::floor(from);
    d.praTo = std::ceil(to);
    const int n = std::max(points, 2);
    d.venousReturn.reserve(std::size_t(n));
    d.cardiacFunction.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const double pra = d.praFrom + (d.praTo - d.praFrom) * i / (n - 1);
        d.venousReturn.push_back({pra, venousReturn(s, pra)});
        d.cardiacFunction.push_back({pra, heartOutputAt(h, pra)});
    }
    return d;
}

double PressureVolumeLoop::ejectionPressure(double u) const {
    return opening + (esp - opening) * u + hump * std::sin(std::numbers::pi * u);
}

double PressureVolumeLoop::peakFraction() const {
    // The pressure's slope, (esp - opening) + hump pi cos(pi u), is zero once at most on the
    // way; otherwise the peak is at one end.
    double best = ejectionPressure(1) > ejectionPressure(0) ? 1 : 0;
    if (hump > 0) {
        const double c = -(esp - opening) / (hump * std::numbers::pi);
        if (c > -1 && c < 1) {
            const double u = std::acos(c) / std::numbers::pi;
            if (ejectionPressure(u) > ejectionPressure(best)) best = u;
        }
    }
    return best;
}

namespace {

// The hump that lifts the ejection's peak to the systolic pressure, found by halving: the peak
// rises with the hump.
double humpFor(PressureVolumeLoop& l) {
    if (!(l.systolic > std::max(l.opening, l.esp))) return 0;
    double lo = 0, hi = 2 * (l.systolic - std::min(l.opening, l.esp)) + 1;
    for (int i = 0; i < 40; ++i) {
        l.hump = (lo + hi) / 2;
        (l.ejectionPressure(l.peakFraction()) < l.systolic ? lo : hi) = l.hump;
    }
    return (lo + hi) / 2;
}

double polygonArea(const std::vector<CurvePoint>& p) {
    double twice = 0;
    for (std::size_t i = 0; i + 1 < p.size(); ++i)
        twice += p[i].x * p[i + 1].y - p[i + 1].x * p[i].y;
    return std::fabs(twice) / 2;
}

void outlineLoop(PressureVolumeLoop& l, double compliance, double pit) {
    constexpr int kEjection = 40, kFilling = 40;
    l.outline.push_back({l.edv, l.edp});
    for (int i = 0; i <= kEjection; ++i) {
        const double u = double(i) / kEjection;
        l.outline.push_back({l.edv - u * l.sv, l.ejectionPressure(u)});
    }
    l.outline.push_back({l.esv, l.relaxed});
    for (int i = 1; i < kFilling; ++i) {
        const double v = l.esv + l.sv * i / kFilling;
        l.outline.push_back({v, ventricleDiastolicPressure(v, compliance, pit)});
    }
    // Back to A as the model window shows it (its pressure is that of the step's start).
    l.outline.push_back(l.outline.front());
    l.strokeWork = polygonArea(l.outline);
}

}  // namespace

PressureVolumeLoop pressureVolumeLoop(const ModelState& s, int ventricle) {
    const bool left = ventricle == LeftV;
    const auto k = std::size_t(left ? LeftV : RghtV);
    PressureVolumeLoop l;
    l.ventricle = int(k);
    l.edv = s.Vstrs[k];
    l.edp = s.Press[k];
    l.emax = left ? s.Emax_LV : s.Emax_RV;
    l.vo = left ? s.Vo_LV : s.Vo_RV;
    // The pressure each ventricle ejects against, as the run sets its end-systolic volume.
    // The end of systole as the last step found it: on the end-systolic line at the pressure
    // the ventricle ejects against (the mean arterial pressure), never beyond its volume.
    l.esp = left ? s.Press[SysA] : s.Press[PulmA];
    l.esv = std::min(left ? s.ESV_LV : s.ESV_RV, l.edv);
    l.sv = l.edv - l.esv;
    if (left) {
        l.opening = s.DiasP;
        l.systolic = s.SystP;
    } else {
        l.opening = l.systolic = l.esp;
    }
    l.relaxed = ventricleDiastolicPressure(l.esv, s.Comp[k], s.Pit);
    l.hump = left ? humpFor(l) : 0;
    outlineLoop(l, s.Comp[k], s.Pit);
    const double top = std::max({200.0, l.edv * 1.25});
    for (int v = 0; v <= int(top); v += 5)
        l.diastolicRelation.push_back({double(v), ventricleDiastolicPressure(v, s.Comp[k], s.Pit)});
    const double lineEnd = std::max(l.esv, l.vo) + 0.25 * std::max(l.sv, 20.0);
    l.systolicRelation = {{l.vo, 0}, {lineEnd, l.emax * (lineEnd - l.vo)}};
    return l;
}

double strokeWorkMillijoules(double mmHgMl) {
    // 1 mmHg x 1 ml = 133.322 Pa x 1e-6 m^3 = 0.133322 mJ.
    return mmHgMl * 0.133322;
}

DiagramData diagramData(const ModelState& s, int points) {
    return {guytonDiagram(s, points), pressureVolumeLoop(s, RghtV), pressureVolumeLoop(s, LeftV)};
}

namespace {

void appendNumber(std::string& out, double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
    out.append(buf, r.ptr);
}

void appendRow(std::string& out, const char* series, double x, double y) {
    out += series;
    out += ',';
    appendNumber(out, x);
    out += ',';
    appendNumber(out, y);
    out += '\n';
}

void appendSeries(std::string& out, const char* series, const std::vector<CurvePoint>& points) {
    for (const CurvePoint& p : points) appendRow(out, series, p.x, p.y);
}

void appendLoop(std::string& out, const PressureVolumeLoop& l, bool left) {
    appendSeries(out, left ? "left ventricle loop (ml; mmHg)" : "right ventricle loop (ml; mmHg)",
                 l.outline);
    appendSeries(out,
                 left ? "left ventricle end-diastolic relation (ml; mmHg)"
                      : "right ventricle end-diastolic relation (ml; mmHg)",
                 l.diastolicRelation);
    appendSeries(out,
                 left ? "left ventricle end-systolic line (ml; mmHg)"
                      : "right ventricle end-systolic line (ml; mmHg)",
                 l.systolicRelation);
    appendRow(out,
              left ? "left ventricle stroke work (mmHg x ml; mJ)"
                   : "right ventricle stroke work (mmHg x ml; mJ)",
              l.strokeWork, strokeWorkMillijoules(l.strokeWork));
}

}  // namespace

std::string diagramCsv(const DiagramData& d) {
    const GuytonDiagram& g = d.guyton;
    std::string out = "series,x,y\n";
    appendSeries(out, "venous return (mmHg; ml/min)", g.venousReturn);
    appendSeries(out, "cardiac function (mmHg; ml/min)", g.cardiacFunction);
    if (g.crossing.found)
        appendRow(out, "crossing (mmHg; ml/min)", g.crossing.pra, g.crossing.flow);
    appendRow(out, "operating point (mmHg; ml/min)", g.operating.x, g.operating.y);
    appendRow(out, "mean systemic filling pressure (mmHg; ml/min)", g.pmsf, 0);
    appendRow(out, "resistance to venous return (mmHg/(ml/min); -)", g.rvr, 0);
    appendRow(out, "afterload held (mmHg; -)", g.afterload, 0);
    appendLoop(out, d.right, false);
    appendLoop(out, d.left, true);
    return out;
}

// --- Held runs ------------------------------------------------------------------------------

namespace {

// Runs held steps until the flow has stopped changing; returns whether it did within an hour
// of model time.
bool settle(ModelState& m, const engine::StepClamp& clamp, double& pra, double& flow) {
    auto measure = [&] {
        pra = rightAtrialPressure(m);
        flow = clamp.pumpVenousReturn ? m.Flow[SysV] : m.Flow[LeftV];
    };
    double last = NAN;
    for (int chunk = 0; chunk < 120; ++chunk) {
        for (double t = 0; t < 0.5;) t += engine::eulerStep(m, &clamp);
        measure();
        if (!std::isfinite(flow)) return false;
        // Settled: the flow stands still, and what enters the part that runs leaves it.
        const double unbalanced =
            clamp.pumpVenousReturn ? m.Flow[SysA] - m.Flow[SysV] : m.Flow[SysV] - m.Flow[LeftV];
        if (std::fabs(flow - last) < 1e-3 && std::fabs(unbalanced) < 1e-2) return true;
        last = flow;
    }
    return false;
}

}  // namespace

HeldRun heldRun(const ModelState& s, HeldPart part, double pra) {
    ModelState base = s;
    // The curves are those of the present circulation: no volume is being added or taken.
    base.VolChangeRate = 0;
    base.VunstrsChangeRate = 0;
    engine::prepareHeartRates(base);
    engine::StepClamp clamp;
    const bool venous = part == HeldPart::HeartAndLungs;
    if (venous) {
        for (int i : {RghtV, PulmA, PulmV, LeftV}) clamp.holdVolume[std::size_t(i)] = true;
        clamp.pumpVenousReturn = true;
    } else {
        clamp.holdVolume[SysA] = clamp.holdVolume[SysV] = true;
    }
    // The held volume that sets the right atrial pressure: the right ventricle's (the pump's
    // filling pressure) or the systemic veins'. Pra rises with either; secant steps find it.
    const auto k = std::size_t(venous ? RghtV : SysV);
    const double comp = base.Comp[k];
    auto runAt = [&](double volume, HeldRun& r) {
        ModelState m = base;
        m.Vstrs[k] = volume;
        r.settled = settle(m, clamp, r.pra, r.flow);
        return r.pra - pra;
    };
    HeldRun a, b;
    double va = base.Vstrs[k], vb = va + comp;
    double ea = runAt(va, a), eb = runAt(vb, b);
    for (int i = 0; i < 30 && std::fabs(eb) > 1e-5 && std::isfinite(eb); ++i) {
        const double step = (ea == eb) ? comp : eb * (vb - va) / (eb - ea);
        va = vb;
        ea = eb;
        a = b;
        vb = vb - step;
        eb = runAt(vb, b);
    }
    b.settled = b.settled && std::fabs(eb) <= 1e-5;
    return b;
}

}  // namespace vasora::model
