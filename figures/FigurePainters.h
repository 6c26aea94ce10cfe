#pragma once

// One function per figure: each paints its figure's drawing (the title band is paintFigure's)
// into `target` on any painter (a window, a printer, an image), scaled to fit and centred on
// white. The figures that show the model's
// numbers run the engine first (ModelRuns.h) and leave it as they found it.

#include <QRectF>

class QPainter;

namespace vasora::figures {

void paintModelLayout(QPainter& p, const QRectF& target);             // 602
void paintVesselPressureVolume(QPainter& p, const QRectF& target);    // 610
void paintCapacitanceDefinitions(QPainter& p, const QRectF& target);  // 611
void paintVenoconstriction(QPainter& p, const QRectF& target);        // 615
void paintActivePassive(QPainter& p, const QRectF& target);           // 616
void paintResistanceCapacitance(QPainter& p, const QRectF& target);   // 621
void paintFrankStarling(QPainter& p, const QRectF& target);           // 642
void paintFillingTime(QPainter& p, const QRectF& target);             // 644
void paintRateStrokeVolume(QPainter& p, const QRectF& target);        // 645
void paintRateOutput(QPainter& p, const QRectF& target);              // 646
void paintPressureVolumeLoop(QPainter& p, const QRectF& target);      // 649
void paintOutputByFilling(QPainter& p, const QRectF& target);         // 651
void paintOutputByContractility(QPainter& p, const QRectF& target);   // 652
void paintVentricleLoops(QPainter& p, const QRectF& target);          // 653
void paintLabBookLoop(QPainter& p, const QRectF& target);             // 001
void paintReturnAndOutput(QPainter& p, const QRectF& target);         // 002

/// The diagram of concepts (figure 699), which the concepts window paints as itself.
void paintConcepts(QPainter& p, const QRectF& target);

}  // namespace vasora::figures
