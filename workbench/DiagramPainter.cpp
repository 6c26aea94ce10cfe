#include "workbench/DiagramPainter.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStaticText>
#include <algorithm>
#include <cmath>

#include "workbench/DiagramStyle.h"

namespace vasora::workbench::diagram {

using model::CurvePoint;
using model::DiagramData;

namespace {

const QColor kAxis = kLine;
const QColor kPale(150, 150, 160, 150);

// A panel's plot area and the two axes mapped onto it.
struct Frame {
    QRectF plot;
    Axis x, y;
    QPointF at(double vx, double vy) const {
        return {plot.left() + (vx - x.from) / (x.to - x.from) * plot.width(),
                plot.bottom() - (vy - y.from) / (y.to - y.from) * plot.height()};
    }
};

struct LegendEntry {
    QString text;
    QPen pen;
    enum Kind { Line, Dot, Area, Ring } kind = Line;
    QColor fill = Qt::transparent;
};

// Text in a rectangle, placed by `align`, from a layout kept between paints: the panels repaint
// up to 30 times a second with mostly the same words and numbers, and laying a text out afresh
// each time costs more than drawing the curves.
void drawLabel(QPainter& p, const QRectF& r, int align, const QString& text) {
    static QHash<QString, QStaticText> laidOut;
    const QString key = p.font().key() + QChar(u'\n') + text;
    auto it = laidOut.find(key);
    if (it == laidOut.end()) {
        if (laidOut.size() > 500) laidOut.clear();
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.prepare(QTransform(), p.font());
        it = laidOut.insert(key, st);
    }
    const QSizeF size = it->size();
    const qreal x = (align & Qt::AlignRight)     ? r.right() - size.width()
                    : (align & Qt::AlignHCenter) ? r.center().x() - size.width() / 2
                                                 : r.left();
    const qreal y = (align & Qt::AlignBottom)    ? r.bottom() - size.height()
                    : (align & Qt::AlignVCenter) ? r.center().y() - size.height() / 2
                                                 : r.top();
    p.drawStaticText(QPointF(x, y), *it);
}

QFont panelFont(const QPainter& p, const QRectF& r) {
    QFont f = p.font();
    f.setPixelSize(std::clamp(int(std::min(r.height() / 24, r.width() / 32)), 10, 14));
    return f;
}

QString tickText(double v, double step) {
    const int decimals = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
    if (std::fabs(v) < step * 1e-6) v = 0;
    return QString::number(v, 'f', decimals);
}

void drawSample(QPainter& p, const LegendEntry& e, const QRectF& at) {
    const QPointF mid(at.left(), at.center().y());
    switch (e.kind) {
        case LegendEntry::Line:
            p.setPen(e.pen);
            p.drawLine(mid, mid + QPointF(at.width(), 0));
            break;
        case LegendEntry::Dot:
            p.setPen(Qt::NoPen);
            p.setBrush(e.pen.color());
            p.drawEllipse(mid + QPointF(at.width() / 2, 0), 3, 3);
            break;
        case LegendEntry::Ring:
            p.setPen(e.pen);
            p.setBrush(e.fill);
            p.drawEllipse(mid + QPointF(at.width() / 2, 0), 4.5, 4.5);
            break;
        case LegendEntry::Area:
            p.setPen(e.pen);
            p.setBrush(e.fill);
            p.drawRect(QRectF(at.left(), at.top() + 2, at.width(), at.height() - 4));
            break;
    }
    p.setBrush(Qt::NoBrush);
}

// The parts of a panel's header: the title and the legend stay from frame to frame, the lines
// of numbers below them change.
enum class HeaderPart { Nothing, TitleAndLegend, Lines };

// The title, the legend flowing in rows and the lines of text, from the top of `r`: the part
// asked for is drawn, the whole laid out; returns the height the whole takes.
qreal drawHeader(QPainter& p, const QRectF& r, const QString& title,
                 const std::vector<LegendEntry>& entries, const QStringList& lines,
                 HeaderPart part) {
    const QFontMetricsF fm(p.font());
    const qreal line = fm.height() + 2, sample = fm.height() * 1.8;
    const bool still = part == HeaderPart::TitleAndLegend;
    if (still) {
        QFont bold = p.font();
        bold.setBold(true);
        p.save();
        p.setFont(bold);
        p.setPen(Qt::black);
        drawLabel(p, QRectF(r.left() + 4, r.top() + 2, r.width() - 8, line), Qt::AlignLeft, title);
        p.restore();
    }
    qreal x = r.left() + 4, y = r.top() + 2 + line;
    for (const LegendEntry& e : entries) {
        const qreal w = sample + 4 + fm.horizontalAdvance(e.text) + 12;
        if (x > r.left() + 4 && x + w > r.right()) {
            x = r.left() + 4;
            y += line;
        }
        if (still) {
            drawSample(p, e, QRectF(x, y, sample, line));
            p.setPen(Qt::black);
            drawLabel(p, QRectF(x + sample + 4, y, w, line), Qt::AlignLeft | Qt::AlignVCenter,
                      e.text);
        }
        x += w;
    }
    y += line;
    p.setPen(Qt::black);
    for (const QString& t : lines) {
        if (part == HeaderPart::Lines)
            drawLabel(p, QRectF(r.left() + 4, y, r.width() - 8, line),
                      Qt::AlignLeft | Qt::AlignVCenter, t);
        y += line;
    }
    return y - r.top() + 2;
}

// What a panel draws alike from one frame to the next, its title, legend and axes, is kept as
// an image for as long as the panel's size, the legend and the axes stay, so that a frame draws
// only what moved. A few are kept per panel: a change goes back and forth between the frames
// of its transient and of its equilibrium. A painter that scales (a print) draws afresh.
struct Backdrop {
    QString key;
    QImage image;
};

template <class Draw>
void drawBackdrop(QPainter& p, const QRectF& r, std::vector<Backdrop>& kept, QString key,
                  Draw draw) {
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    if (p.transform().type() > QTransform::TxTranslate || dpr <= 0) {
        draw(p);
        return;
    }
    key += QStringLiteral("|%1|%2,%3,%4,%5|")
               .arg(dpr)
               .arg(r.x())
               .arg(r.y())
               .arg(r.width())
               .arg(r.height()) +
           p.font().key();
    auto it =
        std::find_if(kept.begin(), kept.end(), [&](const Backdrop& b) { return b.key == key; });
    if (it == kept.end()) {
        QImage image((r.size() * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::white);
        QPainter q(&image);
        q.setRenderHints(p.renderHints());
        q.setFont(p.font());
        q.translate(-r.topLeft());
        draw(q);
        q.end();
        if (kept.size() >= 4) kept.erase(kept.begin());
        kept.push_back({key, std::move(image)});
        it = kept.end() - 1;
    }
    p.drawImage(r.topLeft(), it->image);
}

QString axisKey(const Frame& f) {
    return QStringLiteral("%1,%2,%3;%4,%5,%6;%7,%8,%9,%10")
        .arg(f.x.from)
        .arg(f.x.to)
        .arg(f.x.step)
        .arg(f.y.from)
        .arg(f.y.to)
        .arg(f.y.step)
        .arg(f.plot.x())
        .arg(f.plot.y())
        .arg(f.plot.width())
        .arg(f.plot.height());
}

QString legendKey(const QString& title, const std::vector<LegendEntry>& legend, int lines) {
    QString key = title + QChar(u'|') + QString::number(lines);
    for (const LegendEntry& e : legend) key += QChar(u'|') + e.text;
    return key;
}

// The plot area left inside `area` once the tick labels and the captions have their room.
Frame layoutFrame(const QPainter& p, const QRectF& area, double xLo, double xHi, double yLo,
                  double yHi) {
    const QFontMetricsF fm(p.font());
    Frame f;
    f.y = niceAxis(yLo, yHi, std::max(3, int(area.height() / (3 * fm.height()))));
    qreal labelW = 0;
    for (double v = f.y.from; v <= f.y.to + f.y.step / 2; v += f.y.step)
        labelW = std::max(labelW, fm.horizontalAdvance(tickText(v, f.y.step)));
    const qreal left = fm.height() + 6 + labelW + 6;
    const qreal bottom = 2 * fm.height() + 10;
    f.plot = QRectF(area.left() + left, area.top() + fm.height() / 2,
                    std::max(10.0, area.width() - left - fm.height()),
                    std::max(10.0, area.height() - bottom - fm.height() / 2));
    const qreal widest = fm.horizontalAdvance(tickText(xHi, niceStep(xHi - xLo, 5))) + 16;
    f.x = niceAxis(xLo, xHi, std::clamp(int(f.plot.width() / std::max(widest, 40.0)), 2, 10));
    return f;
}

void drawAxes(QPainter& p, const Frame& f, const QString& xCaption, const QString& yCaption) {
    const QFontMetricsF fm(p.font());
    // Straight lines along the pixels need no smoothing, which would cost more than all else.
    const bool smooth = p.testRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(225, 225, 230), 1));
    for (double v = f.x.from; v <= f.x.to + f.x.step / 2; v += f.x.step)
        p.drawLine(f.at(v, f.y.from), f.at(v, f.y.to));
    for (double v = f.y.from; v <= f.y.to + f.y.step / 2; v += f.y.step)
        p.drawLine(f.at(f.x.from, v), f.at(f.x.to, v));
    p.setPen(QPen(kAxis, 1.2));
    p.drawRect(f.plot);
    p.setPen(Qt::black);
    for (double v = f.x.from; v <= f.x.to + f.x.step / 2; v += f.x.step) {
        const QPointF at = f.at(v, f.y.from);
        p.drawLine(at, at + QPointF(0, 4));
        drawLabel(p, QRectF(at.x() - 40, at.y() + 5, 80, fm.height()), Qt::AlignHCenter,
                  tickText(v, f.x.step));
    }
    for (double v = f.y.from; v <= f.y.to + f.y.step / 2; v += f.y.step) {
        const QPointF at = f.at(f.x.from, v);
        p.drawLine(at, at - QPointF(4, 0));
        drawLabel(p, QRectF(at.x() - 206, at.y() - fm.height() / 2, 200, fm.height()),
                  Qt::AlignRight | Qt::AlignVCenter, tickText(v, f.y.step));
    }
    drawLabel(
        p,
        QRectF(f.plot.left(), f.plot.bottom() + fm.height() + 7, f.plot.width(), fm.height() + 2),
        Qt::AlignHCenter, xCaption);
    qreal labelW = 0;
    for (double v = f.y.from; v <= f.y.to + f.y.step / 2; v += f.y.step)
        labelW = std::max(labelW, fm.horizontalAdvance(tickText(v, f.y.step)));
    // Turned to read upwards, left of the tick labels.
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.save();
    p.translate(f.plot.left() - 6 - labelW - 4, f.plot.center().y());
    p.rotate(-90);
    drawLabel(p, QRectF(-f.plot.height() / 2, -fm.height(), f.plot.height(), fm.height() + 2),
              Qt::AlignHCenter | Qt::AlignBottom, yCaption);
    p.restore();
}

// A point closer than a pixel to the last one kept adds nothing to the drawing but its cost;
// the first and the last points always stay.
void addPoint(QPolygonF& line, const QPointF& at, bool last) {
    if (!line.isEmpty() && !last) {
        const QPointF d = at - line.back();
        if (d.x() * d.x() + d.y() * d.y() < 1) return;
    }
    line << at;
}

// The parts of a curve at or above zero flow, each ending where the curve reaches zero.
std::vector<QPolygonF> abovezero(const Frame& f, const std::vector<CurvePoint>& pts) {
    std::vector<QPolygonF> parts(1);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const CurvePoint& c = pts[i];
        if (i > 0 && (pts[i - 1].y < 0) != (c.y < 0)) {
            const CurvePoint& b = pts[i - 1];
            const double u = b.y / (b.y - c.y);
            addPoint(parts.back(), f.at(b.x + u * (c.x - b.x), 0), true);
            if (c.y < 0) parts.emplace_back();
        }
        if (c.y >= 0) addPoint(parts.back(), f.at(c.x, c.y), i + 1 == pts.size());
    }
    return parts;
}

