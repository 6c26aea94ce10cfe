// What sets cardiac output: the filling of the ventricle (651), its contractility (652), and
// the meeting of venous return and cardiac output (002, for the lab book). Every point of 651
// and 652 is the model at equilibrium after a change made through the model window's change
// logic; 002 draws Guyton's curves of two such states as the live diagram window does.

#include <QPainter>
#include <algorithm>

#include "figures/Canvas.h"
#include "figures/FigureData.h"
#include "figures/FigurePainters.h"
#include "figures/Figures.h"
#include "figures/ModelRuns.h"
#include "figures/Plot.h"
#include "figures/Style.h"
#include "model/Curves.h"
#include "model/Derived.h"

namespace vasora::figures {

using namespace style;
using namespace vasora::model;

namespace {

const Settled* pointAt(const std::vector<Settled>& series, double x) {
    const auto it =
        std::find_if(series.begin(), series.end(), [x](const Settled& s) { return s.x == x; });
    return it == series.end() ? nullptr : &*it;
}

}  // namespace

void paintOutputByFilling(QPainter& p, const QRectF& target) {
    const std::vector<Settled> tone = unstressedVolumeSeries();
    const ModelState n = normalCirculation();
    const Canvas canvas(p, target, drawingSize(651));
    const Chart c(p, kChartArea, Scale{40, 200, 20}, Scale{0, 10, 1});
    p.fillRect(QRectF(QPointF(c.px(kStiffVentricleVolume), c.area().top()), c.area().bottomRight()),
               QColor(252, 238, 230));
    c.drawAxes(QStringLiteral("Left-ventricular end-diastolic volume, EDV (ml)"),
               QStringLiteral("Cardiac output (L/min)"), kRed);
    text(p, QPointF(c.px(kStiffVentricleVolume) + 6, c.py(6)),
         QStringLiteral("ventricle\n4× stiffer"), Qt::AlignLeft | Qt::AlignVCenter, kSmall,
         kMuscle);

    std::vector<QPointF> pts;
    for (const Settled& s : tone)
        if (s.applied && s.settled) pts.emplace_back(s.s.Vstrs[LeftV], s.s.Flow[LeftV] / 1000);
    c.line(pts, QPen(kRed, 2.4));
    c.markers(pts, Marker::Circle, kRed, false, 3.6);

    for (double dU : {-1000.0, 1000.0}) {
        const Settled* s = pointAt(tone, dU);
        if (!s || !s->settled) continue;
        const QPointF at = c.at(s->s.Vstrs[LeftV], s->s.Flow[LeftV] / 1000);
        const bool constrict = dU < 0;
        text(p, at + QPointF(constrict ? -10 : 10, constrict ? -4 : 4),
             QStringLiteral("%1 %2 ml")
                 .arg(constrict ? QStringLiteral("venoconstriction")
                                : QStringLiteral("venodilation"),
                      number(std::abs(dU), 0)),
             (constrict ? Qt::AlignRight | Qt::AlignBottom : Qt::AlignLeft | Qt::AlignTop), kSmall,
             kInk, true);
    }
    const QPointF normal = c.at(n.Vstrs[LeftV], n.Flow[LeftV] / 1000);
    dot(p, normal, kBlue, 6);
    text(p, normal + QPointF(10, 6),
         QStringLiteral("normal: EDV %1 ml, %2 L/min")
             .arg(number(n.Vstrs[LeftV], 0), number(n.Flow[LeftV] / 1000, 1)),
         Qt::AlignLeft | Qt::AlignTop, kSmall, kBlue, true);
    note(p, QPointF(c.area().left() + 10, c.area().top() + 10),
         QStringLiteral("Each point: the model at equilibrium\nafter a change of unstressed "
                        "volume\n(venous tone) of %1 to +%2 ml.\nVenoconstriction moves "
                        "unstressed into\nstressed volume: Pmcf, venous return\nand EDV rise.")
             .arg(number(unstressedVolumeChanges().front(), 0),
                  number(unstressedVolumeChanges().back(), 0)),
         Qt::AlignLeft | Qt::AlignTop);
    note(p, QPointF(c.area().right() - 10, c.area().bottom() - 10),
         QStringLiteral("Heart rate and Emax unchanged:\ncardiac output follows EDV.\nA change "
                        "of blood volume moves\nalong the same line."),
         Qt::AlignRight | Qt::AlignBottom);
}

void paintOutputByContractility(QPainter& p, const QRectF& target) {
    const std::vector<Settled> series = leftEmaxSeries();
    const Canvas canvas(p, target, drawingSize(652));
    Chart c(p, kChartAreaTwoScales, Scale{0, 300, 50}, Scale{0, 7, 1});
    c.setRightScale(Scale{0, 280, 40});
    c.drawAxes(QStringLiteral("Left-ventricular Emax (% of normal)"),
               QStringLiteral("Cardiac output (L/min)"), kRed,
               QStringLiteral("End-diastolic volume (ml)"), kPurple);

    std::vector<QPointF> co, edv;
    for (const Settled& s : series) {
        if (!s.applied || !s.settled) continue;
        co.emplace_back(s.x, s.s.Flow[LeftV] / 1000);
        edv.emplace_back(s.x, s.s.Vstrs[LeftV]);
    }
    c.hLine(kStiffVentricleVolume, QPen(kMuscle, 1, Qt::DotLine), true);
    text(p, c.at(300, kStiffVentricleVolume, true) + QPointF(-6, 3),
         QStringLiteral("EDV 175 ml: the ventricle stiffens"), Qt::AlignRight | Qt::AlignTop,
         kSmall, kMuscle);
    c.line(edv, QPen(kPurple, 2.2, Qt::DashLine), true);
    c.markers(edv, Marker::Square, kPurple, true, 3.2);
    c.line(co, QPen(kRed, 2.6));
    c.markers(co, Marker::Circle, kRed, false, 3.6);

    if (const Settled* s = pointAt(series, 100)) {
        const QPointF at = c.at(100, s->s.Flow[LeftV] / 1000);
        dot(p, at, kBlue, 6);
        text(p, at + QPointF(6, 8),
             QStringLiteral("normal: %1 L/min").arg(number(s->s.Flow[LeftV] / 1000, 1)),
             Qt::AlignLeft | Qt::AlignTop, kSmall, kBlue, true);
    }
    if (const Settled* s = pointAt(series, 30)) {
        const QPointF at = c.at(30, s->s.Flow[LeftV] / 1000);
        const QRectF box =
            note(p, c.at(45, 1.9),
                 QStringLiteral("left heart failure, Emax 30 %:\n%1 L/min, EDV %2 ml,\npulmonary "
                                "venous pressure %3 mmHg")
                     .arg(number(s->s.Flow[LeftV] / 1000, 2), number(s->s.Vstrs[LeftV], 0),
                          number(s->s.Press[PulmV], 1)),
                 Qt::AlignLeft | Qt::AlignTop);
        p.setPen(QPen(kMuted, 1, Qt::DotLine));
        p.drawLine(box.topLeft() + QPointF(12, 0), at + QPointF(0, 6));
    }
    note(p, c.at(300, 3.4) + QPointF(-10, 0),
         QStringLiteral("Above normal a stronger heart adds little:\nvenous return, not the "
                        "heart, limits the output."),
         Qt::AlignRight | Qt::AlignVCenter);
    drawLegend(
        p, QPointF(c.area().right() - 10, c.area().top() + 8), Qt::AlignRight | Qt::AlignTop,
        {{QStringLiteral("cardiac output (left scale)"), QPen(kRed, 2.6), Marker::Circle, kRed},
         {QStringLiteral("EDV (right scale)"), QPen(kPurple, 2.2, Qt::DashLine), Marker::Square,
          kPurple}});
}

namespace {

std::vector<QPointF> litres(const std::vector<CurvePoint>& curve) {
    std::vector<QPointF> out;
    out.reserve(curve.size());
    for (const CurvePoint& c : curve) out.emplace_back(c.x, c.y / 1000);
    return out;
}

constexpr double kReturnFrom = -4, kReturnTo = 10;

// One state's two curves as the live diagram draws them, the heart's curve continued with the
// same function to the right edge of the chart, its crossing and its Pmsf marked on the axis.
void drawGuyton(QPainter& p, const Chart& c, const ModelState& s, const GuytonDiagram& d,
                const QPen& venous, const QPen& heart) {
    std::vector<QPointF> output = litres(d.cardiacFunction);
    for (double pra = d.praTo + 0.25; pra <= kReturnTo; pra += 0.25)
        output.emplace_back(pra, cardiacFunction(s, pra) / 1000);
    c.line(output, heart);
    c.line(litres(d.venousReturn), venous);
    const QPointF pmsf = c.at(d.pmsf, 0);
    dot(p, pmsf, venous.color(), 4.5);
    text(p, pmsf + QPointF(5, -5), QStringLiteral("Pmsf %1").arg(number(d.pmsf, 2)),
         Qt::AlignLeft | Qt::AlignBottom, kSmall, venous.color(), true);
    if (!d.crossing.found) return;
    const QPointF at = c.at(d.crossing.pra, d.crossing.flow / 1000);
    dot(p, at, kInk, 6);
}

// The crossing's values beside it, in the gap between the rising and the falling curve: to
// its left (`left`) or to its right.
void labelCrossing(QPainter& p, const Chart& c, const QString& name, const GuytonDiagram& d,
                   bool left) {
    if (!d.crossing.found) return;
    text(p, c.at(d.crossing.pra, d.crossing.flow / 1000) + QPointF(left ? -26 : 26, 0),
         QStringLiteral("%1\n%2 L/min, Pra %3 mmHg")
             .arg(name, number(d.crossing.flow / 1000, 2), number(d.crossing.pra, 2)),
         (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, kSmall, kInk, true);
}

}  // namespace

void paintReturnAndOutput(QPainter& p, const QRectF& target) {
    const ReturnDiagrams r = returnDiagrams();
    const GuytonDiagram &n = r.normalDiagram, &h = r.changedDiagram;
    const Canvas canvas(p, target, drawingSize(2));
    const Chart c(p, kChartArea, Scale{kReturnFrom, kReturnTo, 2}, Scale{0, 12, 2});
    c.drawAxes(QStringLiteral("Right atrial pressure, Pra (mmHg)"),
               QStringLiteral("Venous return, cardiac output (L/min)"), kInk);

    const QPen normalReturn(kBlue, 2.4), normalHeart(kRed, 2.8);
    const QPen bledReturn(kGreen, 2.4), bledHeart(kOrange, 2.4, Qt::DashLine);
    drawGuyton(p, c, r.changed, h, bledReturn, bledHeart);
    drawGuyton(p, c, r.normal, n, normalReturn, normalHeart);
    labelCrossing(p, c, QStringLiteral("normal"), n, true);
    labelCrossing(p, c, QStringLiteral("after the hemorrhage"), h, false);
    note(p, QPointF(c.area().right() - 8, c.py(7.3)),
         QStringLiteral("venous return = (Pmsf − Pra) / RVR\nPmsf: mean systemic filling "
                        "pressure\nRVR: resistance to venous return,\n%1 mmHg·min/L\n"
                        "Each heart's curve holds the\narterial pressure of its state,\n%2 "
                        "and %3 mmHg")
             .arg(number(n.rvr * 1000, 2), number(n.afterload, 1), number(h.afterload, 1)),
         Qt::AlignRight | Qt::AlignTop);
    drawLegend(p, QPointF(c.area().left() + 8, c.area().top() + 8), Qt::AlignLeft | Qt::AlignTop,
               {{QStringLiteral("cardiac function, normal"), normalHeart},
                {QStringLiteral("venous return, normal"), normalReturn},
                {QStringLiteral("cardiac function after a %1 ml hemorrhage")
                     .arg(number(-kReturnFigureChange, 0)),
                 bledHeart},
                {QStringLiteral("venous return after the hemorrhage"), bledReturn}});
}

}  // namespace vasora::figures
