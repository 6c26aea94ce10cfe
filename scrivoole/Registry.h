#pragma once
// The registry as the queries use it: the store in force and the four operations with the
// buffer sizes of the registry calls, applied alike to every store.
#include <cstdint>
#include <string>
#include <string_view>

#include "RegistryStore.h"

namespace scrivoole {

class Registry final {
  public:
    // Names and values are read into buffers of 80 bytes: a subkey name of 80 bytes or more
    // ends the enumeration of its siblings; a value of 80 bytes or more reads as empty.
    static constexpr std::size_t kNameBuffer = 80;
    static constexpr std::size_t kValueBuffer = 80;

    // The store in force: the export file named by SCRIVOOLE_REGISTRY, else the platform's
    // own. It is read again when that choice or the file changes.
    static Registry current();
    // Changes whenever the store in force was read anew; position records of an older
    // generation are void.
    static std::uint64_t generation();

    // The calls made of the four operations so far: what the queries cost, which the tests
    // count to show how a walk grows with the registry.
    static std::uint64_t operations() { return operations_; }

    KeyHandle root() { return store_->root(); }
    bool open(KeyHandle parent, std::string_view name, KeyHandle& key) {
        ++operations_;
        return store_->open(parent, name, key);
    }
    bool enumerate(KeyHandle key, std::uint32_t index, std::string& name);
    // The default value of a subkey; empty when absent or when it does not fit the buffer.
    std::string value(KeyHandle key, std::string_view subkey, std::size_t buffer = kValueBuffer);
    void close(KeyHandle key) { store_->close(key); }

    // The default value of a first-level key found by enumeration, ignoring case; false when
    // there is none.
    bool firstLevelValue(std::string_view name, std::string& value);
    // GET_EXTASS: the file type of an extension given without its dot, or "" when there is
    // none or the extension is empty.
    std::string fileTypeOfExtension(std::string_view extension);

  private:
    explicit Registry(RegistryStore* store) : store_(store) {}
    RegistryStore* store_;
    static inline std::uint64_t operations_ = 0;
};

}  // namespace scrivoole
