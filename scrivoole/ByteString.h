#pragma once
// Byte strings as they cross the interface: a 32-bit byte length before the data and a zero
// after it. On Windows they are the system's BSTRs, so a caller may free them either way.
#include <string>
#include <string_view>

#include "ScrivoOLE.h"

namespace scrivoole {

ScrivoString allocString(std::string_view bytes) noexcept;
void freeString(ScrivoString text) noexcept;
std::uint32_t stringLength(ScrivoString text) noexcept;

// Replaces an out string: frees what it holds, stores a new copy of the bytes. A null out
// pointer is ignored.
void replaceOut(ScrivoString* out, std::string_view bytes) noexcept;

// A text argument up to its terminating zero; null reads as empty.
inline std::string_view argument(const char* text) {
    return text ? std::string_view(text) : std::string_view();
}

}  // namespace scrivoole
