#pragma once

// Live figures: the figure numbers 900 to 999 of the documents' figure tags (codes 53900 to
// 53999) open a window that draws the model's present state instead of a picture file. The
// documents and the lab book only know the number; the subsystem that owns the window registers
// how to show it, so neither side includes the other's headers.

#include <QString>
#include <functional>

class QWidget;

namespace vasora::shell {

inline constexpr int kFirstLiveFigure = 900;
inline constexpr int kLastLiveFigure = 999;
/// Guyton's diagram and the ventricles' pressure-volume loops (tag 53900).
inline constexpr int kGuytonDiagramFigure = 900;

/// Whether figure `n` is a live figure.
bool isLiveFigure(int n);

/// Registers how live figure `n` is shown (replacing an earlier registration); an empty
/// function takes it away again.
void registerLiveFigure(int n, std::function<void()> show);

/// Shows live figure `n`: true when a window is registered for it; otherwise the learner is
/// told that the figure has no window (parent of the message: `parent`) and false is returned.
bool showLiveFigure(int n, QWidget* parent = nullptr);

/// The message for a live figure with no window.
QString noLiveFigureMessage(int n);

/// Forgets every registration (tests start each case afresh).
void resetLiveFigures();

}  // namespace vasora::shell
