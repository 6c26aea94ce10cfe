// The registry export reader with any bytes, then a walk over every key it made.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "RegistryStore.h"

namespace {

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
    auto tree = scrivoole::parseRegistryExport(
        std::string_view(reinterpret_cast<const char*>(data), size));
    walk(*tree, tree->root(), 0);
    return 0;
}
