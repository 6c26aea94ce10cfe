#include "Registry.h"

#include <sys/stat.h>
#include <cstdlib>
#include <exception>
#include <sstream>

#include "MimeRegistry.h"

namespace scrivoole {

namespace {

// The registry of a file that cannot be read, and of a read that ran out of memory: no keys.
// It allocates nothing, so it can always be answered from.
class UnreadableStore final : public RegistryStore {
  public:
    KeyHandle root() override { return 1; }
    bool open(KeyHandle, std::string_view, KeyHandle&) override { return false; }
    bool subkeyName(KeyHandle, std::uint32_t, std::string&) override { return false; }
    bool defaultValue(KeyHandle, std::string_view, std::string&) override { return false; }
    void close(KeyHandle) override {}
};

struct StoreCache {
    std::string choice;
    std::unique_ptr<RegistryStore> store;
    std::uint64_t generation = 0;
};

StoreCache& cache() {
    static StoreCache c;
    return c;
}

std::string environment(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// What identifies the store in force: the file with its size and time, or the desktop folders.
std::string currentChoice() {
    const std::string file = environment("SCRIVOOLE_REGISTRY");
    if (!file.empty()) {
        struct stat st {};
        if (::stat(file.c_str(), &st) != 0) return "file\n" + file + "\nmissing";
        std::ostringstream id;
        id << "file\n"
           << file << '\n'
           << st.st_size << '\n'
           << st.st_mtime << '\n'
#if defined(__linux__)
           << st.st_mtim.tv_nsec << '\n'
#endif
           << st.st_ino;
        return id.str();
    }
#ifdef _WIN32
    return "system";
#else
    return "desktop\n" + environment("XDG_DATA_HOME") + '\n' + environment("XDG_DATA_DIRS") + '\n' +
           environment("XDG_CONFIG_HOME") + '\n' + environment("XDG_CONFIG_DIRS") + '\n' +
           environment("HOME");
#endif
}

std::unique_ptr<RegistryStore> loadStore() {
    const std::string file = environment("SCRIVOOLE_REGISTRY");
    if (!file.empty()) return readRegistryExport(file);
#ifdef _WIN32
    return openSystemRegistry();
#else
    return loadDesktopRegistry(desktopDirsFromEnvironment());
#endif
}

}  // namespace

Registry Registry::current() {
    static UnreadableStore unreadable;
    auto& c = cache();
    std::string choice = currentChoice();
    if (choice != c.choice || c.generation == 0) {
        c.store.reset();
        c.choice.clear();
        ++c.generation;
        // Out of memory the registry reads as unreadable this time and is read again next
        // time; a file refused for its limits stays refused until it changes.
        try {
            c.store = loadStore();
            c.choice = std::move(choice);
        } catch (const std::exception&) {
            c.store.reset();
        }
    }
    return Registry(c.store ? c.store.get() : &unreadable);
}

std::uint64_t Registry::generation() {
    return cache().generation;
}

bool Registry::enumerate(KeyHandle key, std::uint32_t index, std::string& name) {
    ++operations_;
    return store_->subkeyName(key, index, name) && name.size() < kNameBuffer;
}

std::string Registry::value(KeyHandle key, std::string_view subkey, std::size_t buffer) {
    ++operations_;
    std::string v;
    if (!store_->defaultValue(key, subkey, v) || v.size() >= buffer) return {};
    return v;
}

bool Registry::firstLevelValue(std::string_view name, std::string& value) {
    const KeyHandle r = root();
    std::string key;
    for (std::uint32_t i = 0; enumerate(r, i, key); ++i) {
        if (!equalsIgnoringCase(key, name)) continue;
        value = this->value(r, key);
        return true;
    }
    return false;
}

std::string Registry::fileTypeOfExtension(std::string_view extension) {
    std::string key(1, '.'), type;
    key += extension;
    if (extension.empty() || !firstLevelValue(key, type)) type.clear();
    return type;
}

}  // namespace scrivoole
