#pragma once
// The library's process-wide state. The control calls the library from its user-interface
// thread only, so nothing here is guarded.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "ScrivoOLE.h"

namespace scrivoole {

// Where the last sequential search ended, so that asking for index + 1 goes on from there.
struct ResumeRecord {
    bool enabled = true;
    std::int32_t lastIndex = -100;
    std::int32_t position = -100;  // first-level key where the search ended
    std::int32_t counter = -100;   // the walk's counter at that key
    std::uint64_t generation = 0;  // the registry read these positions belong to
};

struct LibraryState {
    ScrivoGetHwndControlFn controlCallback = nullptr;
    ScrivoSendMessageFn sendMessage = nullptr;
    bool missingExportShown = false;
    std::string objectHostName = "Folium32 Document";
    std::string lastFirstLevelValue;
    ResumeRecord registryRecord;
    ResumeRecord serverRecord;
    std::int32_t objectCounter = 0;
    ScrivoHostHooks hooks{};
};

LibraryState& state();

// The error box: a task-modal warning titled "Error" whose text is each line preceded by a
// carriage return and line feed.
void showErrorBox(std::initializer_list<std::string_view> lines);

// The host module's exports; null when the module or the export is absent.
void* moduleExport(ScrivoModule module, const char* name);
std::string moduleFileName(ScrivoModule module);

constexpr std::size_t kMaxHostName = 128;

// No exception may leave the library through its C interface: the host is no C++ caller and
// would end at once. Every export and every operation of the object's table runs its body
// through here, and a body that throws (out of memory, mostly) gives the failure's answer.
template <typename Failure, typename Body>
auto guarded(Failure&& failure, Body&& body) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        return failure();
    }
}

}  // namespace scrivoole
