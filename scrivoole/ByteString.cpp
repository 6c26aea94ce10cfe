#include "ByteString.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
// windows.h first: the OLE headers need what it defines.
#include <windows.h>

#include <oleauto.h>
#endif

namespace scrivoole {

#ifdef _WIN32

ScrivoString allocString(std::string_view bytes) noexcept {
    BSTR s = SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
    return reinterpret_cast<ScrivoString>(s);
}

void freeString(ScrivoString text) noexcept {
    SysFreeString(reinterpret_cast<BSTR>(text));
}

std::uint32_t stringLength(ScrivoString text) noexcept {
    return SysStringByteLen(reinterpret_cast<BSTR>(text));
}

#else

namespace {
// Two zero bytes end the data, so a reader expecting 16-bit characters also finds its end.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);
constexpr std::size_t kTerminator = 2;
}  // namespace

ScrivoString allocString(std::string_view bytes) noexcept {
    if (bytes.size() > 0xFFFFFFF0u) return nullptr;
    auto* block = static_cast<char*>(std::malloc(kPrefix + bytes.size() + kTerminator));
    if (!block) return nullptr;
    const auto length = static_cast<std::uint32_t>(bytes.size());
    std::memcpy(block, &length, kPrefix);
    if (!bytes.empty()) std::memcpy(block + kPrefix, bytes.data(), bytes.size());
    std::memset(block + kPrefix + bytes.size(), 0, kTerminator);
    return block + kPrefix;
}

void freeString(ScrivoString text) noexcept {
    if (text) std::free(text - kPrefix);
}

std::uint32_t stringLength(ScrivoString text) noexcept {
    if (!text) return 0;
    std::uint32_t length;
    std::memcpy(&length, text - kPrefix, kPrefix);
    return length;
}

#endif

void replaceOut(ScrivoString* out, std::string_view bytes) noexcept {
    if (!out) return;
    freeString(*out);
    *out = allocString(bytes);
}

}  // namespace scrivoole
