// SaveRtf and LoadRtf: an embedded object as a rich-text \object group.
#include <algorithm>
#include <fstream>
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

// Passes text to the control's writer in pieces of at most 12000 characters; the first write
// that fails fails the rest.
class RtfOut final {
  public:
    explicit RtfOut(ScrivoRtfWriter* writer) : writer_(writer) {}

    bool write(std::string_view text) {
        while (ok_ && !text.empty()) {
            const std::string_view piece = text.substr(0, kPiece);
            ok_ = writer_->ops->write(writer_, piece.data(),
                                      static_cast<std::int32_t>(piece.size())) == 0;
            text.remove_prefix(piece.size());
        }
        return ok_;
    }

    // Bytes as lower-case hexadecimal pairs; with line breaks, a carriage return and line feed
    // after every 80 digits, counted over all the calls that write one object.
    bool hex(const std::uint8_t* data, std::size_t size, bool lineBreaks) {
        static const char digits[] = "0123456789abcdef";
        std::string buffer;
        buffer.reserve(kPiece);
        std::size_t& count = digits_;
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
    std::size_t digits_ = 0;
};

// An object's bytes as LoadRtf reads them: in memory up to the limit, beyond it in a file of
// the library's temporary folder, so that an object of any size is kept whole while memory
// holds a piece of it at most.
class ObjectBytes final {
  public:
    explicit ObjectBytes(Item& item) : item_(item) {}

    void add(std::uint8_t byte) {
        ++size_;
        if (!spilled_ && bytes_.size() < objectBytesInMemory()) {
            bytes_.push_back(byte);
            return;
        }
        if (!spilled_) spill();
        if (lost_) return;
        bytes_.push_back(byte);
        if (bytes_.size() == kSpillPiece) flush();
    }

    // The bytes into the item: kept in memory, in the file, or refused.
    void finish() {
        if (!spilled_) {
            if (!parseOle1(bytes_.data(), bytes_.size(), item_.object)) {
                item_.unreadable = true;
                item_.unreadableBytes = std::move(bytes_);
            }
            return;
        }
        flush();
        file_.close();
        item_.unreadable = true;
        item_.refused = lost_ || !file_;
        if (item_.refused) {
            showErrorBox({"ScrivoOLE: an embedded object of more than 256 MiB could not be kept,",
                          "as the temporary folder could not hold it. It cannot be saved; delete",
                          "it to save the rest of the document."});
            return;
        }
        item_.unreadableFile = path_;
        item_.unreadableFileSize = size_;
    }

  private:
    static constexpr std::size_t kSpillPiece = 64u << 10;

    void spill() {
        spilled_ = true;
        const std::string folder = ContainerDocument::instance().itemFolder(item_);
        if (!folder.empty()) {
            path_ = folder + "/object.bin";
            file_.open(path_, std::ios::binary | std::ios::trunc);
        }
        flush();
        std::vector<std::uint8_t>().swap(bytes_);
        bytes_.reserve(kSpillPiece);
    }

    void flush() {
        if (!lost_ && file_.is_open())
            file_.write(reinterpret_cast<const char*>(bytes_.data()),
                        static_cast<std::streamsize>(bytes_.size()));
        lost_ = lost_ || !file_.is_open() || !file_;
        bytes_.clear();
    }

    Item& item_;
    std::vector<std::uint8_t> bytes_;
    std::uint64_t size_ = 0;
    bool spilled_ = false;
    bool lost_ = false;
    std::string path_;
    std::ofstream file_;
};

// The bytes kept in a file, written as they were read: the whole file, of the size it had, or
// a failure, never part of it.
bool hexFromFile(RtfOut& out, const Item& item, bool lineBreaks) {
    std::ifstream in(item.unreadableFile, std::ios::binary);
    std::vector<std::uint8_t> piece(64u << 10);
    std::uint64_t left = item.unreadableFileSize;
    while (in && left > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size()));
        in.read(reinterpret_cast<char*>(piece.data()), static_cast<std::streamsize>(n));
        if (static_cast<std::size_t>(in.gcount()) != n || !out.hex(piece.data(), n, lineBreaks))
            return false;
        left -= n;
    }
    return left == 0 && in && in.peek() == std::ifstream::traits_type::eof();
}

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
    const auto metafile =
        metafileWithBitmap(contentPicture(item), static_cast<int>(w), static_cast<int>(h));
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

std::size_t& objectBytesInMemory() {
    static std::size_t limit = 256u << 20;
    return limit;
}

std::int32_t SCRIVOOLE_CALL saveRtf(ScrivoExtensionObject* object, ScrivoRtfWriter* writer,
                                    const char* format) {
    Item* item = itemOf(object);
    if (!item || item->refused || !writer || !writer->ops || !writer->ops->write) return 0;
    const bool compact = writer->compact != 0;
    RtfOut out(writer);
    if (!out.write(compact ? "{\\object\\objemb{\\*\\objdata "
                           : "{\\object\\objemb{\\*\\objdata \r\n"))
        return 0;
    if (!item->unreadableFile.empty()) {
        if (!hexFromFile(out, *item, !compact)) return 0;
    } else {
        const auto data = objectData(object, *item);
        if (!out.hex(data.data(), data.size(), !compact)) return 0;
    }
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
    ObjectBytes bytes(item);
    std::int32_t stop = 0;
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
        bytes.add(static_cast<std::uint8_t>(high << 4 | v));
        high = -1;
    }

    bytes.finish();
    if (MetafileView view;
        !item.unreadable && presentationMetafile(item.object.presentation, view)) {
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
