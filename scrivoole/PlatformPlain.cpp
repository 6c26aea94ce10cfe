// Platform services where neither Qt nor Windows is at hand: messages go to the error stream,
// there is no dialog, images other than bitmaps show as icons, and the host polls.
#include <cstdio>

#include "Platform.h"

namespace scrivoole::platform {

void showError(const std::string& text) {
    std::fprintf(stderr, "ScrivoOLE Error:%s\n", text.c_str());
}

bool insertObjectDialog(void*, const std::function<std::vector<ServerEntry>()>&, InsertChoice&) {
    return false;
}

bool decodeImage(const std::vector<std::uint8_t>&, Raster&) {
    return false;
}

void screenDpi(int& x, int& y) {
    x = y = 96;
}

void startPollTimer() {}

}  // namespace scrivoole::platform
