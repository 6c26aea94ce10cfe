#include "RegistryWalker.h"

#include <unordered_map>

#include "LibraryState.h"

namespace scrivoole {

RegistryWalker::RegistryWalker(Registry registry, Mode mode, std::int32_t target)
    : registry_(registry), mode_(mode), target_(target) {}

bool RegistryWalker::skippedAtFirstLevel(const std::string& name) const {
    return mode_ == Mode::Server &&
           ((!name.empty() && name[0] == '.') || equalsIgnoringCase(name, "CLSID") ||
            equalsIgnoringCase(name, "Interface"));
}

bool RegistryWalker::walk(std::uint32_t startPosition, std::int32_t startCounter) {
    counter = startCounter;
    const KeyHandle root = registry_.root();
    std::string name;
    std::uint32_t pos = startPosition;
    for (; registry_.enumerate(root, pos, name); ++pos) {
        if (skippedAtFirstLevel(name)) continue;
        position = static_cast<std::int32_t>(pos);
        if (visit(root, name, 0)) return true;
    }
    position = static_cast<std::int32_t>(pos);
    counterAtPosition = counter;
    return false;
}

bool RegistryWalker::walkOne(std::string_view wanted) {
    const KeyHandle root = registry_.root();
    std::string name;
    for (std::uint32_t pos = 0; registry_.enumerate(root, pos, name); ++pos)
        if (equalsIgnoringCase(name, wanted)) return walkAt(pos, name);
    return false;
}

bool RegistryWalker::walkAt(std::uint32_t at, const std::string& name) {
    if (skippedAtFirstLevel(name)) return false;
    position = static_cast<std::int32_t>(at);
    return visit(registry_.root(), name, 0);
}

bool RegistryWalker::visit(KeyHandle parent, const std::string& name, int depth) {
    path_[depth] = name;
    value = registry_.value(parent, name);
    if (depth == 0) state().lastFirstLevelValue = value;
    if (mode_ == Mode::Plain) {
        ++counter;
    } else if (depth == 3 && equalsIgnoringCase(path_[1], "Protocol") &&
               equalsIgnoringCase(path_[2], "StdFileEditing") &&
               equalsIgnoringCase(path_[3], "Server") && !value.empty()) {
        serverPath = value;
        ++counter;
    }
    if (depth == 0) counterAtPosition = counter;
    if (counter == target_) {
        mark = depth;
        return true;
    }
    if (depth + 1 >= kMaxDepth) return false;
    KeyHandle key = 0;
    if (mode_ == Mode::Server && depth == 0) {
        KeyHandle clsid = 0;
        if (!registry_.open(parent, name, key)) return false;
        const bool hasClassId = registry_.open(key, "CLSID", clsid);
        if (hasClassId) registry_.close(clsid);
        if (!hasClassId) {
            registry_.close(key);
            return false;
        }
    } else if (!registry_.open(parent, name, key)) {
        return false;
    }
    // In server mode only the keys on the way to a server entry can count, so the walk enters
    // no other; the keys it passes over could neither be counted nor end the search.
    static const char* const serverPathNames[] = {"Protocol", "StdFileEditing", "Server"};
    std::string childName;
    bool ended = false;
    for (std::uint32_t i = 0; !ended && registry_.enumerate(key, i, childName); ++i) {
        if (mode_ == Mode::Server &&
            (depth >= 3 || !equalsIgnoringCase(childName, serverPathNames[depth])))
            continue;
        ended = visit(key, childName, depth + 1);
    }
    registry_.close(key);
    return ended;
}

std::string RegistryWalker::foundPath() const {
    std::string out;
    for (int i = 0; i <= mark; ++i) {
        out += path_[i];
        out += '\\';
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> fileTypesWithPatterns(Registry registry) {
    std::vector<std::pair<std::string, std::string>> types;
    std::unordered_map<std::string, std::size_t> indexOfType;
    const KeyHandle root = registry.root();
    std::string name;
    for (std::uint32_t i = 0; registry.enumerate(root, i, name); ++i) {
        if (name.empty() || name[0] != '.') continue;
        const std::string type = registry.value(root, name);
        if (type.empty()) continue;
        auto [known, added] = indexOfType.try_emplace(foldCase(type), types.size());
        if (added) {
            types.emplace_back(type, "*" + name);
        } else {
            types[known->second].second += ";*" + name;
        }
    }
    return types;
}

std::vector<platform::ServerEntry> registeredServers(Registry registry) {
    std::vector<platform::ServerEntry> servers;
    // A class is listed when a server walk of its key alone counts a server entry. The key is
    // walked where the enumeration found it: looking it up by name again would make the list
    // cost the square of the registry's size.
    std::string name;
    for (std::uint32_t i = 0; registry.enumerate(registry.root(), i, name); ++i) {
        RegistryWalker one(registry, RegistryWalker::Mode::Server, 1000000);
        one.walkAt(i, name);
        if (one.counter >= 0) servers.push_back({name, state().lastFirstLevelValue});
    }
    return servers;
}

}  // namespace scrivoole
