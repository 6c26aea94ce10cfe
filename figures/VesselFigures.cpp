// The vessel figures: the pressure-volume line of a vein (610), the three capacitance
// definitions (611), venoconstriction (615), active against passive changes (616). Each takes
// the veins' unstressed volume, compliance and normal volume from the model's normal
// circulation; 615 also shows where the model settles after the venoconstriction.

#include <QPainter>
#include <algorithm>

#include "figures/Canvas.h"
#include "figures/FigureData.h"
#include "figures/FigurePainters.h"
#include "figures/Figures.h"
#include "figures/Plot.h"
#include "figures/Style.h"
#include "figures/VesselPhysics.h"

namespace vasora::figures {

using namespace style;
using model::SysV;

namespace {

QString ml(double v) {
    return number(v, 0) + QStringLiteral(" ml");
}
QString mmHg(double v) {
    return number(v, 1) + QStringLiteral(" mmHg");
}

// A vessel's line, pressure against whole volume, from its unstressed volume to `vMax`.
std::vector<QPointF> pvLine(double unstressed, double compliance, double vMax) {
    return {{unstressed, 0}, {vMax, vesselPressure(vMax, unstressed, compliance)}};
}

// The run and the rise of a P-V line between two volumes, as a slope triangle.
void slopeTriangle(QPainter& p, const Chart& c, double v0, double v1, double unstressed,
                   double compliance, const QColor& colour) {
    slopeSteps(p, c.at(v0, vesselPressure(v0, unstressed, compliance)),
               c.at(v1, vesselPressure(v1, unstressed, compliance)), colour);
}

// A chart of the veins' pressure against their whole volume.
Chart veinChart(QPainter& p, Scale volume) {
    Chart c(p, kChartArea, volume, Scale{0, 16, 2});
    c.drawAxes(QStringLiteral("Total volume of the systemic veins (ml)"),
               QStringLiteral("Venous pressure (mmHg)"), kInk);
    return c;
}

}  // namespace

void paintVesselPressureVolume(QPainter& p, const QRectF& target) {
    const VeinStates v = veinStates();
    const Canvas canvas(p, target, drawingSize(610));
    const Chart c = veinChart(p, Scale{0, 4500, 500});

    const double vu = v.normal.unstressed, cmp = v.normal.compliance;
    const double vol = v.normal.volume, pr = v.normal.pressure;
    c.line(pvLine(vu, cmp, 4500), QPen(kBlue, 2.6));

    // The operating point and its volume split into unstressed and stressed parts.
    const QPointF op = c.at(vol, pr);
    p.setPen(QPen(kMuted, 1, Qt::DashLine));
    p.drawLine(op, c.at(vol, 0));
    p.drawLine(op, c.at(0, pr));
    const double barY = c.py(1.1);
    dimension(p, QPointF(c.px(0), barY), QPointF(c.px(vu), barY), kMuted);
    dimension(p, QPointF(c.px(vu), barY), QPointF(c.px(vol), barY), kBlue, 1.6);
    text(p, QPointF(c.px(vu / 2), barY - 4),
         QStringLiteral("unstressed volume %1\nfills the vein without stretching it").arg(ml(vu)),
         Qt::AlignHCenter | Qt::AlignBottom, kText, kInk);
    text(p, QPointF(c.px(vol) + 8, barY), QStringLiteral("stressed volume\n%1").arg(ml(vol - vu)),
         Qt::AlignLeft | Qt::AlignVCenter, kText, kBlue, true);
    // The unstressed volume on the volume axis, where the line leaves it.
    dot(p, c.at(vu, 0), kBlue, 5);
    dot(p, op, kRed, 5.5);
    note(p, op + QPointF(-14, -14),
         QStringLiteral("normal operating point\n%1 in all, %2").arg(ml(vol), mmHg(pr)),
         Qt::AlignRight | Qt::AlignBottom);

    const double s0 = 3850, s1 = 4250;
    slopeTriangle(p, c, s0, s1, vu, cmp, kBlue);
    const double mid = vesselPressure((s0 + s1) / 2, vu, cmp);
    text(p, QPointF(c.px(vu + cmp * (mid + 0.6)) - 10, c.py(mid + 0.6)),
         QStringLiteral("slope = ΔP / ΔV\n= 1 / compliance"), Qt::AlignRight | Qt::AlignVCenter,
         kSmall, kBlue);
    note(p, QPointF(c.area().left() + 12, c.area().top() + 12),
         QStringLiteral("Systemic veins of the model\nunstressed volume  %1\ncompliance  %2 "
                        "ml/mmHg\npressure = stressed volume / compliance")
             .arg(ml(vu), number(cmp, 0)),
         Qt::AlignLeft | Qt::AlignTop, kText);
}

void paintCapacitanceDefinitions(QPainter& p, const QRectF& target) {
    const CapacitanceVessels cv = capacitanceVessels();
    const Canvas canvas(p, target, drawingSize(611));
    const Chart c(p, kChartArea, Scale{0, 16, 2}, Scale{2000, 5000, 500});
    c.drawAxes(QStringLiteral("Pressure (mmHg)"), QStringLiteral("Volume held (ml)"), kInk);

    struct Drawn {
        const VesselLine& v;
        QColor colour;
    };
    const Drawn lines[] = {{cv.a, kBlue}, {cv.b, kOrange}};
    const double p0 = 10, p1 = 14;
    for (const Drawn& d : lines) {
        c.line({{0, d.v.unstressed}, {16, vesselVolume(16, d.v.unstressed, d.v.compliance)}},
               QPen(d.colour, 2.6));
        // Compliance: the rise in volume per mmHg.
        const QPointF a = c.at(p0, vesselVolume(p0, d.v.unstressed, d.v.compliance));
        slopeSteps(p, a, c.at(p1, vesselVolume(p1, d.v.unstressed, d.v.compliance)), d.colour);
        text(p, QPointF(a.x() + 10, a.y() + 4),
             QStringLiteral("compliance = ΔV / ΔP\n= %1 ml / %2 mmHg = %3 ml/mmHg")
                 .arg(number((p1 - p0) * d.v.compliance, 0), number(p1 - p0, 0),
                      number(d.v.compliance, 0)),
             Qt::AlignLeft | Qt::AlignTop, kSmall, d.colour);
        // Unstressed volume: where the line meets the volume axis.
        dot(p, c.at(0, d.v.unstressed), d.colour, 5);
        text(p, c.at(0, d.v.unstressed) + QPointF(10, 6),
             QStringLiteral("unstressed volume %1%2")
                 .arg(ml(d.v.unstressed),
                      d.colour == kBlue ? QStringLiteral(" (at 0 mmHg)") : QString()),
             Qt::AlignLeft | Qt::AlignTop, kSmall, d.colour);
    }

    // Capacitance: the whole volume held at one pressure.
    const double at = cv.pressure;
    c.vLine(at, QPen(kMuted, 1, Qt::DashLine));
    for (const Drawn& d : lines) {
        const double vol = vesselVolume(at, d.v.unstressed, d.v.compliance);
        p.setPen(QPen(d.colour, 1, Qt::DotLine));
        p.drawLine(c.at(0, vol), c.at(at, vol));
        dot(p, c.at(at, vol), d.colour, 5);
        text(p, c.at(at, vol) + QPointF(-8, -4),
             QStringLiteral("capacitance at %1 mmHg: %2").arg(number(at, 0), ml(vol)),
             Qt::AlignRight | Qt::AlignBottom, kSmall, d.colour, true);
    }
    drawLegend(p, QPointF(c.area().left() + 10, c.area().top() + 10), Qt::AlignLeft | Qt::AlignTop,
               {{QStringLiteral("vessel A: the model's systemic veins"), QPen(kBlue, 2.6)},
                {QStringLiteral("vessel B: stiffer, less unstressed volume"), QPen(kOrange, 2.6)}});
}

void paintVenoconstriction(QPainter& p, const QRectF& target) {
    const VeinStates v = veinStates();
    const Canvas canvas(p, target, drawingSize(615));
    const Chart c = veinChart(p, Scale{2000, 4400, 400});

    const VeinState& n = v.normal;
    const VeinState& k = v.constricted;
    const VeinState& s = v.constrictedSettled;
    c.line(pvLine(n.unstressed, n.compliance, 4400), QPen(kBlue, 2.6));
    c.line(pvLine(k.unstressed, k.compliance, 4400), QPen(kRed, 2.6));

    // The constricted veins hold 500 ml less at every pressure: the line moves left.
    const double atP = 4;
    const double from = vesselVolume(atP, n.unstressed, n.compliance);
    const double to = vesselVolume(atP, k.unstressed, k.compliance);
    arrow(p, c.at(from, atP), c.at(to, atP) + QPointF(3, 0), kRed, 1.6);
    text(p, c.at((from + to) / 2, atP) + QPointF(0, -4),
         QStringLiteral("unstressed\n%1 ml").arg(number(k.unstressed - n.unstressed, 0)),
         Qt::AlignHCenter | Qt::AlignBottom, kSmall, kRed, true);

    const QPointF a = c.at(n.volume, n.pressure), b = c.at(k.volume, k.pressure);
    const QPointF settled = c.at(s.volume, s.pressure);
    arrow(p, a, b + QPointF(0, 7), kInk, 1.8);
    curvedArrow(p, b + QPointF(-5, -3), QPointF((b.x() + settled.x()) / 2 - 8, b.y() - 26),
                settled + QPointF(-3, -6), kMuted, 1.4, 8);
    dot(p, a, kBlue, 5.5);
    dot(p, b, kRed, 5.5);
    dot(p, settled, kRed, 4.5);
    note(p, a + QPointF(14, 8),
         QStringLiteral("normal: %1, %2").arg(ml(n.volume), mmHg(n.pressure)),
         Qt::AlignLeft | Qt::AlignTop);
    note(p, b + QPointF(14, 0),
         QStringLiteral("same volume, constricted:\n%1, %2 higher")
             .arg(mmHg(k.pressure), mmHg(k.pressure - n.pressure)),
         Qt::AlignLeft | Qt::AlignVCenter, kSmall + 0.5, kRed, kRed);
    const QRectF box = note(
        p, c.at(2030, 12.1),
        QStringLiteral("after the model settles: %1 have\nmoved on to the heart and arteries;\n"
                       "venous pressure %2,\ncardiac output %3 → %4 ml/min")
            .arg(ml(n.volume - s.volume), mmHg(s.pressure), number(v.normalOutput, 0),
                 number(v.settledOutput, 0)),
        Qt::AlignLeft | Qt::AlignTop);
    p.setPen(QPen(kMuted, 1, Qt::DotLine));
    p.drawLine(QPointF(box.right(), box.center().y()), settled + QPointF(-6, 0));
    drawLegend(
        p, QPointF(c.area().left() + 10, c.area().top() + 10), Qt::AlignLeft | Qt::AlignTop,
        {{QStringLiteral("normal veins: unstressed %1").arg(ml(n.unstressed)), QPen(kBlue, 2.6)},
         {QStringLiteral("venoconstriction: unstressed %1").arg(ml(k.unstressed)),
          QPen(kRed, 2.6)}});
}

void paintActivePassive(QPainter& p, const QRectF& target) {
    const VeinStates v = veinStates();
    const Canvas canvas(p, target, drawingSize(616));
    const Scale vx{2400, 4400, 400}, py{0, 18, 2};
    const VeinState& n = v.normal;

    // Passive: the vessel stays as it is; more volume climbs its line.
    const Chart left(p, QRectF(70, 44, 260, 326), vx, py);
    left.drawAxes(QStringLiteral("Total venous volume (ml)"),
                  QStringLiteral("Venous pressure (mmHg)"), kInk);
    text(p, QPointF(left.area().center().x(), 16), QStringLiteral("Passive: volume added"),
         Qt::AlignCenter, kHeading, kInk, true);
    left.line(pvLine(n.unstressed, n.compliance, 4400), QPen(kBlue, 2.6));
    const VeinState& t = v.transfused;
    const QPointF a = left.at(n.volume, n.pressure), b = left.at(t.volume, t.pressure);
    arrow(p, a + QPointF(5, -4), b + QPointF(-5, 5), kInk, 1.8);
    dot(p, a, kBlue, 5.5);
    dot(p, b, kGreen, 5.5);
    text(p, a + QPointF(8, 6), mmHg(n.pressure), Qt::AlignLeft | Qt::AlignTop, kSmall, kBlue);
    text(p, b + QPointF(-8, -4),
         QStringLiteral("+%1: %2").arg(ml(t.volume - n.volume), mmHg(t.pressure)),
         Qt::AlignRight | Qt::AlignBottom, kSmall, kGreen, true);
    note(p, QPointF(left.area().left() + 8, left.area().top() + 8),
         QStringLiteral("same line: compliance\nand unstressed volume\nunchanged"),
         Qt::AlignLeft | Qt::AlignTop);

    // Active: the vessel's wall changes; at the same volume the pressure changes.
    const Chart right(p, QRectF(430, 44, 260, 326), vx, py);
    right.drawAxes(QStringLiteral("Total venous volume (ml)"),
                   QStringLiteral("Venous pressure (mmHg)"), kInk);
    text(p, QPointF(right.area().center().x(), 16), QStringLiteral("Active: the vessel changes"),
         Qt::AlignCenter, kHeading, kInk, true);
    const VeinState& shifted = v.constricted;
    const VeinState& stiff = v.stiffened;
    right.line(pvLine(n.unstressed, n.compliance, 4400), QPen(kBlue, 2.6));
    right.line(pvLine(shifted.unstressed, shifted.compliance, 4400), QPen(kRed, 2.4));
    right.line(pvLine(stiff.unstressed, stiff.compliance, 4400), QPen(kPurple, 2.4, Qt::DashLine));
    right.vLine(n.volume, QPen(kMuted, 1, Qt::DashLine));
    dot(p, right.at(n.volume, n.pressure), kBlue, 5);
    dot(p, right.at(shifted.volume, shifted.pressure), kRed, 5);
    dot(p, right.at(stiff.volume, stiff.pressure), kPurple, 5);
    // Left of the rotated line, which passes just left of this point.
    const double rotatedAt = vesselVolume(shifted.pressure, stiff.unstressed, stiff.compliance);
    text(p, QPointF(right.px(std::min(rotatedAt, shifted.volume)) - 8, right.py(shifted.pressure)),
         mmHg(shifted.pressure), Qt::AlignRight | Qt::AlignVCenter, kSmall, kRed, true);
    text(p, right.at(stiff.volume, stiff.pressure) + QPointF(-8, 0), mmHg(stiff.pressure),
         Qt::AlignRight | Qt::AlignVCenter, kSmall, kPurple, true);
    text(p, right.at(n.volume, n.pressure) + QPointF(8, 4), mmHg(n.pressure),
         Qt::AlignLeft | Qt::AlignTop, kSmall, kBlue);
    drawLegendRow(p, QPointF(360, 452),
                  {{QStringLiteral("normal veins"), QPen(kBlue, 2.6)},
                   {QStringLiteral("unstressed volume %1 ml: line shifted")
                        .arg(number(shifted.unstressed - n.unstressed, 0)),
                    QPen(kRed, 2.4)},
                   {QStringLiteral("compliance %1 %: line rotated")
                        .arg(number(100 * stiff.compliance / n.compliance, 0)),
                    QPen(kPurple, 2.4, Qt::DashLine)}});
}

}  // namespace vasora::figures
