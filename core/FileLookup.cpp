#include "core/FileLookup.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace vasora {

bool sameFileName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string findFileNoCase(const std::string& path) {
    std::error_code ec;
    const fs::path p(path);
    if (path.empty() || fs::exists(p, ec)) return path;
    fs::path dir = p.parent_path();
    const std::string leaf = p.filename().string();
    if (leaf.empty()) return path;
    // The folder itself may be spelled in another case too ("lab book\" for "Lab Book\").
    if (!dir.empty() && !fs::exists(dir, ec)) {
        const std::string found = findFileNoCase(dir.string());
        if (found == dir.string()) return path;
        dir = found;
    }
    std::vector<std::string> matches;
    for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (sameFileName(name, leaf)) matches.push_back(name);
    }
    if (matches.empty()) return path;
    std::sort(matches.begin(), matches.end());
    return (dir / matches.front()).string();
}

bool fileExistsNoCase(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(findFileNoCase(path), ec);
}

}  // namespace vasora