QPolygonF polyline(const Frame& f, const std::vector<CurvePoint>& pts) {
    QPolygonF out;
    out.reserve(qsizetype(pts.size()));
    for (std::size_t i = 0; i < pts.size(); ++i)
        addPoint(out, f.at(pts[i].x, pts[i].y), i + 1 == pts.size());
    return out;
}

void drawCurve(QPainter& p, const Frame& f, const std::vector<CurvePoint>& pts, const QPen& pen) {
    p.setPen(pen);
    // A thin dashed guide is drawn without smoothing: the dashes of a smoothed line are the
    // dearest thing in the panels to draw.
    const bool smooth = p.testRenderHint(QPainter::Antialiasing);
    if (pen.isCosmetic()) p.setRenderHint(QPainter::Antialiasing, false);
    for (const QPolygonF& part : abovezero(f, pts))
        if (part.size() > 1) p.drawPolyline(part);
    p.setRenderHint(QPainter::Antialiasing, smooth);
}

// The pen of a thin guide line: one pixel wide whatever the painter's scale, dashed or dotted.
QPen guidePen(const QColor& c, Qt::PenStyle style) {
    QPen pen(c, 1, style);
    pen.setCosmetic(true);
    return pen;
}

void drawPmsf(QPainter& p, const Frame& f, double pmsf, bool pale) {
    if (pmsf < f.x.from || pmsf > f.x.to) return;
    const QPointF at = f.at(pmsf, 0);
    QPolygonF mark;
    mark << at << at + QPointF(-5, -9) << at + QPointF(5, -9);
    p.setPen(Qt::NoPen);
    p.setBrush(pale ? kPale : QColor(Qt::black));
    p.drawPolygon(mark);
    p.setBrush(Qt::NoBrush);
    if (pale) return;
    const QFontMetricsF fm(p.font());
    p.setPen(Qt::black);
    drawLabel(p, QRectF(at.x() + 7, at.y() - fm.height() - 2, 80, fm.height()),
              Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Pmsf"));
}

void drawCrossing(QPainter& p, const Frame& f, const model::Crossing& c, bool pale) {
    if (!c.found) return;
    const QPointF at = f.at(c.pra, c.flow);
    p.setPen(QPen(pale ? kPale : QColor(Qt::black), 1.6));
    p.setBrush(pale ? QColor(255, 255, 255, 120) : QColor(Qt::white));
    p.drawEllipse(at, 5, 5);
    p.setBrush(Qt::NoBrush);
    if (pale) return;
    const QFontMetricsF fm(p.font());
    const QString t =
        QStringLiteral("%1 ml/min at %2 mmHg").arg(c.flow, 0, 'f', 0).arg(c.pra, 0, 'f', 1);
    const qreal w = fm.horizontalAdvance(t) + 4;
    // Beside the point, inside the plot area.
    qreal x = at.x() + 9;
    if (x + w > f.plot.right()) x = at.x() - 9 - w;
    const qreal y = std::max(f.plot.top(), at.y() - fm.height() - 6);
    // On a veil of white, so that the curves under it do not cross out the numbers.
    p.fillRect(QRectF(x - 2, y, w + 2, fm.height()), QColor(255, 255, 255, 200));
    p.setPen(Qt::black);
    drawLabel(p, QRectF(x, y, w, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, t);
}

double maxFlowOfInterest(const DiagramData& d) {
    const model::GuytonDiagram& g = d.guyton;
    const double m = std::max(g.operating.y, g.crossing.found ? g.crossing.flow : 0);
    // Where the venous return meets the flow axis, within reason: the model's curve has no
    // plateau.
    const double atZero = g.rvr > 0 && g.collapsePra <= 0 ? g.pmsf / g.rvr : 0;
    return std::max(m, std::min(atZero, 1.6 * m));
}

}  // namespace

double niceStep(double range, int ticks) {
    if (!(range > 0) || ticks < 1) return 1;
    const double raw = range / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * power * (1 + 1e-9)) return m * power;
    return 10 * power;
}

