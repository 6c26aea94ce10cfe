// What sets cardiac output: the filling of the ventricle (651), its contractility (652), and
// the meeting of venous return and cardiac output (002, for the lab book). Every point is the
// model at equilibrium after a change made through the model window's change logic.

#include <QPainter>
#include <algorithm>

#include "figures/Canvas.h"
#include "figures/FigureData.h"
#include "figures/FigurePainters.h"
#include "figures/Figures.h"
#include "figures/ModelRuns.h"
#include "figures/Plot.h"
#include "figures/Style.h"
#include "figures/VesselPhysics.h"
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
    const Canvas canvas(p, target, logicalSize(651));
    const Chart c(p, kChartArea, Scale{40, 200, 20}, Scale{0, 10, 1});
    p.fillRect(QRectF(QPointF(c.px(kStiffVentricleVolume), c.area().top()), c.area().bottomRight()),
               QColor(252, 238, 230));
    c.drawAxes(QStringLiteral("Left-ventricular end-diastolic volume, EDV (ml)"),
               QStringLiteral("Cardiac output (L/min)"), kRed);
    text(p, QPointF(c.px(kStiffVentricleVolume) + 6, c.py(6)),
         QStringLiteral("ventricle\n3× stiffer"), Qt::AlignLeft | Qt::AlignVCenter, kSmall,
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
    const Canvas canvas(p, target, logicalSize(652));
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

void paintReturnAndOutput(QPainter& p, const QRectF& target) {
    const ReturnCurves r = returnCurves();
    const Canvas canvas(p, target, logicalSize(2));
    const Chart c(p, kChartArea, Scale{kReturnLinesFrom, 18, 2}, Scale{0, 14, 2});
    c.drawAxes(QStringLiteral("Right atrial pressure (mmHg)"), QStringLiteral("Flow (L/min)"),
               kInk);

    std::vector<QPointF> output;
    for (const auto& [pra, co] : r.output) output.emplace_back(pra, co / 1000);
    const QPen outputPen(kRed, 2.8), normalPen(kBlue, 2.4), changedPen(kGreen, 2.4);
    c.line(output, outputPen);

    for (const auto& [s, pen] :
         {std::pair{&r.normal, normalPen}, std::pair{&r.changed, changedPen}}) {
        const double pms = systemicFillingPressure(*s);
        c.line({{kReturnLinesFrom, venousReturn(*s, kReturnLinesFrom) / 1000}, {pms, 0}}, pen);
        dot(p, c.at(pms, 0), pen.color(), 4.5);
        text(p, c.at(pms, 0) + QPointF(6, -6), QStringLiteral("Pmsf %1").arg(number(pms, 1)),
             Qt::AlignLeft | Qt::AlignBottom, kSmall, pen.color(), true);
    }
    const QPointF eqNormal = c.at(rightAtrialPressure(r.normal), r.normal.Flow[LeftV] / 1000);
    const QPointF eqChanged = c.at(rightAtrialPressure(r.changed), r.changed.Flow[LeftV] / 1000);
    dot(p, eqNormal, kInk, 6);
    dot(p, eqChanged, kInk, 6);
    text(p, eqNormal + QPointF(24, 0),
         QStringLiteral("normal\n%1 L/min, %2 mmHg")
             .arg(number(r.normal.Flow[LeftV] / 1000, 2), number(rightAtrialPressure(r.normal), 1)),
         Qt::AlignLeft | Qt::AlignVCenter, kSmall, kInk, true);
    text(p, eqChanged + QPointF(-10, 8),
         QStringLiteral("after the\nhemorrhage\n%1 L/min\n%2 mmHg")
             .arg(number(r.changed.Flow[LeftV] / 1000, 2),
                  number(rightAtrialPressure(r.changed), 1)),
         Qt::AlignRight | Qt::AlignTop, kSmall, kInk, true);
    note(p, QPointF(c.area().right() - 8, c.py(5.2)),
         QStringLiteral("venous return = (Pmsf − Pra) / RVR\nPmsf: mean systemic filling\n"
                        "pressure; RVR: resistance to\nvenous return, %1 mmHg·min/L.\nWhere "
                        "the lines cross, the\nmodel is at equilibrium.")
             .arg(number(resistanceToVenousReturn(r.normal) * 1000, 2)),
         Qt::AlignRight | Qt::AlignVCenter);
    drawLegend(p, QPointF(c.px(-2), c.area().top() + 8), Qt::AlignLeft | Qt::AlignTop,
               {{QStringLiteral("cardiac output (the model at equilibrium)"), outputPen},
                {QStringLiteral("venous return, normal"), normalPen},
                {QStringLiteral("venous return after a %1 ml hemorrhage")
                     .arg(number(-kReturnFigureChange, 0)),
                 changedPen}});
}

}  // namespace vasora::figures
