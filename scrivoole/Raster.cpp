#include "Raster.h"

#include "Bytes.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace scrivoole {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    std::uint32_t v = 0;
    ByteReader(p, 4).u32(v);
    return v;
}
std::uint16_t le16(const std::uint8_t* p) {
    std::uint16_t v = 0;
    ByteReader(p, 2).u16(v);
    return v;
}

void setOpaque(std::uint8_t* px, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    px[0] = b;
    px[1] = g;
    px[2] = r;
    px[3] = 255;
}

// The pixels of a bitmap whose bits start at bitsOffset (0: right after header and palette).
// With partial, a bitmap whose last rows are missing keeps the rows present; the others stay
// blank (transparent) in a picture that is filled in full, never left with what memory held.
bool decodeDibAt(const std::uint8_t* data, std::size_t size, std::size_t bitsOffset, bool partial,
                 Raster& out) {
    if (size < 40) return false;
    const std::uint32_t headerSize = le32(data);
    if (headerSize < 40 || headerSize > size) return false;
    const auto width = static_cast<std::int32_t>(le32(data + 4));
    const auto rawHeight = static_cast<std::int32_t>(le32(data + 8));
    const std::uint16_t planes = le16(data + 12);
    const std::uint16_t bits = le16(data + 14);
    const std::uint32_t compression = le32(data + 16);
    const std::uint32_t colorsUsed = le32(data + 32);
    if (planes != 1 || compression != 0) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    if (rawHeight == INT32_MIN) return false;
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || !pictureSizeAllowed(width, height)) return false;

    std::size_t paletteColors = 0;
    if (bits <= 8) {
        paletteColors = colorsUsed ? colorsUsed : (1u << bits);
        if (paletteColors > (1u << bits)) return false;
    }
    const std::size_t paletteBytes = paletteColors * 4;
    if (paletteBytes > size - headerSize) return false;
    const std::uint8_t* palette = data + headerSize;
    if (bitsOffset == 0) bitsOffset = headerSize + paletteBytes;
    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    if (bitsOffset > size) return false;
    const std::size_t rowsPresent = std::min<std::size_t>(height, (size - bitsOffset) / stride);
    if (rowsPresent == 0 || (rowsPresent < static_cast<std::size_t>(height) && !partial))
        return false;

    out = Raster(width, height);
    for (std::int32_t row = 0; row < static_cast<std::int32_t>(rowsPresent); ++row) {
        const std::uint8_t* line = data + bitsOffset + stride * static_cast<std::size_t>(row);
        const int y = topDown ? row : height - 1 - row;
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint8_t* px = out.at(x, y);
            if (bits >= 24) {
                const std::uint8_t* s = line + static_cast<std::size_t>(x) * (bits / 8);
                setOpaque(px, s[2], s[1], s[0]);
                continue;
            }
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            const unsigned shift = 8 - bits - (bit % 8);
            const unsigned index = (line[bit / 8] >> shift) & ((1u << bits) - 1);
            if (index >= paletteColors) {
                setOpaque(px, 0, 0, 0);
                continue;
            }
            const std::uint8_t* c = palette + index * 4;
            setOpaque(px, c[2], c[1], c[0]);
        }
    }
    return true;
}

}  // namespace

void Raster::fill(int x, int y, int w, int h, std::uint32_t argb) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(width, x + w), y1 = std::min(height, y + h);
    const std::uint32_t a = argb >> 24;
    for (int yy = y0; yy < y1; ++yy) {
        for (int xx = x0; xx < x1; ++xx) {
            std::uint8_t* px = at(xx, yy);
            px[0] = static_cast<std::uint8_t>((argb & 0xFF) * a / 255);
            px[1] = static_cast<std::uint8_t>(((argb >> 8) & 0xFF) * a / 255);
            px[2] = static_cast<std::uint8_t>(((argb >> 16) & 0xFF) * a / 255);
            px[3] = static_cast<std::uint8_t>(a);
        }
    }
}

bool pictureSizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           static_cast<unsigned long long>(width * height) <= kMaxPicturePixels;
}

Raster scaled(const Raster& source, int width, int height) {
    Raster out(std::max(width, 0), std::max(height, 0));
    if (source.empty() || out.empty()) return out;
    for (int ty = 0; ty < out.height; ++ty) {
        const int sy0 = static_cast<int>(static_cast<long long>(ty) * source.height / out.height);
        const int sy1 = std::max(
            sy0 + 1, static_cast<int>(static_cast<long long>(ty + 1) * source.height / out.height));
        for (int tx = 0; tx < out.width; ++tx) {
            const int sx0 = static_cast<int>(static_cast<long long>(tx) * source.width / out.width);
            const int sx1 = std::max(sx0 + 1, static_cast<int>(static_cast<long long>(tx + 1) *
                                                               source.width / out.width));
            unsigned long long sum[4] = {0, 0, 0, 0};
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0; sx < sx1; ++sx)
                    for (int c = 0; c < 4; ++c) sum[c] += source.at(sx, sy)[c];
            const auto count = static_cast<unsigned long long>(sy1 - sy0) * (sx1 - sx0);
            for (int c = 0; c < 4; ++c)
                out.at(tx, ty)[c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
        }
    }
    return out;
}

