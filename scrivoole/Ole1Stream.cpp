#include "Ole1Stream.h"

#include <cstdlib>

#include "Bytes.h"

namespace scrivoole {

namespace {

constexpr std::uint32_t kFormatPresentation = 5;

// The extent of a presentation part starting at the reader's position: its whole length when
// it is a readable standard presentation, 0 otherwise.
std::size_t presentationLength(ByteReader in) {
    const std::size_t start = in.offset();
    std::uint32_t version = 0, format = 0, width = 0, height = 0, size = 0;
    std::string kind;
    if (!in.u32(version) || !in.u32(format) || format != kFormatPresentation) return 0;
    if (!in.prefixedString(kind) || !in.u32(width) || !in.u32(height) || !in.u32(size)) return 0;
    if (kind == "METAFILEPICT") {
        // The size counts eight bytes of old header fields before the metafile.
        if (size < 8 || size > in.remaining()) return 0;
    } else if (kind == "DIB" || kind == "BITMAP") {
        if (size > in.remaining()) return 0;
    } else {
        return 0;
    }
    in.skip(size);
    return in.offset() - start;
}

}  // namespace

std::vector<std::uint8_t> ole1Bytes(const Ole1Object& object) {
    std::vector<std::uint8_t> out;
    put32(out, kOle1Version);
    put32(out, kFormatEmbedded);
    putPrefixedString(out, object.className);
    putPrefixedString(out, object.topic);
    putPrefixedString(out, object.item);
    put32(out, static_cast<std::uint32_t>(object.native.size()));
    out.insert(out.end(), object.native.begin(), object.native.end());
    if (object.presentation.empty()) {
        put32(out, kOle1Version);
        put32(out, 0);  // no presentation
    } else {
        out.insert(out.end(), object.presentation.begin(), object.presentation.end());
    }
    return out;
}

bool parseOle1(const std::uint8_t* data, std::size_t size, Ole1Object& out) {
    ByteReader in(data, size);
    std::uint32_t version = 0, format = 0, nativeSize = 0;
    Ole1Object object;
    if (!in.u32(version) || !in.u32(format) || format != kFormatEmbedded) return false;
    if (!in.prefixedString(object.className) || object.className.empty()) return false;
    if (!in.prefixedString(object.topic) || !in.prefixedString(object.item)) return false;
    if (!in.u32(nativeSize) || nativeSize > in.remaining()) return false;
    object.native.assign(in.here(), in.here() + nativeSize);
    in.skip(nativeSize);
    if (const std::size_t length = presentationLength(in); length > 0)
        object.presentation.assign(in.here(), in.here() + length);
    out = std::move(object);
    return true;
}

std::vector<std::uint8_t> metafilePresentation(std::int32_t width, std::int32_t height,
                                               const std::vector<std::uint8_t>& metafile) {
    std::vector<std::uint8_t> out;
    put32(out, kOle1Version);
    put32(out, kFormatPresentation);
    putPrefixedString(out, "METAFILEPICT");
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put32(out, static_cast<std::uint32_t>(metafile.size() + 8));
    put16(out, 8);  // mapping mode: anisotropic
    put16(out, static_cast<std::uint16_t>(width));
    put16(out, static_cast<std::uint16_t>(height));
    put16(out, 0);
    out.insert(out.end(), metafile.begin(), metafile.end());
    return out;
}

bool presentationMetafile(const std::vector<std::uint8_t>& presentation, MetafileView& view) {
    ByteReader in(presentation.data(), presentation.size());
    std::uint32_t version = 0, format = 0, width = 0, height = 0, size = 0;
    std::string kind;
    if (!in.u32(version) || !in.u32(format) || format != kFormatPresentation) return false;
    if (!in.prefixedString(kind) || kind != "METAFILEPICT") return false;
    if (!in.u32(width) || !in.u32(height) || !in.u32(size) || size < 8 || size > in.remaining())
        return false;
    in.skip(8);
    // Some writers store the height negative, as the metafile's y axis runs upwards.
    view.width =
        static_cast<std::int32_t>(std::llabs(static_cast<std::int32_t>(width)) & 0x7FFFFFFF);
    view.height =
        static_cast<std::int32_t>(std::llabs(static_cast<std::int32_t>(height)) & 0x7FFFFFFF);
    view.data = in.here();
    view.size = size - 8;
    return view.width > 0 && view.height > 0;
}

}  // namespace scrivoole