Axis niceAxis(double lo, double hi, int ticks) {
    if (!(hi > lo)) hi = lo + 1;
    const double step = niceStep(hi - lo, ticks);
    return {std::floor(lo / step + 1e-9) * step, std::ceil(hi / step - 1e-9) * step, step};
}

Axis guytonPressureAxis(const Scene& scene, int ticks) {
    const model::GuytonDiagram& g = scene.now->guyton;
    double lo = g.praFrom, hi = g.praTo;
    if (scene.before) {
        lo = std::min(lo, scene.before->guyton.praFrom);
        hi = std::max(hi, scene.before->guyton.praTo);
    }
    if (scene.trail)
        for (const CurvePoint& c : *scene.trail) {
            lo = std::min(lo, c.x);
            hi = std::max(hi, c.x);
        }
    return niceAxis(lo, hi, ticks);
}

Axis guytonFlowAxis(const Scene& scene, int ticks) {
    double hi = maxFlowOfInterest(*scene.now);
    if (scene.before) hi = std::max(hi, maxFlowOfInterest(*scene.before));
    if (scene.trail)
        for (const CurvePoint& c : *scene.trail) hi = std::max(hi, c.y);
    return niceAxis(0, std::max(1000.0, hi * 1.1), ticks);
}

QString strokeWorkText(double mmHgMl) {
    return QStringLiteral("Stroke work %1 mmHg\u00B7ml (%2 mJ)")
        .arg(mmHgMl, 0, 'f', 0)
        .arg(model::strokeWorkMillijoules(mmHgMl), 0, 'f', 0);
}

