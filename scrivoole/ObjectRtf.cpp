// SaveRtf and LoadRtf: an embedded object as a rich-text \object group.
#include <string>
#include <string_view>

#include "ByteString.h"
#include "ExtensionObject.h"
#include "LibraryState.h"
#include "Metafile.h"
#include "RegistryStore.h"

namespace scrivoole {

namespace {

constexpr std::size_t kPiece = 12000;
constexpr std::size_t kHexPerLine = 80;
// Object data beyond this is not kept: such an object is taken as unreadable.
constexpr std::size_t kMaxObjectBytes = 256u << 20;

// Passes text to the control's writer in pieces of at most 12000 characters; the first write
// that fails fails the rest.
class RtfOut final {
public:
    explicit RtfOut(ScrivoRtfWriter* writer) : writer_(writer) {}

    bool write(std::string_view text) {
        while (ok_ && !text.empty()) {
            const std::string_view piece = text.substr(0, kPiece);
            ok_ = writer_->ops->write(writer_, piece.data(), static_cast<std::int32_t>(piece.size())) == 0;
            text.remove_prefix(piece.size());
        }
        return ok_;
    }

    // Bytes as lower-case hexadecimal pairs; with line breaks, a carriage return and line feed
    // after every 80 digits.
    bool hex(const std::uint8_t* data, std::size_t size, bool lineBreaks) {
        static const char digits[] = "0123456789abcdef";
        std::string buffer;
        buffer.reserve(kPiece);
        std::size_t count = 0;
        for (std::size_t i = 0; i < size; ++i) {
            if (buffer.size() + 4 > kPiece) {
                if (!write(buffer)) return false;
                buffer.clear();
            }
            buffer += digits[data[i] >> 4];
            buffer += digits[data[i] & 15];
            count += 2;
            if (lineBreaks && count % kHexPerLine == 0) buffer += "\r\n";
        }
        return buffer.empty() || write(buffer);
    }

private:
    ScrivoRtfWriter* writer_;
    bool ok_ = true;
};

std::vector<std::uint8_t> objectData(ScrivoExtensionObject* object, Item& item) {
    if (item.unreadable) return item.unreadableBytes;
    Ole1Object stored = item.object;
    if (stored.presentation.empty()) {
        const ScrivoRect r = itemRect(object);
        int dpiX = 0, dpiY = 0;
        screenDpi(dpiX, dpiY);
        const std::int32_t w = item.extentX ? item.extentX : pixelsToHimetric(r.right, dpiX);
        const std::int32_t h = item.extentY ? item.extentY : pixelsToHimetric(r.bottom, dpiY);
        stored.presentation =
            metafilePresentation(w, h, metafileWithBitmap(contentPicture(item), r.right, r.bottom));
    }
    return ole1Bytes(stored);
}

bool writePicture(RtfOut& out, ScrivoExtensionObject* object, Item& item) {
    const ScrivoRect r = itemRect(object);
    const long long w = r.right - r.left, h = r.bottom - r.top;
    int dpiX = 0, dpiY = 0;
    screenDpi(dpiX, dpiY);
    const long long twipsW = w * 1440 / dpiX, twipsH = h * 1440 / dpiY;
    const auto himetricW = static_cast<long long>(static_cast<double>(twipsW) * 1.7638888);
    const auto himetricH = static_cast<long long>(static_cast<double>(twipsH) * 1.7638888);
    const auto metafile = metafileWithBitmap(contentPicture(item), static_cast<int>(w),
                                             static_cast<int>(h));
    const std::size_t size = metafileSize(metafile.data(), metafile.size());
    return out.write("{") && out.write("\\pict") && out.write("\\wmetafile") && out.write("8") &&
           out.write("\\picw") && out.write(std::to_string(himetricW)) && out.write("\\pich") &&
           out.write(std::to_string(himetricH)) && out.write("\\picwgoal") &&
           out.write(std::to_string(twipsW)) && out.write("\\pichgoal") &&
           out.write(std::to_string(twipsH)) && out.write(" ") && out.write("\r\n") &&
           out.hex(metafile.data(), size, false) && out.write("}");
}

int hexValue(std::int32_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::int32_t SCRIVOOLE_CALL saveRtf(ScrivoExtensionObject* object, ScrivoRtfWriter* writer,
                                    const char* format) {
    Item* item = itemOf(object);
    if (!item || !writer || !writer->ops || !writer->ops->write) return 0;
    const bool compact = writer->compact != 0;
    RtfOut out(writer);
    if (!out.write(compact ? "{\\object\\objemb{\\*\\objdata " : "{\\object\\objemb{\\*\\objdata \r\n"))
        return 0;
    const auto data = objectData(object, *item);
    if (!out.hex(data.data(), data.size(), !compact)) return 0;
    if (!out.write(compact ? "}" : "\r\n}") || !out.write("{\\result ")) return 0;
    if (equalsIgnoringCase(argument(format), "RTF") && !writePicture(out, object, *item)) return 0;
    return out.write("}}") ? 1 : 0;
}

std::int32_t SCRIVOOLE_CALL loadRtf(ScrivoExtensionObject* object, ScrivoRtfReader* reader,
                                    std::intptr_t) {
    if (Item* old = itemOf(object)) ContainerDocument::instance().deleteItem(old);
    Item& item = ContainerDocument::instance().newItem(object);
    const bool readable = reader && reader->ops && reader->ops->next;

    // Hexadecimal pairs up to the first other character; line breaks are passed over.
    std::vector<std::uint8_t> bytes;
    std::int32_t stop = 0;
    bool tooLarge = false;
    int high = -1;
    while (readable) {
        const std::int32_t c = reader->ops->next(reader);
        if (c <= 0) break;
        if (c == '\r' || c == '\n') continue;
        const int v = hexValue(c);
        if (v < 0) {
            stop = c;
            break;
        }
        if (high < 0) {
            high = v;
            continue;
        }
        if (bytes.size() < kMaxObjectBytes) {
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | v));
        } else {
            tooLarge = true;
        }
        high = -1;
    }

    if (tooLarge || !parseOle1(bytes.data(), bytes.size(), item.object)) {
        item.unreadable = true;
        item.unreadableBytes = std::move(bytes);
    } else if (MetafileView view; presentationMetafile(item.object.presentation, view)) {
        item.extentX = view.width;
        item.extentY = view.height;
    }
    item.hostApplication = "ScrivoObj";
    item.hostDocument = state().objectHostName;

    // The rest of the group up to its closing brace, unless the data already ended there.
    if (readable && stop > 0 && stop != '}') {
        for (std::int32_t c = reader->ops->next(reader); c > 0 && c != '}';
             c = reader->ops->next(reader)) {
        }
    }

    if (item.extentX == 0 || item.extentY == 0) {
        object->updating = 1;
        updateItem(item);
        object->updating = 0;
    }
    return 1;
}

}  // namespace scrivoole