Raster fitted(const Raster& source, int maxSide) {
    if (source.width <= maxSide && source.height <= maxSide) return source;
    const bool wide = source.width >= source.height;
    const long long w =
        wide ? maxSide : std::max<long long>(1, 1LL * source.width * maxSide / source.height);
    const long long h =
        wide ? std::max<long long>(1, 1LL * source.height * maxSide / source.width) : maxSide;
    return scaled(source, static_cast<int>(w), static_cast<int>(h));
}

Raster onWhite(const Raster& source) {
    Raster out = source;
    for (std::size_t i = 0; i < out.pixels.size(); i += 4) {
        const int transparent = 255 - out.pixels[i + 3];
        for (int c = 0; c < 3; ++c)
            out.pixels[i + c] =
                static_cast<std::uint8_t>(std::min(255, out.pixels[i + c] + transparent));
        out.pixels[i + 3] = 255;
    }
    return out;
}

bool decodeDib(const std::uint8_t* data, std::size_t size, Raster& out) {
    return decodeDibAt(data, size, 0, false, out);
}

bool decodeBmp(const std::vector<std::uint8_t>& bytes, Raster& out) {
    if (bytes.size() < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint32_t offset = le32(bytes.data() + 10);
    if (offset < 14 + 40 || offset > bytes.size()) return false;
    return decodeDibAt(bytes.data() + 14, bytes.size() - 14, offset - 14, true, out);
}

std::vector<std::uint8_t> encodeDib(const Raster& picture) {
    const Raster white = onWhite(picture);
    const std::size_t stride = ((static_cast<std::size_t>(white.width) * 24 + 31) / 32) * 4;
    const std::size_t imageSize = stride * white.height;
    std::vector<std::uint8_t> out;
    out.reserve(40 + imageSize);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(white.width));
    put32(out, static_cast<std::uint32_t>(white.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(imageSize));
    put32(out, 3780);  // 96 pixels per inch
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
    for (int y = white.height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < white.width; ++x) {
            const std::uint8_t* px = white.at(x, y);
            out.insert(out.end(), {px[0], px[1], px[2]});
        }
        out.resize(start + stride, 0);
    }
    return out;
}

Raster iconPicture(std::string_view label) {
    constexpr int kPageW = 32, kPageH = 40, kFold = 9, kMaxChars = 24;
    std::string text(label);
    if (text.size() > kMaxChars) text = text.substr(0, kMaxChars - 3) + "...";
    const int textWidth = static_cast<int>(text.size()) * 6 - (text.empty() ? 0 : 1);
    Raster icon(std::max(kPageW + 8, textWidth + 8), kPageH + 4 + 7 + 6);
    const int left = (icon.width - kPageW) / 2, top = 2;
    // The page with its top right corner folded over.
    for (int y = 0; y < kPageH; ++y) {
        for (int x = 0; x < kPageW; ++x) {
            const int fromCorner = (kPageW - 1 - x) + y;
            if (fromCorner < kFold - 1) continue;
            const bool edge = x == 0 || y == kPageH - 1 || (x == kPageW - 1 && y >= kFold - 1) ||
                              (y == 0 && x < kPageW - kFold + 1) || fromCorner == kFold - 1;
            icon.fill(left + x, top + y, 1, 1, edge ? 0xFF606060u : 0xFFFFFFFFu);
        }
    }
    for (int i = 0; i < 4; ++i) icon.fill(left + 6, top + 14 + i * 6, kPageW - 12, 1, 0xFFA0A0A0u);
    const int baseline = top + kPageH + 4;
    int x = (icon.width - textWidth) / 2;
    for (char c : text) {
        const std::uint8_t* rows = glyph(c);
        for (int r = 0; r < 7; ++r)
            for (int b = 0; b < 5; ++b)
                if (rows[r] & (0x10 >> b)) icon.fill(x + b, baseline + r, 1, 1, 0xFF000000u);
        x += 6;
    }
    return icon;
}

Raster emptyFrame(int width, int height) {
    Raster frame(width, height);
    frame.fill(0, 0, width, 1, 0xFF808080u);
    frame.fill(0, height - 1, width, 1, 0xFF808080u);
    frame.fill(0, 0, 1, height, 0xFF808080u);
    frame.fill(width - 1, 0, 1, height, 0xFF808080u);
    return frame;
}

}  // namespace scrivoole