void paintGuyton(QPainter& p, const QRectF& r, const Scene& scene) {
    if (!scene.now) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(panelFont(p, r));
    const QColor paleVr(kVenousReturn.red(), kVenousReturn.green(), kVenousReturn.blue(), 70);
    const QColor paleCf(kCardiacFunction.red(), kCardiacFunction.green(), kCardiacFunction.blue(),
                        70);
    std::vector<LegendEntry> legend = {
        {QStringLiteral("Venous return"), QPen(kVenousReturn, 2.2)},
        {QStringLiteral("Cardiac function"), QPen(kCardiacFunction, 2.2)},
        {QStringLiteral("Equilibrium"), QPen(Qt::black, 1.6), LegendEntry::Ring, Qt::white}};
    if (scene.before)
        legend.push_back({QStringLiteral("Before the change"), guidePen(kPale, Qt::DashLine)});
    if (scene.trail && !scene.trail->empty())
        legend.push_back({QStringLiteral("During the change"), QPen(kTrail), LegendEntry::Dot});
    const QString title = QStringLiteral("Guyton's diagram");
    const QStringList lines = {QStringLiteral("Pmsf %1 mmHg, afterload %2 mmHg")
                                   .arg(scene.now->guyton.pmsf, 0, 'f', 1)
                                   .arg(scene.now->guyton.afterload, 0, 'f', 0)};
    const qreal head = drawHeader(p, r, title, legend, lines, HeaderPart::Nothing);
    const QRectF area = r.adjusted(0, head, 0, 0);
    const Axis x0 = guytonPressureAxis(scene, 6), y0 = guytonFlowAxis(scene, 6);
    Frame f = layoutFrame(p, area, x0.from, x0.to, y0.from, y0.to);
    static std::vector<Backdrop> kept;
    drawBackdrop(p, r, kept, legendKey(title, legend, 1) + axisKey(f), [&](QPainter& q) {
        drawHeader(q, r, title, legend, lines, HeaderPart::TitleAndLegend);
        drawAxes(q, f, QStringLiteral("Right atrial pressure (mmHg)"),
                 QStringLiteral("Flow (ml/min)"));
    });
    drawHeader(p, r, title, legend, lines, HeaderPart::Lines);
    p.setClipRect(f.plot.adjusted(-6, -6, 6, 6));
    if (scene.before) {
        const model::GuytonDiagram& b = scene.before->guyton;
        drawCurve(p, f, b.venousReturn, guidePen(paleVr, Qt::DashLine));
        drawCurve(p, f, b.cardiacFunction, guidePen(paleCf, Qt::DashLine));
        drawPmsf(p, f, b.pmsf, true);
        drawCrossing(p, f, b.crossing, true);
    }
    const model::GuytonDiagram& g = scene.now->guyton;
    drawCurve(p, f, g.venousReturn, QPen(kVenousReturn, 2.2));
    drawCurve(p, f, g.cardiacFunction, QPen(kCardiacFunction, 2.2));
    if (scene.trail) {
        p.setPen(Qt::NoPen);
        p.setBrush(kTrail);
        for (const CurvePoint& c : *scene.trail) p.drawEllipse(f.at(c.x, c.y), 2.2, 2.2);
        p.setBrush(Qt::NoBrush);
    }
    drawPmsf(p, f, g.pmsf, false);
    drawCrossing(p, f, g.crossing, false);
    p.restore();
}

