#include "Metafile.h"

#include <algorithm>

#include "Bytes.h"

namespace scrivoole {

namespace {

constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kStretchDib = 0x0F43;
constexpr std::uint16_t kDibStretchBlt = 0x0B41;
constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::size_t kHeaderBytes = 18;

void record(std::vector<std::uint8_t>& out, std::uint16_t function,
            const std::vector<std::uint16_t>& params) {
    put32(out, static_cast<std::uint32_t>(3 + params.size()));
    put16(out, function);
    for (auto p : params) put16(out, p);
}

}  // namespace

std::vector<std::uint8_t> metafileWithBitmap(const Raster& picture, int width, int height) {
    // Coordinates are 16-bit; the window is clamped to what they hold.
    const auto w = static_cast<std::uint16_t>(std::clamp(width, 1, 32767));
    const auto h = static_cast<std::uint16_t>(std::clamp(height, 1, 32767));
    const std::vector<std::uint8_t> dib = encodeDib(picture);

    std::vector<std::uint8_t> body;
    record(body, kSetWindowOrg, {0, 0});
    record(body, kSetWindowExt, {h, w});
    const std::size_t stretchWords = 3 + 2 + 1 + 8 + dib.size() / 2;
    put32(body, static_cast<std::uint32_t>(stretchWords));
    put16(body, kStretchDib);
    put32(body, kSrcCopy);
    put16(body, 0);  // colours are RGB values
    put16(body, static_cast<std::uint16_t>(picture.height));
    put16(body, static_cast<std::uint16_t>(picture.width));
    put16(body, 0);
    put16(body, 0);
    put16(body, h);
    put16(body, w);
    put16(body, 0);
    put16(body, 0);
    body.insert(body.end(), dib.begin(), dib.end());
    record(body, kEof, {});

    std::vector<std::uint8_t> out;
    put16(out, 1);       // in memory
    put16(out, 9);       // header words
    put16(out, 0x0300);  // version
    put32(out, static_cast<std::uint32_t>((kHeaderBytes + body.size()) / 2));
    put16(out, 0);  // objects
    put32(out, static_cast<std::uint32_t>(stretchWords));
    put16(out, 0);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::size_t metafileSize(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    std::uint16_t type = 0, headerWords = 0, version = 0;
    std::uint32_t words = 0;
    if (!in.u16(type) || !in.u16(headerWords) || !in.u16(version) || !in.u32(words)) return 0;
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return 0;
    const auto bytes = static_cast<unsigned long long>(words) * 2;
    if (bytes < kHeaderBytes || bytes > size) return 0;
    return static_cast<std::size_t>(bytes);
}

bool bitmapFromMetafile(const std::uint8_t* data, std::size_t size, Raster& out) {
    const std::size_t total = metafileSize(data, size);
    if (total == 0) return false;
    ByteReader in(data, total);
    in.skip(kHeaderBytes);
    while (in.remaining() >= 6) {
        const std::size_t start = in.offset();
        std::uint32_t words = 0;
        std::uint16_t function = 0;
        in.u32(words);
        in.u16(function);
        if (words < 3 || static_cast<unsigned long long>(words) * 2 > total - start) return false;
        const std::size_t recordBytes = static_cast<std::size_t>(words) * 2;
        if (function == kEof) return false;
        // The bitmap follows the raster operation and eight (stretch) or seven coordinates;
        // the stretching record also has a colour-use word, which must say RGB values.
        std::size_t params = 0;
        if (function == kStretchDib) {
            ByteReader p(data + start + 6, recordBytes - 6);
            std::uint32_t rop = 0;
            std::uint16_t usage = 1;
            if (p.u32(rop) && p.u16(usage) && usage == 0) params = 4 + 2 + 16;
        } else if (function == kDibStretchBlt) {
            params = 4 + 16;
        }
        if (params != 0 && recordBytes > 6 + params &&
            decodeDib(data + start + 6 + params, recordBytes - 6 - params, out))
            return true;
        in.skip(recordBytes - 6);
    }
    return false;
}

}  // namespace scrivoole
