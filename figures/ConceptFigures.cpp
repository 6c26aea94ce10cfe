// The two concept diagrams: resistance against capacitance vessels (621), drawn to the model's
// normal pressures and volumes, and the overview of the concepts (699), which the concepts
// window also paints as itself.

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigurePainters.h"
#include "figures/Figures.h"
#include "figures/ModelRuns.h"
#include "figures/Plot.h"
#include "figures/Style.h"
#include "model/Derived.h"

namespace vasora::figures {

using namespace style;
using namespace vasora::model;

namespace {

// A vessel segment seen from the side: a wall of `wall` around a lumen, centred on y.
void vessel(QPainter& p, double x0, double x1, double y, double outer, double wall,
            const QColor& blood, const QColor& wallColour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(wallColour);
    p.drawRoundedRect(QRectF(x0, y - outer, x1 - x0, 2 * outer), 3, 3);
    p.setBrush(blood);
    p.drawRect(QRectF(x0, y - outer + wall, x1 - x0, 2 * (outer - wall)));
    p.restore();
}

// A tapering join between two segments of different size.
void taper(QPainter& p, double x0, double x1, double y, double h0, double h1,
           const QColor& colour) {
    QPainterPath path;
    path.moveTo(x0, y - h0);
    path.lineTo(x1, y - h1);
    path.lineTo(x1, y + h1);
    path.lineTo(x0, y + h0);
    path.closeSubpath();
    p.fillPath(path, colour);
}

}  // namespace

void paintResistanceCapacitance(QPainter& p, const QRectF& target) {
    const ModelState n = normalCirculation();
    const Canvas canvas(p, target, drawingSize(621));

    // The segments along the systemic circulation, left to right.
    const double xArt0 = 84, xArt1 = 196, xRes1 = 300, xVein0 = 334, xVein1 = 560, xHeart = 640;
    const double yTube = 100;
    const QColor artWall(206, 120, 120), veinWall(132, 150, 200);
    const QColor artBlood(240, 170, 170), veinBlood(190, 205, 245);
    text(p, QPointF((xArt1 + xRes1) / 2 + 6, 30), QStringLiteral("RESISTANCE\nvessels"),
         Qt::AlignCenter, kHeading, kRed, true);
    text(p, QPointF((xVein0 + xVein1) / 2, 30), QStringLiteral("CAPACITANCE\nvessels"),
         Qt::AlignCenter, kHeading, kBlue, true);
    arrow(p, QPointF(xArt0 + 10, 56), QPointF(xArt0 + 80, 56), kMuted, 1.4, 8);
    text(p, QPointF(xArt0 + 86, 56), QStringLiteral("flow"), Qt::AlignLeft | Qt::AlignVCenter,
         kSmall, kMuted, false, true);
    vessel(p, xArt0, xArt1, yTube, 17, 6, artBlood, artWall);
    taper(p, xArt1, xArt1 + 14, yTube, 17, 6, artWall);
    vessel(p, xArt1 + 14, xRes1, yTube, 6, 3.5, artBlood, artWall);
    taper(p, xRes1, xVein0, yTube, 6, 28, QColor(170, 150, 190));
    vessel(p, xVein0, xVein1, yTube, 28, 2, veinBlood, veinWall);
    box(p, QRectF(xVein1 + 6, yTube - 30, xHeart - xVein1 - 6, 60), kVenousFill, kMuscle, 2.4, 8);
    text(p, QPointF((xVein1 + xHeart) / 2 + 3, yTube), QStringLiteral("right\nheart"),
         Qt::AlignCenter, kSmall, kInk, true);
    const double yName = yTube + 36;
    text(p, QPointF((xArt0 + xArt1) / 2, yName), QStringLiteral("arteries\nthick, stiff wall"),
         Qt::AlignHCenter | Qt::AlignTop, kSmall);
    text(p, QPointF((xArt1 + xRes1) / 2 + 6, yName),
         QStringLiteral("arterioles\nnarrow: high resistance"), Qt::AlignHCenter | Qt::AlignTop,
         kSmall);
    text(p, QPointF((xVein0 + xVein1) / 2, yName),
         QStringLiteral("veins: wide, thin wall, compliant"), Qt::AlignHCenter | Qt::AlignTop,
         kSmall);

    // Pressure along the way: the model's arterial, venous and right atrial pressures.
    // No ticks along the way: the segments above are its scale.
    const Chart c(p, QRectF(xArt0, 196, xHeart - xArt0, 120), Scale{xArt0, xHeart, 0},
                  Scale{0, 120, 40});
    c.drawAxes(QString(), QStringLiteral("Pressure (mmHg)"), kInk);
    const double psa = n.Press[SysA], psv = n.Press[SysV], pra = rightAtrialPressure(n);
    c.line({{xArt0, psa}, {xArt1, psa}, {xVein0, psv}, {xVein1, psv}, {xHeart, pra}},
           QPen(kRed, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    text(p, c.at((xArt0 + xArt1) / 2, psa) + QPointF(0, -4), number(psa, 1),
         Qt::AlignHCenter | Qt::AlignBottom, kSmall, kRed, true);
    text(p, c.at((xVein0 + xVein1) / 2, psv) + QPointF(0, -4), number(psv, 1),
         Qt::AlignHCenter | Qt::AlignBottom, kSmall, kRed, true);
    text(p, c.at(xHeart, pra) + QPointF(-4, -4), number(pra, 1), Qt::AlignRight | Qt::AlignBottom,
         kSmall, kRed, true);
    note(p, c.at((xArt1 + xVein0) / 2 + 18, 70),
         QStringLiteral("%1 mmHg lost across the arterioles\nflow = ΔP / R = %1 / %2\n= %3 ml/min")
             .arg(number(psa - psv, 1), number(n.Resis[SysA], 4), number(n.Flow[SysA], 0)),
         Qt::AlignLeft | Qt::AlignVCenter, kSmall + 0.5, kInk, kRed);

    // What each holds: the whole volume of arteries and veins, as bars on one scale.
    const double total = totalBloodVolume(n);
    const double vArt = compartmentVolume(n, SysA), vVein = compartmentVolume(n, SysV);
    const double base = 448, perMl = 96 / vVein;
    text(p, QPointF(xArt0 - 14, base - 48), QStringLiteral("Blood\nheld"),
         Qt::AlignRight | Qt::AlignVCenter, kAxisTitle, kInk);
    p.setPen(QPen(kInk, 1.2));
    p.drawLine(QPointF(xArt0 - 6, base), QPointF(xHeart, base));
    struct Bar {
        double x0, x1, volume, compliance;
        QColor fill;
    };
    for (const Bar& b : {Bar{xArt0 + 10, xArt1 - 10, vArt, n.Comp[SysA], artBlood},
                         Bar{xVein0 + 20, xVein1 - 20, vVein, n.Comp[SysV], veinBlood}}) {
        const QRectF r(QPointF(b.x0, base - b.volume * perMl), QPointF(b.x1, base));
        p.fillRect(r, b.fill);
        p.setPen(QPen(kMuted, 1));
        p.drawRect(r);
        text(p, QPointF(r.center().x(), r.top() - 4),
             QStringLiteral("%1 ml, %2 % of the blood\ncompliance %3 ml/mmHg")
                 .arg(number(b.volume, 0), number(100 * b.volume / total, 0),
                      number(b.compliance, 0)),
             Qt::AlignHCenter | Qt::AlignBottom, kSmall, kInk);
    }
}

namespace {

struct Node {
    QRectF r;
    QString text;
    bool parameter;  ///< a learner changes it in the model window
    bool result;     ///< one of the values the circulation is judged by
};

// Where the line from the centre of `r` towards `to` leaves the rectangle.
QPointF edgeToward(const QRectF& r, QPointF to) {
    const QPointF c = r.center();
    const QPointF d = to - c;
    const double sx = d.x() == 0 ? 1e9 : (r.width() / 2) / std::fabs(d.x());
    const double sy = d.y() == 0 ? 1e9 : (r.height() / 2) / std::fabs(d.y());
    return c + d * std::min(sx, sy);
}

void link(QPainter& p, const Node& a, const Node& b, const QColor& colour, QPointF shift = {}) {
    const QPointF from = edgeToward(a.r, b.r.center() + shift) + shift;
    const QPointF to = edgeToward(b.r, a.r.center() + shift) + shift;
    arrow(p, from, to, colour, 1.5, 9);
}

// An arrow that leaves `from` downward, runs across at `y` and enters `to` from below.
void elbowArrow(QPainter& p, QPointF from, double y, QPointF to, const QColor& colour) {
    QPainterPath path(from);
    path.lineTo(from.x(), y);
    path.lineTo(to.x(), y);
    path.lineTo(to.x(), to.y() + 8);
    p.save();
    p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
    arrow(p, QPointF(to.x(), to.y() + 9), to, colour, 1.5, 9);
}

// The concept diagram's grid: three columns of boxes, six rows; and its boxes.
namespace grid {
constexpr double h = 52, wA = 176, wB = 200, wC = 220;
constexpr double xA = 18, xB = 268, xC = 522;
constexpr double row(int i) {
    return 20.0 + 88.0 * i;
}
constexpr double gapAB = (xA + wA + xB) / 2, gapBC = (xB + wB + xC) / 2;

enum { BV, Tone, Unstr, Strs, Comp, Pmsf, Rvr, Vr, Pra, Pit, Heart, Fill, Co, Rart, Pa, kNodes };

}  // namespace grid

using ConceptNodes = std::array<Node, grid::kNodes>;

ConceptNodes conceptNodes() {
    using namespace grid;
    // clang-format off
    return {{
        {{xA, row(1), wA, h}, QStringLiteral("Total blood volume\ntransfusion, hemorrhage"), true, false},
        {{xA, row(0), wA, h}, QStringLiteral("Venous tone\nconstriction, dilation"), true, false},
        {{xB, row(0), wB, h}, QStringLiteral("Unstressed volume\nfills, does not stretch"), false, false},
        {{xB, row(1), wB, h}, QStringLiteral("Stressed volume\nstretches the walls"), false, false},
        {{xA, row(2), wA, h}, QStringLiteral("Compliances\nof the systemic vessels"), true, false},
        {{xB, row(2), wB, h}, QStringLiteral("Mean systemic filling\npressure Pmsf"), false, false},
        {{xC, row(1), wC, h}, QStringLiteral("Resistance to venous return:\nmostly venous resistance"), true, false},
        {{xC, row(2), wC, h}, QStringLiteral("Venous return\n(Pmsf − Pra) / RVR"), false, true},
        {{xB, row(3), wB, h}, QStringLiteral("Right atrial pressure\nPra"), false, false},
        {{xA, row(3), wA, h}, QStringLiteral("Intrathoracic pressure\nPit"), true, false},
        {{xA, row(4), wA, h}, QStringLiteral("Heart: rate HR,\ncontractility Emax"), true, false},
        {{xB, row(4), wB, h}, QStringLiteral("Filling of the ventricles\nEDV, Frank-Starling"), false, false},
        {{xC, row(4), wC, h}, QStringLiteral("Cardiac output\nHR × stroke volume"), false, true},
        {{xA, row(5), wA, h}, QStringLiteral("Arterial resistance\n(arterioles)"), true, false},
        {{xC, row(5), wC, h}, QStringLiteral("Arterial pressure\ncardiac output × resistance"), false, true},
    }};
    // clang-format on
}

void smallLabel(QPainter& p, QPointF at, const QString& t) {
    text(p, at, t, Qt::AlignCenter, kSmall - 0.5, kMuted, false, true);
}

// How each quantity acts on the next, with the words along the arrows.
void drawLinks(QPainter& p, const ConceptNodes& nodes) {
    using namespace grid;
    auto label = [&p](QPointF at, const QString& t) { smallLabel(p, at, t); };
    const QColor ink = kInk;
    // Venous tone sets the unstressed volume; a transfusion or a hemorrhage changes the stressed
    // volume alone. What the unstressed volume gives up the stressed volume gains, and back:
    // with a change of tone, or when the model's veins collapse (it recruits unstressed volume).
    link(p, nodes[Tone], nodes[Unstr], ink);
    label(QPointF(gapAB, row(0) + h / 2 - 10), QStringLiteral("sets"));
    link(p, nodes[BV], nodes[Strs], ink);
    label(QPointF(gapAB, row(1) + h / 2 - 10), QStringLiteral("adds, takes"));
    {
        const double x = xB + 40;
        const QPointF top(x, row(0) + h + 1), bottom(x, row(1) - 1);
        arrow(p, (top + bottom) / 2, top, ink, 1.5, 8);
        arrow(p, (top + bottom) / 2, bottom, ink, 1.5, 8);
        text(p, QPointF(x + 10, (top.y() + bottom.y()) / 2),
             QStringLiteral("moved by venous tone, and by\nthe model's vein collapse"),
             Qt::AlignLeft | Qt::AlignVCenter, kSmall - 0.5, kMuted, false, true);
    }
    link(p, nodes[Strs], nodes[Pmsf], ink);
    link(p, nodes[Comp], nodes[Pmsf], ink);
    link(p, nodes[Pmsf], nodes[Vr], ink);
    label(QPointF(gapBC, row(2) + h / 2 - 10), QStringLiteral("drives"));
    link(p, nodes[Rvr], nodes[Vr], ink);
    link(p, nodes[Pra], nodes[Vr], ink);
    label(QPointF(gapBC + 8, row(3) + 10), QStringLiteral("opposes"));
    link(p, nodes[Pit], nodes[Pra], ink);
    link(p, nodes[Pra], nodes[Fill], ink, QPointF(-40, 0));
    label(QPointF(xB + wB / 2 - 14, row(4) - 18), QStringLiteral("fills"));
    link(p, nodes[Heart], nodes[Fill], ink);
    label(QPointF(gapAB, row(4) - 16), QStringLiteral("fast rates\ncut filling"));
    link(p, nodes[Fill], nodes[Co], ink);
    label(QPointF(gapBC, row(4) + h / 2 - 16), QStringLiteral("stroke\nvolume"));
    // The heart's rate and strength act on the output directly, under the filling.
    const double under = row(4) + h + 16;
    elbowArrow(p, QPointF(xA + wA / 2, row(4) + h), under, QPointF(xC + 40, row(4) + h), ink);
    label(QPointF(xB + wB / 2, under - 8), QStringLiteral("rate × stroke volume; Emax sets ESV"));
    link(p, nodes[Rart], nodes[Pa], ink);
    label(QPointF(xB + wB / 2, row(5) + h / 2 - 10), QStringLiteral("× cardiac output"));
}

// The two ways between output and pressure, and the balance of return and output.
void drawAfterloadAndBalance(QPainter& p) {
    using namespace grid;
    const QColor ink = kInk;
    // Down: output makes the pressure; up: the pressure is what the ventricle ejects against.
    const double down = xC + wC / 2 - 30, up = xC + wC / 2 + 30;
    arrow(p, QPointF(down, row(4) + h), QPointF(down, row(5)), ink, 1.5, 9);
    {
        p.save();
        p.setPen(QPen(kPurple, 1.5, Qt::DashLine));
        p.drawLine(QPointF(up, row(5)), QPointF(up, row(4) + h + 9));
        p.restore();
        arrow(p, QPointF(up, row(4) + h + 10), QPointF(up, row(4) + h), kPurple, 1.5, 9);
        text(p, QPointF(up + 8, row(5) - 18), QStringLiteral("afterload"),
             Qt::AlignLeft | Qt::AlignVCenter, kSmall - 0.5, kPurple, false, true);
    }
    // Venous return and cardiac output: equal once the circulation has settled.
    {
        const double x = xC + wC / 2;
        const QPointF top(x, row(2) + h + 2), bottom(x, row(4) - 2);
        arrow(p, (top + bottom) / 2, top, kGreen, 2.2, 10);
        arrow(p, (top + bottom) / 2, bottom, kGreen, 2.2, 10);
        text(p, QPointF(x + 10, (top.y() + bottom.y()) / 2),
             QStringLiteral("equal at\nequilibrium:\nthe six flows\nagree"),
             Qt::AlignLeft | Qt::AlignVCenter, kSmall, kGreen, true);
    }
}

void drawKey(QPainter& p) {
    using namespace grid;
    // The key, where the diagram leaves room: top right.
    const double kx = xC + 6, k1 = row(0) + 14, k2 = row(0) + 40;
    box(p, QRectF(kx, k1 - 8, 24, 16), kChangeableFill, kMuted, 1.2, 3);
    text(p, QPointF(kx + 32, k1), QStringLiteral("you change it in the model"),
         Qt::AlignLeft | Qt::AlignVCenter, kSmall);
    box(p, QRectF(kx, k2 - 8, 24, 16), Qt::white, kRed, 2.2, 3);
    text(p, QPointF(kx + 32, k2), QStringLiteral("what the circulation delivers"),
         Qt::AlignLeft | Qt::AlignVCenter, kSmall);
}

}  // namespace

void paintConcepts(QPainter& p, const QRectF& target) {
    const Canvas canvas(p, target, drawingSize(699));
    const ConceptNodes nodes = conceptNodes();
    drawLinks(p, nodes);
    drawAfterloadAndBalance(p);
    for (const Node& nd : nodes) {
        box(p, nd.r, nd.parameter ? kChangeableFill : QColor(Qt::white), nd.result ? kRed : kMuted,
            nd.result ? 2.2 : 1.2, 7);
        text(p, nd.r.center(), nd.text, Qt::AlignCenter, kSmall + 0.5, kInk, nd.result);
    }
    drawKey(p);
}

}  // namespace vasora::figures
