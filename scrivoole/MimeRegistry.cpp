#include "MimeRegistry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace scrivoole {

namespace fs = std::filesystem;

namespace {

// Files of the database are small; anything larger is not one of them.
constexpr std::uintmax_t kMaxFile = 16u << 20;

std::string readFile(const fs::path& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || size > kMaxFile) return {};
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, sep)) parts.push_back(part);
    return parts;
}

std::vector<std::string> pathList(const char* value, const char* fallback) {
    std::vector<std::string> out;
    const std::string list = value && *value ? value : fallback;
    for (auto& dir : split(list, ':'))
        if (!dir.empty()) out.push_back(dir);
    return out;
}

std::string home(const char* variable, const char* below) {
    if (const char* v = std::getenv(variable); v && *v) return v;
    const char* h = std::getenv("HOME");
    return h && *h ? std::string(h) + below : std::string();
}

// "*.ext" globs only: a glob with wildcards beyond the leading star names no extension.
bool extensionOfGlob(const std::string& glob, std::string& ext) {
    if (glob.size() < 3 || glob[0] != '*' || glob[1] != '.') return false;
    const std::string rest = glob.substr(1);
    if (rest.find_first_of("*?[\\") != std::string::npos) return false;
    ext = rest;
    return true;
}

struct Projection {
    std::map<std::string, std::pair<std::string, std::string>> extensions;  // folded ext
    std::map<std::string, std::string> aliases;
    std::set<std::string> noGlobs;
};

void readGlobs(const std::string& dir, Projection& p) {
    std::string text = readFile(fs::path(dir) / "mime" / "globs2");
    const bool weighted = !text.empty();
    if (!weighted) text = readFile(fs::path(dir) / "mime" / "globs");
    std::set<std::string> clearedHere;
    for (const auto& line : lines(text)) {
        if (line.empty() || line[0] == '#') continue;
        auto fields = split(line, ':');
        if (weighted && !fields.empty()) fields.erase(fields.begin());
        if (fields.size() < 2) continue;
        const std::string& type = fields[0];
        const std::string& glob = fields[1];
        if (p.noGlobs.count(type)) continue;
        if (glob == "__NOGLOBS__") {
            clearedHere.insert(type);
            continue;
        }
        std::string ext;
        if (extensionOfGlob(glob, ext)) p.extensions.try_emplace(foldCase(ext), ext, type);
    }
    // A type cleared in this folder keeps what this folder says but nothing from folders below.
    p.noGlobs.insert(clearedHere.begin(), clearedHere.end());
}

void readAliases(const std::string& dir, Projection& p) {
    for (const auto& line : lines(readFile(fs::path(dir) / "mime" / "aliases"))) {
        const auto space = line.find(' ');
        if (space == std::string::npos) continue;
        p.aliases.try_emplace(foldCase(line.substr(0, space)), line.substr(space + 1));
    }
}

std::string canonical(const Projection& p, const std::string& type) {
    auto found = p.aliases.find(foldCase(type));
    return found == p.aliases.end() ? type : found->second;
}

// The plain <comment> of a type's description: its English display name.
std::string typeComment(const DesktopDirs& dirs, const std::string& type) {
    if (type.find("..") != std::string::npos) return {};
    for (const auto& dir : dirs.data) {
        const std::string xml = readFile(fs::path(dir) / "mime" / (type + ".xml"));
        const auto open = xml.find("<comment>");
        if (open == std::string::npos) continue;
        const auto start = open + 9;
        const auto end = xml.find("</comment>", start);
        if (end == std::string::npos) continue;
        std::string raw = xml.substr(start, end - start), text;
        static const std::pair<const char*, char> entities[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        for (std::size_t i = 0; i < raw.size();) {
            bool replaced = false;
            for (const auto& [name, c] : entities) {
                if (raw.compare(i, std::char_traits<char>::length(name), name) == 0) {
                    text += c;
                    i += std::char_traits<char>::length(name);
                    replaced = true;
                    break;
                }
            }
            if (!replaced) text += raw[i++];
        }
        return text;
    }
    return {};
}

struct Application {
    std::string exec;
    std::vector<std::string> types;
};

// The [Desktop Entry] group of a .desktop file: its command and the types it opens.
bool readDesktopEntry(const fs::path& file, Application& app) {
    bool inEntry = false, hidden = false, isApplication = false;
    for (const auto& line : lines(readFile(file))) {
        if (!line.empty() && line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        std::string value = line.substr(eq + 1);
        while (!value.empty() && value.front() == ' ') value.erase(value.begin());
        if (key == "Type") isApplication = value == "Application";
        if (key == "Hidden") hidden = value == "true";
        if (key == "MimeType")
            for (auto& t : split(value, ';'))
                if (!t.empty()) app.types.push_back(t);
        if (key == "Exec") {
            std::string exec;
            for (std::size_t i = 0; i < value.size(); ++i) {
                if (value[i] == '\\' && i + 1 < value.size()) {
                    const char c = value[++i];
                    exec += c == 's'   ? ' '
                            : c == 't' ? '\t'
                            : c == 'n' ? '\n'
                            : c == 'r' ? '\r'
                                       : c;
                } else {
                    exec += value[i];
                }
            }
            app.exec = exec;
        }
    }
    return isApplication && !hidden && !app.exec.empty();
}

// Installed applications by desktop id; a folder earlier in the list hides the same id later.
std::map<std::string, Application> readApplications(const DesktopDirs& dirs,
                                                    std::vector<std::string>& order) {
    std::map<std::string, Application> apps;
    std::set<std::string> seen;
    for (const auto& dir : dirs.data) {
        const fs::path base = fs::path(dir) / "applications";
        std::error_code ec;
        std::vector<std::pair<std::string, fs::path>> found;
        fs::recursive_directory_iterator it(base, fs::directory_options::skip_permission_denied,
                                            ec);
        for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it.depth() > 4) it.disable_recursion_pending();
            if (it->path().extension() != ".desktop") continue;
            std::string id = it->path().lexically_relative(base).generic_string();
            std::replace(id.begin(), id.end(), '/', '-');
            found.emplace_back(id, it->path());
        }
        std::sort(found.begin(), found.end());
        for (const auto& [id, path] : found) {
            if (!seen.insert(id).second) continue;
            Application app;
            if (!readDesktopEntry(path, app)) continue;
            apps.emplace(id, std::move(app));
            order.push_back(id);
        }
    }
    return apps;
}

