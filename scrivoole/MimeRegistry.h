#pragma once
// The desktop's file-type database (the shared MIME database and the installed applications)
// projected into the shape of the class registry; see README.md for the projection.
#include <memory>
#include <string>
#include <vector>

#include "RegistryStore.h"

namespace scrivoole {

struct DesktopDirs {
    std::vector<std::string> data;    // XDG data folders, the most important first
    std::vector<std::string> config;  // XDG configuration folders, likewise
};

DesktopDirs desktopDirsFromEnvironment();
std::unique_ptr<KeyTree> loadDesktopRegistry(const DesktopDirs& dirs);

// The class identifier of a file type: stable across runs and machines, derived from the name.
std::string classIdForType(const std::string& type);

}  // namespace scrivoole
