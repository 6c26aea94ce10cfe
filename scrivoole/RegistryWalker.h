#pragma once
// The depth-first walk of the class registry behind GET_REGISTRYRECORD, GET_OLESERVERNAME and
// IS_OLESERVER, and the other registry queries.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Platform.h"
#include "Registry.h"

namespace scrivoole {

class RegistryWalker final {
  public:
    enum class Mode { Plain, Server };
    // Deeper keys are neither visited nor counted.
    static constexpr int kMaxDepth = 50;

    RegistryWalker(Registry registry, Mode mode, std::int32_t target);

    // Visits the first-level keys from the given enumeration position on, the counter preset.
    // True when the search ended at the target.
    bool walk(std::uint32_t startPosition, std::int32_t counter);
    // Visits and descends the one first-level key equal to name (server-mode skips apply).
    bool walkOne(std::string_view name);
    // The same for the first-level key the caller's enumeration found at that position.
    bool walkAt(std::uint32_t position, const std::string& name);

    // "A\B\C\": the path from the first level to the key where the search ended.
    std::string foundPath() const;
    const std::string& firstLevelName() const { return path_[0]; }

    std::int32_t counter = -1;
    bool found = false;
    int mark = 0;
    std::string value;                   // default value of the key visited last
    std::string serverPath;              // value of the server entry counted last
    std::int32_t position = 0;           // first-level key where the walk ended
    std::int32_t counterAtPosition = 0;  // the counter once that key was visited

  private:
    bool visit(KeyHandle parent, const std::string& name, int depth);
    bool skippedAtFirstLevel(const std::string& name) const;

    Registry registry_;
    Mode mode_;
    std::int32_t target_;
    std::array<std::string, kMaxDepth> path_;
};

// GET_ASSEXTENSIONS: file types with their patterns ("*.txt;*.log"), in order of first
// appearance of the type among the extension keys.
std::vector<std::pair<std::string, std::string>> fileTypesWithPatterns(Registry registry);

// The classes the insert-object dialog offers: those whose key alone counts a server entry in
// a server walk, with their display names (their default values).
std::vector<platform::ServerEntry> registeredServers(Registry registry);

}  // namespace scrivoole
