#include "TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cstdlib>
#endif

namespace scrivoole {

namespace fs = std::filesystem;

namespace {

unsigned long currentProcess() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

std::string makeFolder() {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) return {};
#ifdef _WIN32
    // No mkdtemp here: a random name, and CreateDirectory fails on one that exists already.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "scrivoole-%08x%08x", random(), random());
        const fs::path folder = base / name;
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder.string();
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
#else
    std::string folder = (base / "scrivoole-XXXXXX").string();
    return ::mkdtemp(folder.data()) ? folder : std::string();
#endif
}

}  // namespace

std::string TempFolder::path() {
    // A process forked from the one that made the folder makes its own.
    if (!path_.empty() && owner_ == currentProcess()) return path_;
    path_ = makeFolder();
    owner_ = currentProcess();
    return path_;
}

std::string TempFolder::subfolder(const std::string& name) {
    const std::string top = path();
    if (top.empty()) return {};
    std::error_code ec;
    const fs::path folder = fs::path(top) / name;
    fs::create_directory(folder, ec);
    if (ec) return {};
    fs::permissions(folder, fs::perms::owner_all, ec);
    return folder.string();
}

bool TempFolder::holds(const std::string& path) const {
    if (path_.empty() || owner_ != currentProcess()) return false;
    const fs::path inside = fs::path(path).lexically_normal();
    const fs::path top = fs::path(path_).lexically_normal();
    const auto [end, at] = std::mismatch(top.begin(), top.end(), inside.begin(), inside.end());
    return end == top.end() && at != inside.end();
}

void TempFolder::remove() noexcept {
    try {
        if (path_.empty() || owner_ != currentProcess()) return;
        std::error_code ec;
        fs::remove_all(path_, ec);
        path_.clear();
    } catch (...) {
    }
}

}  // namespace scrivoole
