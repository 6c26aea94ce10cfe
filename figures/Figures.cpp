#include "figures/Figures.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "figures/FigurePainters.h"

namespace vasora::figures {

namespace {

constexpr QSize kChart(640, 440);

// clang-format off
const std::array<FigureInfo, 17> kFigures{{
    {602, QSize(680, 500), false, "the six compartments in their loop, the chest, the direction of flow", paintModelLayout},
    {610, kChart, true, "pressure against volume of the model's systemic veins; unstressed and stressed volume", paintVesselPressureVolume},
    {611, kChart, false, "compliance as slope, capacitance as volume at a pressure, unstressed volume as intercept", paintCapacitanceDefinitions},
    {615, kChart, true, "the veins' line after a 500 ml venoconstriction at the same volume; where the model settles", paintVenoconstriction},
    {616, QSize(720, 470), true, "passive change (more volume, same line) against active change (shifted or rotated line)", paintActivePassive},
    {621, QSize(680, 470), false, "resistance vessels set flow from a pressure drop, capacitance vessels hold the volume", paintResistanceCapacitance},
    {642, kChart, true, "left-ventricular stroke volume and cardiac output against end-diastolic volume, from blood-volume changes", paintFrankStarling},
    {644, kChart, true, "the model's filling time per beat and filling completeness K2 against heart rate", paintFillingTime},
    {645, kChart, true, "stroke volume against heart rate, the model at equilibrium", paintRateStrokeVolume},
    {646, kChart, true, "stroke volume and cardiac output against heart rate, the model at equilibrium", paintRateOutput},
    {649, kChart, true, "the normal left-ventricular pressure-volume loop with the end-systolic and diastolic curves", paintPressureVolumeLoop},
    {651, kChart, true, "cardiac output against end-diastolic volume when the filling changes", paintOutputByFilling},
    {652, kChart, true, "cardiac output and end-diastolic volume against left-ventricular Emax", paintOutputByContractility},
    {653, QSize(760, 460), true, "both ventricles' pressure-volume loops of the normal circulation, as the live diagram draws them", paintVentricleLoops},
    {699, QSize(760, 540), false, "the concepts of the circulation and how they act on each other", paintConcepts},
    {1, QSize(680, 500), true, "the model's loop, simplified, with the normal values a learner records", paintLabBookLoop},
    {2, kChart, true, "venous return and cardiac output curves and their intersection, normal and after a hemorrhage", paintReturnAndOutput},
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

bool paintFigure(int number, QPainter& p, const QRectF& target) {
    const FigureInfo* f = findFigure(number);
    if (!f) return false;
    f->paint(p, target);
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
    f->paint(p, QRectF(QPointF(0, 0), QSizeF(px)));
    p.end();
    return img;
}

QString figureFileName(int number) {
    return QStringLiteral("Img%1.jpg").arg(number, 3, 10, QLatin1Char('0'));
}

}  // namespace vasora::figures
