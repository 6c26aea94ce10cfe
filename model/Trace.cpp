// The strip chart's trace: where each integration step draws its points, and the sweeps of
// three minutes that the chart shows one after another.

#include <cmath>
#include <limits>

#include "model/EngineInternal.h"
#include "model/Vasora_Model_coding.h"

namespace vasora::model::engine {

namespace {

// The sweep whose axis captions the strip chart shows, so that the captions are written once
// per sweep rather than at every step; -1 when unknown.
int g_sweepShown = -1;

// The integer nearest to x, halves to the even neighbour, within the 16-bit range; a value that
// is not a number counts as 0. The caller clamps further to the drawing area.
std::int16_t nearest16(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 32767.5) return std::numeric_limits<std::int16_t>::max();
    if (x <= -32768.5) return std::numeric_limits<std::int16_t>::min();
    // Adding and removing 1.5 x 2^52 leaves no fraction bits, so the sum is rounded to the
    // nearest integer, halves to even, exactly as nearbyint does in the default rounding mode;
    // it stays inline where nearbyint is a library call, four times per integration step.
    constexpr double kShift = 6755399441055744.0;
    const double shifted = x + kShift;
    return static_cast<std::int16_t>(shifted - kShift);
}

int clampTo(int v, int size) {
    return v < 0 ? 0 : (v >= size ? (size > 0 ? size - 1 : 0) : v);
}

void showSweepCaptions(ModelView& v, int k) {
    if (k == g_sweepShown) return;
    g_sweepShown = k;
    struct Captions {
        const char *l4, *l5, *l6;
    };
    static constexpr Captions kSweeps[] = {
        {"^--0      Time ->", "^1 minute", "^2"},   {"^--3      Time ->", "^4 minute", "^5"},
        {"^--6      Time ->", "^7 minute", "^8"},   {"^--9     Time ->", "^10 minute", "^11"},
        {"^--12     Time ->", "^13 minute", "^14"}, {"^--15     Time ->", "Save LabBook!", "^17"},
    };
    const Captions& c = kSweeps[k / 3];
    v.setCaption(Window::PlotData, "Label4", c.l4);
    v.setCaption(Window::PlotData, "Label5", c.l5);
    v.setCaption(Window::PlotData, "Label6", c.l6);
}

}  // namespace

}  // namespace vasora::model::engine

namespace vasora::model {

int stripChartSweep(double modelTime) {
    int sweep = modelTime < 3 ? 0 : -1;
    for (int k = 3; k <= 15; k += 3)
        if (modelTime > k) sweep = k;
    return sweep;
}

}  // namespace vasora::model

namespace vasora::model::engine {

void resetTrace() {
    g_sweepShown = -1;
}

bool traceStep(ModelState& s, ModelView& v, int W, int H) {
    using namespace palette;
    if (s.PlotHidden == 1)
        v.hideWindow(Window::PlotData);
    else
        v.showWindow(Window::PlotData);

    // Sweep position: one sweep spans PlotSpan thousandths of a minute across the width. The
    // captions of the last sweep that applies are written once, not those of every earlier
    // sweep in turn.
    const double t = s.ModelTime;
    for (int k = 3; k <= 15; k += 3)
        if (k < t && t < k + 0.003) v.plotSweepEnd();
    const int sweep = stripChartSweep(t);
    if (sweep >= 0) s.PlotX = nearest16((t - sweep) * 1000 / s.PlotSpan * W);
    if (sweep >= 0 && sweep != g_sweepShown) showSweepCaptions(v, sweep);
    if (t > 17) return false;

    // Trace points; y runs downward with the zero line at 85 % of the height.
    const auto& F = s.Flow;
    const auto& P = s.Press;
    s.PlotY_CO = F[LeftV] > 12800 ? 10 : nearest16((0.85 - F[LeftV] / 15000) * H);
    s.PlotY_VR = F[SysV] > 12800 ? 20 : nearest16((0.85 - F[SysV] / 15000) * H);
    s.PlotY_Psa = P[SysA] > 170 ? 30 : nearest16((0.85 - P[SysA] / 200) * H);
    s.PlotY_Base = nearest16(0.85 * H);
    const int x = clampTo(s.PlotX, W);
    v.plotPoint(x, clampTo(s.PlotY_Base, H), Black, 1);
    v.plotPoint(x, clampTo(s.PlotY_VR, H), LightMagenta, 1);
    v.plotPoint(x, clampTo(s.PlotY_Psa, H), LightBlue, 2);
    v.plotPoint(x, clampTo(s.PlotY_CO, H), LightRed, 2);
    return true;
}

}  // namespace vasora::model::engine
