// The heart's figures: Frank-Starling (642), filling time against heart rate (644), stroke
// volume and cardiac output against heart rate (645, 646), the left ventricle's pressure-volume
// loop (649) and both ventricles' loops (653), drawn by model/Curves.h as the live diagram is.
// Every number comes from the engine or from its own formulas (model/Derived.h).

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

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

std::vector<QPointF> settledPoints(const std::vector<Settled>& series,
                                   double (*x)(const ModelState&), double (*y)(const ModelState&)) {
    std::vector<QPointF> out;
    for (const Settled& s : series)
        if (s.applied && s.settled) out.emplace_back(x(s.s), y(s.s));
    return out;
}

double edv(const ModelState& s) {
    return s.Vstrs[LeftV];
}
double strokeVolume(const ModelState& s) {
    return s.SV_LV;
}
double outputLitres(const ModelState& s) {
    return s.Flow[LeftV] / 1000;
}
double heartRate(const ModelState& s) {
    return s.HrtRate;
}

QString litres(double mlPerMin) {
    return number(mlPerMin / 1000, 1) + QStringLiteral(" L/min");
}

}  // namespace

void paintFrankStarling(QPainter& p, const QRectF& target) {
    const std::vector<Settled> series = bloodVolumeSeries();
    const ModelState n = normalCirculation();
    const Canvas canvas(p, target, drawingSize(642));
    Chart c(p, kChartAreaTwoScales, Scale{40, 200, 20}, Scale{0, 150, 25});
    // At one heart rate cardiac output is stroke volume times the rate, so one curve serves
    // both scales: the right scale is the left one times the normal rate.
    const double factor = n.HrtRate / 1000;
    c.setRightScale(Scale{0, 150 * factor, 2});

    // Past the stiffening volume the ventricle fills three times less per mmHg.
    const double stiff = kStiffVentricleVolume;
    p.fillRect(QRectF(QPointF(c.px(stiff), c.area().top()), c.area().bottomRight()),
               QColor(252, 238, 230));
    c.drawAxes(QStringLiteral("Left-ventricular end-diastolic volume, EDV (ml)"),
               QStringLiteral("Stroke volume (ml)"), kBlue,
               QStringLiteral("Cardiac output at %1 beats/min (L/min)").arg(number(n.HrtRate, 0)),
               kRed);
    text(p, QPointF(c.px(stiff) + 6, c.area().bottom() - 8),
         QStringLiteral("above %1 ml\nthe ventricle\nis 4× stiffer:\nEDV hardly\nrises")
             .arg(number(stiff, 0)),
         Qt::AlignLeft | Qt::AlignBottom, kSmall, kMuscle);

    const std::vector<QPointF> pts = settledPoints(series, edv, strokeVolume);
    c.line(pts, QPen(kBlue, 2.4));
    c.markers(pts, Marker::Circle, kBlue, false, 3.4);
    const QPointF normal = c.at(edv(n), strokeVolume(n));
    dot(p, normal, kRed, 6);
    note(p, normal + QPointF(14, 10),
         QStringLiteral("normal: EDV %1 ml, SV %2 ml,\ncardiac output %3")
             .arg(number(edv(n), 0), number(strokeVolume(n), 1), litres(n.Flow[LeftV])),
         Qt::AlignLeft | Qt::AlignTop);
    note(p, QPointF(c.area().left() + 10, c.area().top() + 10),
         QStringLiteral("Each point: the model at equilibrium after\na hemorrhage or transfusion "
                        "of %1 to +%2 ml.\nMore filling, a larger stroke volume: the\nventricle "
                        "still empties to its end-systolic line.")
             .arg(number(bloodVolumeChanges().front(), 0), number(bloodVolumeChanges().back(), 0)),
         Qt::AlignLeft | Qt::AlignTop);
}

