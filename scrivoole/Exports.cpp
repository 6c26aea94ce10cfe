// The exported functions: binding to the control, extension objects and registry queries.
#include <sys/stat.h>

#include "ByteString.h"
#include "ExtensionObject.h"
#include "LibraryState.h"
#include "Registry.h"
#include "RegistryWalker.h"

#ifndef SCRIVOOLE_VERSION
#define SCRIVOOLE_VERSION "0.0.0"
#endif

using namespace scrivoole;

namespace {

ScrivoString emptyResult(ScrivoString* out) {
    replaceOut(out, "");
    return allocString("");
}

bool resumes(const ResumeRecord& record, std::int32_t index) {
    return record.enabled && record.generation == Registry::generation() &&
           index == record.lastIndex + 1 && record.position >= 0;
}

// A walk to the index-th key, going on from where the previous one ended when the index is
// the next one; resumeAdjust sets the counter back to its value before that first-level key.
RegistryWalker search(ResumeRecord& record, RegistryWalker::Mode mode, std::int32_t index,
                      std::int32_t resumeAdjust) {
    RegistryWalker walker(Registry::current(), mode, index);
    state().lastFirstLevelValue.clear();
    walker.found = resumes(record, index) ? walker.walk(static_cast<std::uint32_t>(record.position),
                                                        record.counter + resumeAdjust)
                                          : walker.walk(0, -1);
    record.lastIndex = index;
    record.position = walker.position;
    record.counter = walker.counterAtPosition;
    record.generation = Registry::generation();
    return walker;
}

// The bodies of the exports, which may throw; the exports below run them guarded.

std::int32_t bindToModule(ScrivoModule module, std::int32_t previous, std::int32_t* slot) {
    auto& s = state();
    s.controlCallback =
        reinterpret_cast<ScrivoGetHwndControlFn>(moduleExport(module, "SCRIVO_GETHWNDCONTROL"));
    s.sendMessage =
        reinterpret_cast<ScrivoSendMessageFn>(moduleExport(module, "SCRIVO_SENDMESSAGE"));
    if (!s.controlCallback) showErrorBox({"No found SCRIVO_GETHWNDCONTROL in", "Scrivo40h"});
    if (previous != 0) {
        showErrorBox({"ScrivoOLE SET_OLDCREATOR : old module handler NOT NULL"});
        return 0;
    }
    if (slot) *slot = 0;
    return 1;
}

ScrivoExtensionObject* newObject(std::uint32_t window, std::int32_t version) {
    auto& s = state();
    if (window == 0 || version != 3 || !s.controlCallback) return nullptr;
    void* parent = s.controlCallback(window);
    if (!parent) return nullptr;
    return newExtensionObject(window, parent, s.sendMessage);
}

ScrivoExtensionObject* newObjectOfModule(ScrivoModule module, std::uint32_t window,
                                         std::int32_t version) {
    auto& s = state();
    auto callback =
        reinterpret_cast<ScrivoGetHwndControlFn>(moduleExport(module, "SCRIVO_GETHWNDCONTROL"));
    auto send = reinterpret_cast<ScrivoSendMessageFn>(moduleExport(module, "SCRIVO_SENDMESSAGE"));
    if (!callback && !s.missingExportShown) {
        showErrorBox({"No found SCRIVO_GETHWNDCONTROL in", moduleFileName(module)});
        s.missingExportShown = true;
        return nullptr;
    }
    const auto savedCallback = s.controlCallback;
    const auto savedSend = s.sendMessage;
    s.controlCallback = callback;
    s.sendMessage = send;
    ScrivoExtensionObject* object = newObject(window, version);
    s.controlCallback = savedCallback;
    s.sendMessage = savedSend;
    return object;
}

std::int32_t setHostName(const char* name) {
    const std::string_view text = argument(name).substr(0, kMaxHostName);
    state().objectHostName.assign(text);
    return static_cast<std::int32_t>(text.size());
}

ScrivoString registryRecord(std::int32_t index, ScrivoString* value) {
    if (index < 0) return emptyResult(value);
    // Re-visiting the first-level key counts it again, hence one less.
    const RegistryWalker walker =
        search(state().registryRecord, RegistryWalker::Mode::Plain, index, -1);
    if (!walker.found) return emptyResult(value);
    replaceOut(value, walker.value);
    return allocString(walker.foundPath());
}

ScrivoString serverName(std::int16_t index, ScrivoString* server) {
    if (index < 0) return emptyResult(server);
    // First-level keys are not counted in server mode: the counter resumes as it was.
    const RegistryWalker walker =
        search(state().serverRecord, RegistryWalker::Mode::Server, index, 0);
    if (!walker.found) return emptyResult(server);
    replaceOut(server, walker.serverPath);
    return allocString(walker.firstLevelName());
}

std::int16_t isServer(std::string_view name, ScrivoString* server) {
    RegistryWalker walker(Registry::current(), RegistryWalker::Mode::Server, 1000000);
    walker.walkOne(name);
    if (walker.counter < 0) {
        replaceOut(server, "");
        return 0;
    }
    replaceOut(server, walker.serverPath);
    return -1;
}

ScrivoString fileType(std::int16_t index, ScrivoString* types) {
    if (index < 0) return emptyResult(types);
    const auto list = fileTypesWithPatterns(Registry::current());
    if (static_cast<std::size_t>(index) >= list.size()) return emptyResult(types);
    replaceOut(types, list[static_cast<std::size_t>(index)].second);
    return allocString(list[static_cast<std::size_t>(index)].first);
}

ScrivoString firstLevelValue(const char* name) {
    const std::string_view n = argument(name);
    std::string value;
    if (n.empty() || !Registry::current().firstLevelValue(n, value)) value.clear();
    return allocString(value);
}

std::int16_t fileLoadable(const char* path) {
    const std::string_view p = argument(path);
    if (p.empty()) return 0;
    // An existence test only; a folder is not a file to load.
    struct stat st {};
    const std::string file(p);
    return ::stat(file.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) ? -1 : 0;
}

// The answers of an export that failed.
ScrivoExtensionObject* noObject() {
    return nullptr;
}
std::int32_t zero() {
    return 0;
}
std::int16_t no() {
    return 0;
}
ScrivoString noText() {
    return allocString("");
}

}  // namespace

