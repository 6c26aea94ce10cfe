#pragma once

// The colours both drawings of the circulation share, the model window's and the layout
// sheet's: oxygenated blood in a red tint, venous blood in a blue one, and the lines.

#include <QColor>

namespace vasora::workbench::diagram {

inline const QColor kArterial(250, 222, 222);
inline const QColor kVenous(220, 230, 252);
inline const QColor kLine(90, 90, 110);

}  // namespace vasora::workbench::diagram
