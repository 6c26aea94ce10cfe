#pragma once

// A tour of the main windows that saves a picture of the whole screen at each stop, for the
// README: the real program, on the real windows, driven by itself (tools/screenshots.sh runs it
// under a virtual screen). Started with --tour FOLDER.

#include <QString>

namespace vasora {

/// Starts the tour once the main menu is up; the program quits after the last picture.
void startScreenshotTour(const QString& folder);

}  // namespace vasora
