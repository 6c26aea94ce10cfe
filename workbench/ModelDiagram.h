#pragma once

// The circulation drawn as a loop: systemic arteries, systemic veins, right ventricle, pulmonary
// arteries, pulmonary veins, left ventricle, with arrows along the direction of flow and the
// chest around the four compartments that feel the intrathoracic pressure. The drawing is
// separate from any widget so that it can be painted on a screen, a printer or an image.

#include <QRect>
#include <array>

class QPainter;

namespace vasora::workbench {

struct DiagramGeometry {
    /// Box of each compartment, indexed 1 to 6 as the model numbers them.
    std::array<QRect, 7> box;
    QRect chest;
    QRect rightHeartPanel, leftHeartPanel, warningPanel, keyPanel, totalsPanel;
};

/// The model window's diagram in its own pixel units.
const DiagramGeometry& modelWindowGeometry();

/// Paints the diagram's boxes, arrows and panels (the labels are widgets on top).
void paintDiagram(QPainter& p, const DiagramGeometry& g);

}  // namespace vasora::workbench
