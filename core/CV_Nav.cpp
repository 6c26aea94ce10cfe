#include "core/CV_Nav.h"

namespace vasora::nav {

NavHistory& history() {
    static NavHistory h;
    return h;
}

bool PushPosition(std::int32_t paragraph) {
    NavHistory& h = history();
    if (h.NavPos == kNavCapacity) return false;
    h.NavPos += 1;
    h.NavStack[static_cast<std::size_t>(h.NavPos)] = paragraph;
    h.NavTop = h.NavPos;
    return true;
}

std::int32_t GoBack() {
    NavHistory& h = history();
    if (h.NavPos == 0) return 1;
    h.NavPos -= 1;
    return h.NavStack[static_cast<std::size_t>(h.NavPos)];
}

std::int32_t GoForward() {
    NavHistory& h = history();
    if (h.NavPos == h.NavTop) return 1;
    h.NavPos += 1;
    return h.NavStack[static_cast<std::size_t>(h.NavPos)];
}

bool canGoBack() {
    return history().NavPos > 1;
}

bool canGoForward() {
    return history().NavPos < history().NavTop;
}

void clearHistory() {
    NavHistory& h = history();
    h.NavStack.fill(0);
    h.NavPos = 0;
    h.NavTop = 0;
}

}  // namespace vasora::nav