void paintFillingTime(QPainter& p, const QRectF& target) {
    const std::vector<FillingPoint> f = fillingSeries();
    const double runsOut = fillingRunsOut();
    const Canvas canvas(p, target, drawingSize(644));
    Chart c(p, kChartAreaTwoScales, Scale{30, 300, 30}, Scale{-0.2, 2.6, 0.2});
    // Both zeros at the same height: the right scale spans half the left one.
    c.setRightScale(Scale{-0.1, 1.3, 0.1});

    p.fillRect(QRectF(QPointF(c.px(runsOut), c.area().top()), c.area().bottomRight()),
               QColor(252, 232, 228));
    c.drawAxes(QStringLiteral("Heart rate (beats/min)"), QStringLiteral("Time per beat (s)"), kInk,
               QStringLiteral("Filling completeness K2"), kGreen);
    c.hLine(0, QPen(kInk, 1));

    std::vector<QPointF> beat, systole, filling, k2;
    for (const FillingPoint& x : f) {
        beat.emplace_back(x.rate, x.beat);
        systole.emplace_back(x.rate, x.systole);
        filling.emplace_back(x.rate, x.filling);
        k2.emplace_back(x.rate, x.k2);
    }
    const QPen beatPen(kMuted, 1.6, Qt::DashLine), systolePen(kOrange, 2);
    const QPen fillingPen(kBlue, 2.6), k2Pen(kGreen, 2.6);
    c.line(beat, beatPen);
    c.line(systole, systolePen);
    c.line(filling, fillingPen);
    c.line(k2, k2Pen, true);

    c.vLine(runsOut, QPen(kRed, 1.2, Qt::DashLine));
    text(p, QPointF(c.px(runsOut) - 6, c.py(2.25)),
         QStringLiteral("no time left to fill at %1 beats/min").arg(number(runsOut, 1)),
         Qt::AlignRight | Qt::AlignVCenter, kSmall, kRed, true);

    const double normalRate = 72;
    const double fill72 = fillTime(normalRate) * 60;
    const QPointF at72 = c.at(normalRate, fill72);
    dot(p, at72, kBlue, 5);
    const QRectF n = note(p, c.at(96, 1.05),
                          QStringLiteral("72 beats/min: %1 s of %2 s\nare left to fill")
                              .arg(number(fill72, 2), number(60 / normalRate, 2)),
                          Qt::AlignLeft | Qt::AlignVCenter);
    p.setPen(QPen(kMuted, 1, Qt::DotLine));
    p.drawLine(at72 + QPointF(3, -3), QPointF(n.left(), n.bottom()));
    text(p, QPointF(c.px(168) - 6, c.py2(0.70)),
         QStringLiteral("K2 = 1 − exp(−Kfill × filling time)\nKfill = %1 per minute")
             .arg(number(normalCirculation().Kfill_RV, 0)),
         Qt::AlignRight | Qt::AlignVCenter, kSmall, kGreen);
    drawLegendRow(p, QPointF(c.area().left() + 200, c.area().top() + 14),
                  {{QStringLiteral("one beat"), beatPen},
                   {QStringLiteral("systole"), systolePen},
                   {QStringLiteral("filling time"), fillingPen},
                   {QStringLiteral("K2"), k2Pen}});
}

void paintRateStrokeVolume(QPainter& p, const QRectF& target) {
    const std::vector<Settled> series = heartRateSeries();
    const ModelState n = normalCirculation();
    const Canvas canvas(p, target, drawingSize(645));
    const Chart c(p, kChartArea, Scale{20, 250, 20}, Scale{0, 125, 25});
    c.drawAxes(QStringLiteral("Heart rate (beats/min)"), QStringLiteral("Stroke volume (ml)"),
               kBlue);
    const std::vector<QPointF> pts = settledPoints(series, heartRate, strokeVolume);
    c.line(pts, QPen(kBlue, 2.4));
    c.markers(pts, Marker::Circle, kBlue, false, 3.6);
    const QPointF normal = c.at(heartRate(n), strokeVolume(n));
    dot(p, normal, kRed, 6);
    note(p, normal + QPointF(12, -10),
         QStringLiteral("normal: 72 beats/min, SV %1 ml").arg(number(strokeVolume(n), 1)),
         Qt::AlignLeft | Qt::AlignBottom);
    note(p, QPointF(c.area().right() - 10, c.area().top() + 10),
         QStringLiteral("The faster the heart, the less each beat ejects:\nthe ventricles fill "
                        "less between beats, and\nabove about 150 beats/min filling is cut\n"
                        "short (K2 < 1)."),
         Qt::AlignRight | Qt::AlignTop);
    note(p, QPointF(c.area().left() + 10, c.area().bottom() - 10),
         QStringLiteral("Each point: the model at equilibrium\n(AutoRun) after the heart rate is\n"
                        "changed from normal."),
         Qt::AlignLeft | Qt::AlignBottom, kSmall + 0.5, kMuted);
}

