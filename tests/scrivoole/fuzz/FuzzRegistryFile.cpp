// The registry export reader with any bytes, then a walk over every key it made. The first byte
// chooses the limits (the file's own, or limits low enough for short inputs to reach every one
// of them) and how many bytes each read of the file gives, so that lines, CR LF pairs and
// UTF-16 surrogate pairs fall across the pieces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ExportLines.h"
#include "RegistryStore.h"

namespace {

class Pieces final : public scrivoole::ByteSource {
  public:
    Pieces(std::string_view bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}
    long long read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, piece_, bytes_.size()});
        bytes_.copy(buffer, n);
        bytes_.remove_prefix(n);
        return static_cast<long long>(n);
    }

  private:
    std::string_view bytes_;
    std::size_t piece_;
};

void walk(scrivoole::RegistryStore& store, scrivoole::KeyHandle key, int depth) {
    std::string name, value;
    for (std::uint32_t i = 0; depth < 60 && store.subkeyName(key, i, name); ++i) {
        store.defaultValue(key, name, value);
        scrivoole::KeyHandle child = 0;
        if (store.open(key, name, child)) {
            walk(store, child, depth + 1);
            store.close(child);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    scrivoole::ExportLimits limits;
    if (data[0] & 1) {
        limits.fileBytes = 32768;
        limits.lineBytes = 64;
        limits.keyDepth = 4;
        limits.nameCharacters = 8;
        limits.keys = 40;
    }
    const std::size_t piece = (data[0] >> 1) % 8 == 0 ? 65536 : (data[0] >> 1) % 8;
    Pieces source(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), piece);
    if (auto tree = scrivoole::readRegistryExport(source, limits)) walk(*tree, tree->root(), 0);
    return 0;
}
