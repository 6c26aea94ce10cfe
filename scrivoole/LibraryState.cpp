#include "LibraryState.h"

#include "Platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>
#endif

namespace scrivoole {

LibraryState& state() {
    static LibraryState s;
    return s;
}

void showErrorBox(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text += "\r\n";
        text += line;
    }
    if (auto hook = state().hooks.showError) {
        hook(state().hooks.context, text.c_str());
        return;
    }
    platform::showError(text);
}

#ifdef _WIN32

void* moduleExport(ScrivoModule module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

std::string moduleFileName(ScrivoModule module) {
    char buffer[MAX_PATH] = {};
    if (module) GetModuleFileNameA(static_cast<HMODULE>(module), buffer, sizeof buffer);
    return buffer;
}

#else

// A null module would mean "every loaded object" to dlsym; the host must name its own.
void* moduleExport(ScrivoModule module, const char* name) {
    if (!module) return nullptr;
    return dlsym(module, name);
}

std::string moduleFileName(ScrivoModule module) {
    struct link_map* map = nullptr;
    if (module && dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name)
        return map->l_name;
    // The main program's entry carries no name.
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

#endif

}  // namespace scrivoole
