#include "figures/Figures.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigurePainters.h"
#include "figures/Style.h"

namespace vasora::figures {

namespace {

// The title along the top of a picture `width` logical pixels wide, with a thin rule under it.
void drawTitle(QPainter& p, const QString& title, double width) {
    using namespace style;
    constexpr double kMargin = 14;
    text(p, QPointF(kMargin, kTitleBand / 2.0 + 1), title, Qt::AlignLeft | Qt::AlignVCenter, kTitle,
         kInk, true);
    p.setPen(QPen(kGrid, 1.2));
    p.drawLine(QPointF(kMargin, kTitleBand - 2.5), QPointF(width - kMargin, kTitleBand - 2.5));
}

// A picture of a drawing `w` by `h` logical pixels, with the title band on top.
constexpr QSize framed(int w, int h) {
    return QSize(w, h + kTitleBand);
}

constexpr QSize kChart = framed(640, 440);

// clang-format off
const std::array<FigureInfo, 17> kFigures{{
    {602, framed(680, 500), false, "The model’s six compartments and the direction of flow", "the six compartments in their loop, the chest, the direction of flow", paintModelLayout},
    {610, kChart, true, "Pressure against volume in the systemic veins", "pressure against volume of the model's systemic veins; unstressed and stressed volume", paintVesselPressureVolume},
    {611, kChart, false, "Compliance, capacitance and unstressed volume", "compliance as slope, capacitance as volume at a pressure, unstressed volume as intercept", paintCapacitanceDefinitions},
    {615, kChart, true, "Venoconstriction of 500 ml, and where the model settles", "the veins' line after a 500 ml venoconstriction at the same volume; where the model settles", paintVenoconstriction},
    {616, framed(720, 470), true, "Passive and active changes of the volume of the veins", "passive change (more volume, same line) against active change (shifted or rotated line)", paintActivePassive},
    {621, framed(680, 470), false, "Resistance vessels and capacitance vessels", "resistance vessels set flow from a pressure drop, capacitance vessels hold the volume", paintResistanceCapacitance},
    {642, kChart, true, "The Frank–Starling law: stroke volume against end-diastolic volume", "left-ventricular stroke volume and cardiac output against end-diastolic volume, from blood-volume changes", paintFrankStarling},
    {644, kChart, true, "Heart rate, filling time and filling completeness K2", "the model's filling time per beat and filling completeness K2 against heart rate", paintFillingTime},
    {645, kChart, true, "Stroke volume against heart rate", "stroke volume against heart rate, the model at equilibrium", paintRateStrokeVolume},
    {646, kChart, true, "Stroke volume and cardiac output against heart rate", "stroke volume and cardiac output against heart rate, the model at equilibrium", paintRateOutput},
    {649, kChart, true, "The left ventricle’s pressure–volume loop", "the normal left-ventricular pressure-volume loop with the end-systolic and diastolic curves", paintPressureVolumeLoop},
    {651, kChart, true, "Cardiac output against end-diastolic volume as the filling changes", "cardiac output against end-diastolic volume when the filling changes", paintOutputByFilling},
    {652, kChart, true, "Cardiac output against contractility (left-ventricular Emax)", "cardiac output and end-diastolic volume against left-ventricular Emax", paintOutputByContractility},
    {653, framed(760, 460), true, "The pressure–volume loops of both ventricles", "both ventricles' pressure-volume loops of the normal circulation, as the live diagram draws them", paintVentricleLoops},
    {699, framed(760, 540), false, "The concepts of the circulation and how they act on each other", "the concepts of the circulation and how they act on each other", paintConcepts},
    {1, framed(680, 500), true, "The model’s loop with its normal values", "the model's loop, simplified, with the normal values a learner records", paintLabBookLoop},
    {2, kChart, true, "Venous return and cardiac function: Guyton’s diagram", "venous return and cardiac output curves and their intersection, normal and after a hemorrhage", paintReturnAndOutput},
}};
// clang-format on

}  // namespace

std::span<const FigureInfo> figureList() {
    return kFigures;
}

const FigureInfo* findFigure(int number) {
    const auto it = std::find_if(kFigures.begin(), kFigures.end(),
                                 [number](const FigureInfo& f) { return f.number == number; });
    return it == kFigures.end() ? nullptr : &*it;
}

QSize logicalSize(int number) {
    const FigureInfo* f = findFigure(number);
    return f ? f->size : QSize();
}

QSize drawingSize(int number) {
    const FigureInfo* f = findFigure(number);
    return f ? f->size - QSize(0, kTitleBand) : QSize();
}

QString figureTitle(int number) {
    const FigureInfo* f = findFigure(number);
    return f ? QString::fromUtf8(f->title) : QString();
}

bool paintFigure(int number, QPainter& p, const QRectF& target) {
    const FigureInfo* f = findFigure(number);
    if (!f) return false;
    p.fillRect(target, Qt::white);
    const QSizeF whole(f->size);
    const double scale = std::min(target.width() / whole.width(), target.height() / whole.height());
    if (!(scale > 0)) return true;
    // The picture's place in the target, and its title band and drawing within it.
    const QSizeF shown = whole * scale;
    const QPointF corner = target.center() - QPointF(shown.width() / 2, shown.height() / 2);
    const double band = kTitleBand * scale;
    {
        const Canvas canvas(p, QRectF(corner, QSizeF(shown.width(), band)),
                            QSizeF(whole.width(), kTitleBand));
        drawTitle(p, QString::fromUtf8(f->title), whole.width());
    }
    f->paint(p, QRectF(corner + QPointF(0, band), QSizeF(shown.width(), shown.height() - band)));
    return true;
}

QImage renderFigure(int number, double scale) {
    const FigureInfo* f = findFigure(number);
    if (!f || !(scale > 0)) return {};
    const QSize px(static_cast<int>(std::lround(f->size.width() * scale)),
                   static_cast<int>(std::lround(f->size.height() * scale)));
    // Past this a painter has nothing to paint on (and the memory would be gigabytes).
    constexpr int kMaxSide = 16384;
    if (px.isEmpty() || px.width() > kMaxSide || px.height() > kMaxSide) return {};
    QImage img(px, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    paintFigure(number, p, QRectF(QPointF(0, 0), QSizeF(px)));
    p.end();
    return img;
}

QString figureFileName(int number) {
    return QStringLiteral("Img%1.jpg").arg(number, 3, 10, QLatin1Char('0'));
}

}  // namespace vasora::figures
