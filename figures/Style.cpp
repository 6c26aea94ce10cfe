#include "figures/Style.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace vasora::figures::style {

QFont font(double pixels, bool bold, bool italic) {
    QFont f;
    // The figure window captions in Arial; where Arial is missing, the faces that share its
    // metrics come first so that text keeps its width.
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica"),
                   QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    f.setBold(bold);
    f.setItalic(italic);
    // Figures are painted at any scale; hinting to the logical pixel grid would make the
    // spacing of text change with the scale.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

namespace {

QRectF placed(QSizeF size, QPointF at, Qt::Alignment align) {
    double x = at.x() - size.width() / 2;
    if (align & Qt::AlignLeft) x = at.x();
    if (align & Qt::AlignRight) x = at.x() - size.width();
    double y = at.y() - size.height() / 2;
    if (align & Qt::AlignTop) y = at.y();
    if (align & Qt::AlignBottom) y = at.y() - size.height();
    return {QPointF(x, y), size};
}

int horizontalFlag(Qt::Alignment align) {
    if (align & Qt::AlignLeft) return Qt::AlignLeft;
    if (align & Qt::AlignRight) return Qt::AlignRight;
    return Qt::AlignHCenter;
}

QSizeF blockSize(const QFont& f, const QString& text) {
    const QFontMetricsF m(f);
    double w = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& l : lines) w = std::max(w, m.horizontalAdvance(l));
    return {w, m.lineSpacing() * static_cast<double>(lines.size())};
}

}  // namespace

QRectF textBounds(const QString& text, double pixels, bool bold) {
    return QRectF(QPointF(0, 0), blockSize(font(pixels, bold), text));
}

QRectF text(QPainter& p, QPointF at, const QString& text, Qt::Alignment align, double pixels,
            const QColor& colour, bool bold, bool italic) {
    const QFont f = font(pixels, bold, italic);
    const QRectF r = placed(blockSize(f, text), at, align);
    p.save();
    p.setFont(f);
    p.setPen(colour);
    // An italic letter leans past its advance; the text is not cut at its box.
    p.drawText(r, horizontalFlag(align) | Qt::AlignVCenter | Qt::TextDontClip, text);
    p.restore();
    return r;
}

void verticalText(QPainter& p, QPointF centre, const QString& t, double pixels,
                  const QColor& colour, bool bold) {
    p.save();
    p.translate(centre);
    p.rotate(-90);
    text(p, QPointF(0, 0), t, Qt::AlignCenter, pixels, colour, bold);
    p.restore();
}

QRectF note(QPainter& p, QPointF at, const QString& t, Qt::Alignment align, double pixels,
            const QColor& colour, const QColor& frame) {
    const QFont f = font(pixels);
    const QSizeF inner = blockSize(f, t);
    const QRectF outer = placed(inner + QSizeF(14, 8), at, align);
    p.save();
    p.setPen(QPen(frame, 0.9));
    p.setBrush(kNoteFill);
    p.drawRoundedRect(outer, 4, 4);
    p.restore();
    text(p, outer.center(), t, Qt::AlignCenter, pixels, colour);
    return outer;
}

namespace {

void arrowHead(QPainter& p, QPointF tip, QPointF direction, const QColor& colour, double head) {
    const double len = std::hypot(direction.x(), direction.y());
    if (len <= 0) return;
    const QPointF d = direction / len;
    const QPointF n(-d.y(), d.x());
    QPainterPath h;
    h.moveTo(tip);
    h.lineTo(tip - d * head + n * head * 0.42);
    h.lineTo(tip - d * head * 0.78);
    h.lineTo(tip - d * head - n * head * 0.42);
    h.closeSubpath();
    p.fillPath(h, colour);
}

// The end of a line that stops where the arrow head starts, so a thick line does not poke
// through the point of the head.
QPointF shortened(QPointF from, QPointF to, double by) {
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    if (len <= by) return from;
    return to - d / len * by;
}

}  // namespace

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width, double head) {
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, shortened(from, to, head * 0.7));
    arrowHead(p, to, to - from, colour, head);
    p.restore();
}

void curvedArrow(QPainter& p, QPointF from, QPointF via, QPointF to, const QColor& colour,
                 double width, double head) {
    p.save();
    QPainterPath path(from);
    path.quadTo(via, shortened(via, to, head * 0.7));
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    arrowHead(p, to, to - via, colour, head);
    p.restore();
}

void dimension(QPainter& p, QPointF a, QPointF b, const QColor& colour, double width) {
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    if (len <= 0) return;
    const QPointF n = QPointF(-d.y(), d.x()) / len * 5;
    p.save();
    p.setPen(QPen(colour, width));
    p.drawLine(a, b);
    p.drawLine(a - n, a + n);
    p.drawLine(b - n, b + n);
    p.restore();
}

void slopeSteps(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    const QPointF corner(to.x(), from.y());
    p.save();
    p.setPen(QPen(colour, 1.1, Qt::DashLine));
    p.drawLine(from, corner);
    p.drawLine(corner, to);
    p.restore();
}

void dot(QPainter& p, QPointF at, const QColor& colour, double r) {
    p.save();
    p.setPen(QPen(Qt::white, 1.4));
    p.setBrush(colour);
    p.drawEllipse(at, r, r);
    p.restore();
}

void box(QPainter& p, const QRectF& r, const QColor& fill, const QColor& frame, double frameWidth,
         double radius) {
    p.save();
    p.setPen(QPen(frame, frameWidth));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

QString number(double v, int decimals) {
    // Rounding first keeps "-0" from appearing for a value that rounds to zero.
    const double scale = std::pow(10.0, decimals);
    double r = std::round(v * scale) / scale;
    if (r == 0) r = 0;
    QString s = QString::number(r, 'f', decimals);
    s.replace(QLatin1Char('-'), QChar(0x2212));
    return s;
}

}  // namespace vasora::figures::style
