#pragma once
// Pictures as the library draws them: 32-bit pixels, premultiplied alpha, bytes in the order
// blue, green, red, alpha, rows top down. The device context's drawing callback takes them as
// they are.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace scrivoole {

struct Raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    Raster() = default;
    Raster(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 4, 0) {}
    bool empty() const { return width <= 0 || height <= 0; }
    std::uint8_t* at(int x, int y) {
        return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
    }
    const std::uint8_t* at(int x, int y) const {
        return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
    }
    void fill(int x, int y, int w, int h, std::uint32_t argb);
};

// Pictures larger than this on a side are refused as corrupt or hostile.
constexpr int kMaxPictureSide = 16384;
constexpr std::size_t kMaxPicturePixels = 64u << 20;
// Pictures kept for drawing and saving are reduced to this on their longer side.
constexpr int kMaxKeptSide = 1024;

bool pictureSizeAllowed(long long width, long long height);

// Scaled to width x height by averaging the source pixels each target pixel covers.
Raster scaled(const Raster& source, int width, int height);
// Reduced, keeping its proportions, so that neither side exceeds maxSide.
Raster fitted(const Raster& source, int maxSide);
// Laid on white, as a printer's page shows it: every pixel becomes opaque.
Raster onWhite(const Raster& source);

// A device-independent bitmap (header, palette, rows) of 1, 4, 8, 24 or 32 bits per pixel,
// uncompressed; every size is checked against the bytes present.
bool decodeDib(const std::uint8_t* data, std::size_t size, Raster& out);
// A ".bmp" file: the file header, then a bitmap as above. A file cut short in its pixels, as a
// picture viewer shows it: the rows present, the missing ones blank.
bool decodeBmp(const std::vector<std::uint8_t>& bytes, Raster& out);
// The picture as a 24-bit bottom-up bitmap laid on white.
std::vector<std::uint8_t> encodeDib(const Raster& picture);

// A document icon with a label beneath, for contents that are not pictures.
Raster iconPicture(std::string_view label);
// The frame shown for an object that could not be read.
Raster emptyFrame(int width, int height);

// The 5 x 7 glyph of a printable ASCII character (others draw as '?'): seven rows, bit 4 the
// leftmost column.
const std::uint8_t* glyph(char c);

}  // namespace scrivoole
