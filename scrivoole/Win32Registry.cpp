// The system's class registry, for the Windows build.
#ifdef _WIN32
#include <windows.h>

#include <vector>

#include "RegistryStore.h"

namespace scrivoole {

namespace {

class SystemRegistry final : public RegistryStore {
  public:
    KeyHandle root() override { return reinterpret_cast<KeyHandle>(HKEY_CLASSES_ROOT); }

    bool open(KeyHandle parent, std::string_view name, KeyHandle& key) override {
        const std::string n(name);
        HKEY k = nullptr;
        if (RegOpenKeyExA(hkey(parent), n.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
        key = reinterpret_cast<KeyHandle>(k);
        return true;
    }

    bool subkeyName(KeyHandle key, std::uint32_t index, std::string& name) override {
        char buffer[256];
        if (RegEnumKeyA(hkey(key), index, buffer, sizeof buffer) != ERROR_SUCCESS) return false;
        name = buffer;
        return true;
    }

    bool defaultValue(KeyHandle key, std::string_view subkey, std::string& value) override {
        const std::string sub(subkey);
        LONG size = 0;
        const char* name = sub.empty() ? nullptr : sub.c_str();
        if (RegQueryValueA(hkey(key), name, nullptr, &size) != ERROR_SUCCESS) return false;
        if (size <= 0 || size > (1 << 20)) {
            value.clear();
            return size <= 0;
        }
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
        if (RegQueryValueA(hkey(key), name, buffer.data(), &size) != ERROR_SUCCESS) return false;
        value.assign(buffer.data());
        return true;
    }

    void close(KeyHandle key) override {
        if (key != root()) RegCloseKey(hkey(key));
    }

  private:
    static HKEY hkey(KeyHandle key) { return reinterpret_cast<HKEY>(key); }
};

}  // namespace

std::unique_ptr<RegistryStore> openSystemRegistry() {
    return std::make_unique<SystemRegistry>();
}

}  // namespace scrivoole
#endif
