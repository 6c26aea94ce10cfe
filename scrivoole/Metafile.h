#pragma once
// Windows metafiles holding one bitmap: what a word processor shows for an embedded object.
#include <cstdint>
#include <vector>

#include "Raster.h"

namespace scrivoole {

// A metafile whose window is width x height logical units and which stretches the picture,
// as a device-independent bitmap, over the whole window.
std::vector<std::uint8_t> metafileWithBitmap(const Raster& picture, int width, int height);

// The metafile's size in bytes from its header (the word count times 2); 0 when the header is
// not a metafile's or claims more bytes than are present.
std::size_t metafileSize(const std::uint8_t* data, std::size_t size);

// The first bitmap a metafile stretches onto its window. The header and every record are
// checked against the bytes present; false when there is no readable bitmap.
bool bitmapFromMetafile(const std::uint8_t* data, std::size_t size, Raster& out);

}  // namespace scrivoole
