#pragma once
// What the platform serves the library beside the registry: message boxes, the insert-object
// dialog, image decoding, the screen's resolution and a timer. Each platform file (Qt, Windows,
// plain) defines these; the core never includes a toolkit.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Raster.h"

namespace scrivoole::platform {

void showError(const std::string& text);

struct ServerEntry {
    std::string className;
    std::string displayName;
};

struct InsertChoice {
    std::string className;  // create a new object of this class, or
    std::string file;       // create the object from this file
};

// The library's insert-object dialog, parented to the control's window object, with
// "Create New" preselected. False when the learner cancels or no dialog can be shown. The
// servers are asked for only when the dialog shows them: listing them walks the registry.
bool insertObjectDialog(void* parent, const std::function<std::vector<ServerEntry>()>& servers,
                        InsertChoice& choice);

// Decodes an image file's bytes; false when the platform cannot read them.
bool decodeImage(const std::vector<std::uint8_t>& bytes, Raster& out);

// The screen's logical pixels per inch.
void screenDpi(int& x, int& y);

// Makes sure ScrivoOLE_Poll runs periodically while objects are open in their servers, where
// the platform has an event loop for it.
void startPollTimer();

}  // namespace scrivoole::platform