namespace {

void drawLoop(QPainter& p, const Frame& f, const model::PressureVolumeLoop& l, QColor c,
              bool pale) {
    QColor line = c, fill = c;
    if (pale) {
        line.setAlpha(110);
        drawCurve(p, f, l.outline, guidePen(line, Qt::DashLine));
        return;
    }
    fill.setAlpha(55);
    drawCurve(p, f, l.diastolicRelation, guidePen(line, Qt::DashLine));
    drawCurve(p, f, l.systolicRelation, guidePen(line, Qt::DotLine));
    p.setPen(QPen(line, 2.2));
    p.setBrush(fill);
    p.drawPolygon(polyline(f, l.outline));
    p.setBrush(Qt::NoBrush);
}

void loopRange(const model::PressureVolumeLoop& l, double& vHi, double& pHi) {
    for (const CurvePoint& c : l.outline) {
        vHi = std::max(vHi, c.x);
        pHi = std::max(pHi, c.y);
    }
}

}  // namespace

void paintLoops(QPainter& p, const QRectF& r, const Scene& scene) {
    if (!scene.now) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(panelFont(p, r));
    std::vector<LegendEntry> legend = {
        {QStringLiteral("Right ventricle"), QPen(kRightVentricle, 2), LegendEntry::Area,
         QColor(kRightVentricle.red(), kRightVentricle.green(), kRightVentricle.blue(), 55)},
        {QStringLiteral("Left ventricle"), QPen(kLeftVentricle, 2), LegendEntry::Area,
         QColor(kLeftVentricle.red(), kLeftVentricle.green(), kLeftVentricle.blue(), 55)},
        {QStringLiteral("End-diastolic relation"), guidePen(kAxis, Qt::DashLine)},
        {QStringLiteral("End-systolic line"), guidePen(kAxis, Qt::DotLine)}};
    if (scene.before)
        legend.push_back({QStringLiteral("Before the change"), guidePen(kPale, Qt::DashLine)});
    const DiagramData& d = *scene.now;
    const QString title = QStringLiteral("Pressure-volume loops");
    const QStringList lines = {QStringLiteral("Left: ") + strokeWorkText(d.left.strokeWork),
                               QStringLiteral("Right: ") + strokeWorkText(d.right.strokeWork)};
    const qreal head = drawHeader(p, r, title, legend, lines, HeaderPart::Nothing);
    double vHi = 0, pHi = 0;
    for (const DiagramData* set : {scene.now, scene.before})
        if (set) {
            loopRange(set->left, vHi, pHi);
            loopRange(set->right, vHi, pHi);
        }
    const Frame f = layoutFrame(p, r.adjusted(0, head, 0, 0), 0, std::max(50.0, vHi * 1.12), 0,
                                std::max(20.0, pHi * 1.12));
    static std::vector<Backdrop> kept;
    drawBackdrop(p, r, kept, legendKey(title, legend, 2) + axisKey(f), [&](QPainter& q) {
        drawHeader(q, r, title, legend, lines, HeaderPart::TitleAndLegend);
        drawAxes(q, f, QStringLiteral("Volume (ml)"), QStringLiteral("Pressure (mmHg)"));
    });
    drawHeader(p, r, title, legend, lines, HeaderPart::Lines);
    p.setClipRect(f.plot);
    if (scene.before) {
        drawLoop(p, f, scene.before->right, kRightVentricle, true);
        drawLoop(p, f, scene.before->left, kLeftVentricle, true);
    }
    drawLoop(p, f, d.right, kRightVentricle, false);
    drawLoop(p, f, d.left, kLeftVentricle, false);
    p.restore();
}

}  // namespace vasora::workbench::diagram