void paintRateOutput(QPainter& p, const QRectF& target) {
    const std::vector<Settled> series = heartRateSeries();
    const Canvas canvas(p, target, drawingSize(646));
    Chart c(p, kChartAreaTwoScales, Scale{20, 250, 20}, Scale{0, 125, 25});
    c.setRightScale(Scale{0, 10, 2});
    c.drawAxes(QStringLiteral("Heart rate (beats/min)"), QStringLiteral("Stroke volume (ml)"),
               kBlue, QStringLiteral("Cardiac output (L/min)"), kRed);
    const std::vector<QPointF> sv = settledPoints(series, heartRate, strokeVolume);
    const std::vector<QPointF> co = settledPoints(series, heartRate, outputLitres);
    c.line(sv, QPen(kBlue, 2.4));
    c.markers(sv, Marker::Circle, kBlue, false, 3.4);
    c.line(co, QPen(kRed, 2.4), true);
    c.markers(co, Marker::Square, kRed, true, 3.4);

    const auto best =
        std::max_element(co.begin(), co.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    if (best != co.end()) {
        const QPointF at = c.at(best->x(), best->y(), true);
        note(p, at + QPointF(0, -12),
             QStringLiteral("largest output: %1 L/min at %2 beats/min")
                 .arg(number(best->y(), 2), number(best->x(), 0)),
             Qt::AlignHCenter | Qt::AlignBottom, kSmall + 0.5, kRed, kRed);
    }
    note(p, QPointF(c.area().left() + 10, c.area().bottom() - 10),
         QStringLiteral("CO = HR × SV: up to about 150 beats/min\nthe faster rate wins; beyond, "
                        "too little\ntime to fill makes SV fall faster."),
         Qt::AlignLeft | Qt::AlignBottom);
    drawLegend(
        p, QPointF(c.area().right() - 10, c.area().top() + 10), Qt::AlignRight | Qt::AlignTop,
        {{QStringLiteral("stroke volume (left scale)"), QPen(kBlue, 2.4), Marker::Circle, kBlue},
         {QStringLiteral("cardiac output (right scale)"), QPen(kRed, 2.4), Marker::Square, kRed}});
}

namespace {

// A loop's outline, closed and shaded where its stroke work lies.
void drawLoopOutline(QPainter& p, const Chart& c, const PressureVolumeLoop& l, double width) {
    QPainterPath loop;
    for (const CurvePoint& pt : l.outline)
        if (loop.elementCount() == 0)
            loop.moveTo(c.at(pt.x, pt.y));
        else
            loop.lineTo(c.at(pt.x, pt.y));
    loop.closeSubpath();
    p.setPen(QPen(kRed, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(250, 226, 224, 150));
    p.drawPath(loop);
}

}  // namespace

void paintPressureVolumeLoop(QPainter& p, const QRectF& target) {
    const PressureVolumeLoop l = normalLoop(LeftV);
    const std::vector<CurvePoint>& filling = l.diastolicRelation;
    const Canvas canvas(p, target, drawingSize(649));
    const Chart c(p, kChartArea, Scale{0, 200, 20}, Scale{-20, 160, 20});
    c.drawAxes(QStringLiteral("Left-ventricular volume (ml)"),
               QStringLiteral("Left-ventricular pressure (mmHg)"), kInk);
    c.hLine(0, QPen(kMuted, 1));

    // The end-systolic line and the diastolic curve bound every loop.
    const double topV = 160 / l.emax + l.vo + 5;
    c.line({{l.vo, 0}, {topV, l.emax * (topV - l.vo)}}, QPen(kPurple, 2));
    std::vector<QPointF> dia;
    for (const CurvePoint& pt : filling) dia.emplace_back(pt.x, pt.y);
    c.line(dia, QPen(kGreen, 2));

    // The loop as the live diagram draws it, anticlockwise from the end of diastole.
    drawLoopOutline(p, c, l, 2.8);

    const QPointF ed = c.at(l.edv, l.edp), open = c.at(l.edv, l.opening);
    const QPointF es = c.at(l.esv, l.esp), mitral = c.at(l.esv, l.relaxed);
    for (QPointF corner : {ed, open, es, mitral}) dot(p, corner, kRed, 4.5);
    note(p, ed + QPointF(10, -4),
         QStringLiteral("end of diastole: EDV %1 ml, %2 mmHg")
             .arg(number(l.edv, 1), number(l.edp, 1)),
         Qt::AlignLeft | Qt::AlignBottom);
    text(p, open + QPointF(8, 4),
         QStringLiteral("aortic valve opens\nat the diastolic pressure, %1 mmHg")
             .arg(number(l.opening, 0)),
         Qt::AlignLeft | Qt::AlignTop, kSmall, kInk);
    // Clear of the end-systolic line: the label starts just left of the peak.
    const QPointF peak = c.at(peakVolume(l), l.systolic);
    text(p, peak + QPointF(-24, -6),
         QStringLiteral("systolic pressure %1 mmHg").arg(number(l.systolic, 0)),
         Qt::AlignLeft | Qt::AlignBottom, kSmall, kInk);
    note(p, es + QPointF(10, 16),
         QStringLiteral("end of systole: ESV %1 ml\nat the mean arterial\npressure, %2 mmHg")
             .arg(number(l.esv, 1), number(l.esp, 1)),
         Qt::AlignLeft | Qt::AlignTop);

    // The stroke volume, the width of the loop.
    const double y = c.py(-12);
    dimension(p, QPointF(c.px(l.esv), y), QPointF(c.px(l.edv), y), kRed, 1.5);
    text(p, QPointF(c.px((l.esv + l.edv) / 2), y - 3),
         QStringLiteral("stroke volume %1 ml").arg(number(l.sv, 1)),
         Qt::AlignHCenter | Qt::AlignBottom, kText, kRed, true);

    text(p, c.at(160 / l.emax + l.vo, 152) + QPointF(8, 0),
         QStringLiteral("end-systolic line  P = Emax (V − Vo)\nEmax %1 mmHg/ml, Vo %2 ml")
             .arg(number(l.emax, 2), number(l.vo, 1)),
         Qt::AlignLeft | Qt::AlignVCenter, kSmall, kPurple);
    const CurvePoint& far = filling.back();
    text(p, c.at(far.x, far.y) + QPointF(-4, -8),
         QStringLiteral("diastolic filling curve\n(stiffer above 175 ml)"),
         Qt::AlignRight | Qt::AlignBottom, kSmall, kGreen);
}

namespace {

// One ventricle's loop in its own panel: the diastolic curve, the end-systolic line, the loop
// as the live diagram draws it, its stroke volume and stroke work.
void drawVentricleLoop(QPainter& p, const QRectF& area, const ModelState& n, int ventricle,
                       Scale pressure) {
    const PressureVolumeLoop l = pressureVolumeLoop(n, ventricle);
    const bool left = ventricle == LeftV;
    const QString name = left ? QStringLiteral("Left") : QStringLiteral("Right");
    const Chart c(p, area, Scale{0, 200, 40}, pressure);
    c.drawAxes(QStringLiteral("%1-ventricular volume (ml)").arg(name),
               QStringLiteral("%1-ventricular pressure (mmHg)").arg(name), kInk);
    c.hLine(0, QPen(kMuted, 1));
    std::vector<QPointF> dia;
    for (const CurvePoint& pt : l.diastolicRelation) dia.emplace_back(pt.x, pt.y);
    c.line(dia, QPen(kGreen, 2));
    // The end-systolic line, drawn on to the top of the panel.
    const double topV = pressure.hi / l.emax + l.vo;
    c.line({{l.vo, 0}, {topV, pressure.hi}}, QPen(kPurple, 2));
    drawLoopOutline(p, c, l, 2.6);
    for (QPointF corner :
         {c.at(l.edv, l.edp), c.at(l.edv, l.opening), c.at(l.esv, l.esp), c.at(l.esv, l.relaxed)})
        dot(p, corner, kRed, 4);
    text(p, QPointF(c.area().right() - 8, c.area().top() + 6),
         QStringLiteral("%1 ventricle\nEDV %2 ml, ESV %3 ml\nstroke volume %4 ml\n"
                        "Emax %5 mmHg/ml, Vo %6 ml\nstroke work %7 mJ")
             .arg(name, number(l.edv, 1), number(l.esv, 1), number(l.sv, 1),
                  number(l.emax, left ? 2 : 4), number(l.vo, 1),
                  number(strokeWorkMillijoules(l.strokeWork), 0)),
         Qt::AlignRight | Qt::AlignTop, kSmall, kInk);
}

}  // namespace

void paintVentricleLoops(QPainter& p, const QRectF& target) {
    const ModelState n = normalCirculation();
    const Canvas canvas(p, target, drawingSize(653));
    drawVentricleLoop(p, QRectF(72, 22, 276, 346), n, RghtV, Scale{-10, 30, 5});
    drawVentricleLoop(p, QRectF(452, 22, 276, 346), n, LeftV, Scale{-20, 160, 20});
    drawLegendRow(p, QPointF(400, 440),
                  {{QStringLiteral("loop"), QPen(kRed, 2.6)},
                   {QStringLiteral("end-systolic line P = Emax (V − Vo)"), QPen(kPurple, 2)},
                   {QStringLiteral("diastolic curve (stiffer above 175 ml)"), QPen(kGreen, 2)}});
}

}  // namespace vasora::figures