SCRIVOOLE_API int32_t SCRIVOOLE_CALL GET_EXTOBJ_VERSION(void) {
    return 3;
}

SCRIVOOLE_API void SCRIVOOLE_CALL GET_RTFOPER(int32_t* slot) {
    if (slot) *slot = 0;
}

SCRIVOOLE_API int32_t SCRIVOOLE_CALL ITS_I(const char* name) {
    return equalsIgnoringCase(argument(name), "ScrivoOLE.DLL") ? 1 : 0;
}

SCRIVOOLE_API int32_t SCRIVOOLE_CALL SET_OLDCREATOR(ScrivoModule module, int32_t previous,
                                                    int32_t* slot) {
    return guarded(zero, [&] { return bindToModule(module, previous, slot); });
}

SCRIVOOLE_API ScrivoExtensionObject* SCRIVOOLE_CALL New_EXTOBJ(uint32_t window, int32_t,
                                                               int32_t version) {
    return guarded(noObject, [&] { return newObject(window, version); });
}

SCRIVOOLE_API ScrivoExtensionObject* SCRIVOOLE_CALL New_EXTOBJEX(ScrivoModule module,
                                                                 uint32_t window, int32_t,
                                                                 int32_t version) {
    return guarded(noObject, [&] { return newObjectOfModule(module, window, version); });
}

SCRIVOOLE_API int32_t SCRIVOOLE_CALL SET_OBJECTHOSTNAME(const char* name) {
    return guarded(zero, [&] { return setHostName(name); });
}

SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_REGISTRYRECORD(int32_t index, ScrivoString* value) {
    return guarded([&] { return emptyResult(value); },
                   [&] { return registryRecord(index, value); });
}

SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_OLESERVERNAME(int16_t index, ScrivoString* server) {
    return guarded([&] { return emptyResult(server); }, [&] { return serverName(index, server); });
}

SCRIVOOLE_API int16_t SCRIVOOLE_CALL IS_OLESERVER(const char* className, ScrivoString* server) {
    const std::string_view name = argument(className);
    if (name.empty()) return 0;
    const auto failed = [&]() -> std::int16_t {
        replaceOut(server, "");
        return 0;
    };
    return guarded(failed, [&] { return isServer(name, server); });
}

SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_ASSEXTENSIONS(int16_t index, ScrivoString* types) {
    return guarded([&] { return emptyResult(types); }, [&] { return fileType(index, types); });
}

SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_EXTASS(const char* ext) {
    return guarded(noText, [&] {
        return allocString(Registry::current().fileTypeOfExtension(argument(ext)));
    });
}

SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_KEYFIRSTLEVELVALUE(const char* name) {
    return guarded(noText, [&] { return firstLevelValue(name); });
}

SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL GET_LASTFIRSTLEVELVALUE(void) {
    return guarded(noText, [] { return allocString(state().lastFirstLevelValue); });
}

SCRIVOOLE_API int16_t SCRIVOOLE_CALL IS_FILELOADABLE(const char* path) {
    return guarded(no, [&] { return fileLoadable(path); });
}

SCRIVOOLE_API ScrivoString SCRIVOOLE_CALL ScrivoOLE_AllocString(const char* bytes,
                                                                uint32_t length) {
    return allocString(bytes ? std::string_view(bytes, length) : std::string_view());
}

SCRIVOOLE_API void SCRIVOOLE_CALL ScrivoOLE_FreeString(ScrivoString text) {
    freeString(text);
}

SCRIVOOLE_API uint32_t SCRIVOOLE_CALL ScrivoOLE_StringLength(ScrivoString text) {
    return stringLength(text);
}

SCRIVOOLE_API const char* SCRIVOOLE_CALL ScrivoOLE_Version(void) {
    return SCRIVOOLE_VERSION;
}

SCRIVOOLE_API void SCRIVOOLE_CALL ScrivoOLE_SetHostHooks(const ScrivoHostHooks* hooks) {
    state().hooks = hooks ? *hooks : ScrivoHostHooks{};
}

SCRIVOOLE_API int32_t SCRIVOOLE_CALL ScrivoOLE_Poll(void) {
    return guarded(zero, [] { return ContainerDocument::instance().pollOpenItems(); });
}
