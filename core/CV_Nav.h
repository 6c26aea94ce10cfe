#pragma once

// The information viewer's history of places visited: the paragraphs left and reached by each
// link, walked by Back and Forward. One history for the process, as the viewer has one.

#include <array>
#include <cstdint>

namespace vasora::nav {

/// The message shown when a push finds the history full.
inline constexpr const char* kStackFullMessage = "GoBack stack full - Restart";

/// Entries 1 to 60 are used; entry 0 is never written by a push.
inline constexpr std::int32_t kNavCapacity = 60;

struct NavHistory {
    std::array<std::int32_t, 62> NavStack{};
    std::int32_t NavPos = 0;  ///< the current entry; 0 = empty
    std::int32_t NavTop = 0;  ///< the last entry Forward may reach
};

NavHistory& history();

/// Stores a paragraph after the current entry and makes it the last one Forward may reach.
/// Returns false, storing nothing, when the history is full; the caller shows
/// kStackFullMessage.
bool PushPosition(std::int32_t paragraph);
/// One entry back; the paragraph there, or 1 when the history is empty.
std::int32_t GoBack();
/// One entry forward; the paragraph there, or 1 at the last entry.
std::int32_t GoForward();
/// Whether Back and Forward have somewhere to go.
bool canGoBack();
bool canGoForward();
/// Forgets every entry. NavTop goes back to 0 as well, so that no button can walk a cleared
/// history.
void clearHistory();

}  // namespace vasora::nav
