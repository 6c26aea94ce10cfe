// LoadRtf with any data, then what the control does with a loaded object: its rectangle,
// drawing on a screen and a printer, and saving it again. The first byte chooses whether the
// rest is given to the reader as it is (the hexadecimal text and its stop rules) or as the
// bytes of the object, written out in hexadecimal for it (the object and picture readers).
#include <cstddef>
#include <cstdint>
#include <string>

#include "ExtensionObject.h"

namespace {

struct Reader {
    ScrivoRtfReader base;
    const std::string* text;
    std::size_t at;
};

std::int32_t SCRIVOOLE_CALL next(ScrivoRtfReader* r) {
    auto* reader = reinterpret_cast<Reader*>(r);
    if (reader->at >= reader->text->size()) return -1;
    return static_cast<unsigned char>((*reader->text)[reader->at++]);
}
const ScrivoRtfReaderOps kReaderOps = {next};

std::int32_t SCRIVOOLE_CALL write(ScrivoRtfWriter*, const char*, std::int32_t) {
    return 0;
}
const ScrivoRtfWriterOps kWriterOps = {{nullptr, nullptr, nullptr, nullptr}, write};

void SCRIVOOLE_CALL draw(void*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         const std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                         std::int32_t stride) {
    // Touch the first and last pixel: the buffer must hold what it claims.
    volatile std::uint8_t sink = 0;
    if (width > 0 && height > 0)
        sink =
            pixels[0] ^ pixels[static_cast<std::size_t>(height - 1) * stride + (width - 1) * 4 + 3];
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string text;
    if (data[0] & 1) {
        text.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    } else {
        static const char digits[] = "0123456789abcdef";
        for (std::size_t i = 1; i < size; ++i) {
            text += digits[data[i] >> 4];
            text += digits[data[i] & 15];
        }
        text += '}';
    }
    ScrivoExtensionObject* object = scrivoole::newExtensionObject(1, nullptr, nullptr);
    Reader reader{{&kReaderOps}, &text, 0};
    object->ops->LoadRtf(object, &reader.base, 0);
    ScrivoRect r{};
    object->ops->GetRect(object, &r);
    ScrivoDeviceContext screen{SCRIVOOLE_RC_BITBLT, 96, 96, draw, nullptr};
    ScrivoDeviceContext printer{
        SCRIVOOLE_RC_BITBLT | SCRIVOOLE_RC_BANDING | SCRIVOOLE_RC_STRETCHBLT, 100, 100, draw,
        nullptr};
    object->ops->Paint(object, &screen, 0, 0);
    // Printing rasterises the whole rectangle: only small ones, to keep the runs many.
    if (1LL * r.right * r.bottom <= 256 * 256) object->ops->Paint(object, &printer, 0, 0);
    ScrivoRtfWriter writer{&kWriterOps, static_cast<std::int32_t>(data[0] & 2)};
    object->ops->SaveRtf(object, &writer, "RTF");
    object->ops->Destroy(object, 1);
    return 0;
}
