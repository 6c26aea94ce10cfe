#pragma once
// Little-endian fields of the stored object formats, read with their bounds checked.
#include <cstdint>
#include <string>
#include <vector>

namespace scrivoole {

class ByteReader final {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return size_ - offset_; }
    const std::uint8_t* here() const { return data_ + offset_; }
    bool u16(std::uint16_t& v);
    bool u32(std::uint32_t& v);
    bool skip(std::size_t n);
    // A 32-bit length counting its terminating zero, then the bytes; the text ends at the
    // first zero.
    bool prefixedString(std::string& text);

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

void put16(std::vector<std::uint8_t>& out, std::uint16_t v);
void put32(std::vector<std::uint8_t>& out, std::uint32_t v);
void putPrefixedString(std::vector<std::uint8_t>& out, const std::string& text);

}  // namespace scrivoole
