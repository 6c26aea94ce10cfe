#include "Bytes.h"

#include <cstring>

namespace scrivoole {

bool ByteReader::u16(std::uint16_t& v) {
    if (remaining() < 2) return false;
    v = static_cast<std::uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return true;
}

bool ByteReader::u32(std::uint32_t& v) {
    if (remaining() < 4) return false;
    const std::uint8_t* p = data_ + offset_;
    v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    offset_ += 4;
    return true;
}

bool ByteReader::skip(std::size_t n) {
    if (remaining() < n) return false;
    offset_ += n;
    return true;
}

bool ByteReader::prefixedString(std::string& text) {
    std::uint32_t length = 0;
    if (!u32(length) || length > remaining()) return false;
    const auto* start = reinterpret_cast<const char*>(here());
    text.assign(start, strnlen(start, length));
    offset_ += length;
    return true;
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putPrefixedString(std::vector<std::uint8_t>& out, const std::string& text) {
    if (text.empty()) {
        put32(out, 0);
        return;
    }
    put32(out, static_cast<std::uint32_t>(text.size() + 1));
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

}  // namespace scrivoole