// The [Default Applications] choices of the mimeapps.list files, the most important first.
std::map<std::string, std::vector<std::string>> readDefaults(const DesktopDirs& dirs) {
    std::vector<fs::path> files;
    for (const auto& dir : dirs.config) files.push_back(fs::path(dir) / "mimeapps.list");
    for (const auto& dir : dirs.data)
        files.push_back(fs::path(dir) / "applications" / "mimeapps.list");
    std::map<std::string, std::vector<std::string>> defaults;
    for (const auto& file : files) {
        bool inDefaults = false;
        for (const auto& line : lines(readFile(file))) {
            if (!line.empty() && line[0] == '[') {
                inDefaults = line == "[Default Applications]";
                continue;
            }
            const auto eq = line.find('=');
            if (!inDefaults || eq == std::string::npos) continue;
            auto& ids = defaults[foldCase(line.substr(0, eq))];
            for (auto& id : split(line.substr(eq + 1), ';'))
                if (!id.empty()) ids.push_back(id);
        }
    }
    return defaults;
}

std::uint64_t fnv1a(const std::string& text, std::uint64_t basis) {
    std::uint64_t hash = basis;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001B3ull;
    }
    return hash;
}

}  // namespace

DesktopDirs desktopDirsFromEnvironment() {
    DesktopDirs dirs;
    if (auto h = home("XDG_DATA_HOME", "/.local/share"); !h.empty()) dirs.data.push_back(h);
    for (auto& d : pathList(std::getenv("XDG_DATA_DIRS"), "/usr/local/share:/usr/share"))
        dirs.data.push_back(d);
    if (auto h = home("XDG_CONFIG_HOME", "/.config"); !h.empty()) dirs.config.push_back(h);
    for (auto& d : pathList(std::getenv("XDG_CONFIG_DIRS"), "/etc/xdg")) dirs.config.push_back(d);
    return dirs;
}

std::string classIdForType(const std::string& type) {
    const std::string folded = foldCase(type);
    std::uint64_t hi = fnv1a(folded, 0xCBF29CE484222325ull);
    std::uint64_t lo = fnv1a(folded, 0x6C62272E07BB0142ull);
    // Marked as a name-derived identifier of the vendor-specific kind (version 8, RFC variant).
    hi = (hi & ~0xF000ull) | 0x8000ull;
    lo = (lo & ~(0xC0ull << 56)) | (0x80ull << 56);
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}",
                  static_cast<unsigned>(hi >> 32), static_cast<unsigned>((hi >> 16) & 0xFFFF),
                  static_cast<unsigned>(hi & 0xFFFF), static_cast<unsigned>(lo >> 48),
                  static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFull));
    return text;
}

std::unique_ptr<KeyTree> loadDesktopRegistry(const DesktopDirs& dirs) {
    Projection p;
    for (const auto& dir : dirs.data) {
        readGlobs(dir, p);
        readAliases(dir, p);
    }
    std::vector<std::string> order;
    const auto apps = readApplications(dirs, order);
    const auto defaults = readDefaults(dirs);

    // type (folded, canonical) -> (type as written, command)
    std::map<std::string, std::pair<std::string, std::string>> servers;
    for (const auto& id : order) {
        const auto& app = apps.at(id);
        for (const auto& t : app.types) {
            const std::string type = canonical(p, t);
            servers.try_emplace(foldCase(type), type, app.exec);
        }
    }
    for (const auto& [type, ids] : defaults) {
        for (const auto& id : ids) {
            auto app = apps.find(id);
            if (app == apps.end()) continue;
            const std::string t = canonical(p, type);
            auto& server = servers[foldCase(t)];
            if (server.first.empty()) server.first = t;
            server.second = app->second.exec;
            break;
        }
    }

    // The system registry lists its first-level keys sorted without regard to case, so the
    // projection does too: the extensions (".…") come before the type names.
    struct Key {
        std::string name, value, command;
        bool isType;
    };
    std::map<std::string, Key> keys;
    for (const auto& [folded, ext] : p.extensions)
        keys.emplace(folded, Key{ext.first, canonical(p, ext.second), {}, false});
    for (const auto& [folded, server] : servers) {
        std::string comment = typeComment(dirs, server.first);
        keys.emplace(folded, Key{server.first, comment.empty() ? server.first : comment,
                                 server.second, true});
    }
    auto tree = std::make_unique<KeyTree>();
    for (const auto& [folded, key] : keys) {
        const auto node = tree->child(KeyTree::kRoot, key.name, true);
        tree->setValue(node, key.value);
        if (!key.isType) continue;
        tree->setValue(tree->child(node, "CLSID", true), classIdForType(key.name));
        auto n = tree->child(node, "Protocol", true);
        n = tree->child(n, "StdFileEditing", true);
        tree->setValue(tree->child(n, "Server", true), key.command);
    }
    return tree;
}

}  // namespace scrivoole
