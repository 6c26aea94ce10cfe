#include "Launcher.h"

#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "LibraryState.h"
#include "Registry.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace scrivoole {

namespace fs = std::filesystem;

#ifndef _WIN32
namespace {
std::vector<pid_t>& startedServers() {
    static std::vector<pid_t> pids;
    return pids;
}
}  // namespace
#endif

std::string serverCommand(const std::string& className) {
    if (className.empty()) return {};
    Registry registry = Registry::current();
    KeyHandle classKey = 0;
    if (!registry.open(registry.root(), className, classKey)) return {};
    // Commands are longer than the walker's 80-byte buffers allow; the launcher reads more.
    constexpr std::size_t kCommandBuffer = kLongestValueRead;
    std::string command;
    for (const char* path : {"Protocol\\StdFileEditing\\Server", "shell\\open\\command"}) {
        KeyHandle key = classKey, next = 0;
        std::string rest = path;
        bool found = true;
        while (found && !rest.empty()) {
            const auto slash = rest.find('\\');
            const std::string part = rest.substr(0, slash);
            rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
            found = registry.open(key, part, next);
            if (key != classKey) registry.close(key);
            if (found) key = next;
        }
        if (!found) continue;
        command = registry.value(key, "", kCommandBuffer);
        registry.close(key);
        if (!command.empty()) break;
    }
    registry.close(classKey);
    return command;
}

std::vector<std::string> commandArguments(const std::string& command, const std::string& file) {
    std::vector<std::string> args;
    std::string current;
    bool inToken = false, quoted = false, placed = false;
    auto fieldCode = [&](char code) {
        if (code == '%') current += '%';
        if (code == 'f' || code == 'F' || code == 'u' || code == 'U' || code == '1') {
            current += file;
            placed = true;
        }
    };
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < command.size()) {
                current += command[++i];
            } else if (c == '%' && i + 1 < command.size()) {
                fieldCode(command[++i]);
            } else {
                current += c;
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inToken) args.push_back(current);
            current.clear();
            inToken = false;
            continue;
        }
        inToken = true;
        if (c == '"') {
            quoted = true;
        } else if (c == '%' && i + 1 < command.size()) {
            fieldCode(command[++i]);
        } else {
            current += c;
        }
    }
    if (inToken) args.push_back(current);
    // A field code that stood alone as an argument and was dropped leaves nothing behind.
    std::erase_if(args, [](const std::string& a) { return a.empty(); });
    if (!placed) args.push_back(file);
    return args;
}

bool startServer(const std::string& command, const std::string& file, const Item& item) {
    const auto& hooks = state().hooks;
    if (hooks.launch)
        return hooks.launch(hooks.context, command.c_str(), file.c_str(),
                            item.hostDocument.c_str()) != 0;
#ifdef _WIN32
    (void)item;
    std::string line = command;
    if (auto at = line.find("%1"); at != std::string::npos) {
        line.replace(at, 2, file);
    } else {
        line += " \"" + file + "\"";
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
#else
    auto args = commandArguments(command, file);
    if (args.empty()) return false;
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    // The server learns whose object it edits, as a server is told its container's names.
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) env.emplace_back(*e);
    env.push_back("SCRIVOOLE_HOST_APPLICATION=" + item.hostApplication);
    env.push_back("SCRIVOOLE_HOST_DOCUMENT=" + item.hostDocument);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return false;
    startedServers().push_back(pid);
    return true;
#endif
}

void reapServers() {
#ifndef _WIN32
    // Only the library's own servers: the host's children are its own to collect.
    std::erase_if(startedServers(), [](pid_t pid) {
        int status = 0;
        return waitpid(pid, &status, WNOHANG) != 0;
    });
#endif
}

std::string safeFileName(const std::string& topic) {
    std::string name = topic;
    if (auto cut = name.find_last_of("/\\"); cut != std::string::npos) name = name.substr(cut + 1);
    std::string clean;
    for (unsigned char c : name)
        if (c >= 32 && c != 127 && c != ':' && c != '*' && c != '?' && c != '"' && c != '<' &&
            c != '>' && c != '|')
            clean += static_cast<char>(c);
    while (!clean.empty() && (clean.back() == ' ' || clean.back() == '.')) clean.pop_back();
    if (clean.empty() || clean.size() > 200) return "Object";
    return clean;
}

FileStamp fileStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    FileStamp stamp;
    stamp.size = static_cast<long long>(st.st_size);
#if defined(__linux__)
    stamp.modified = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
#else
    stamp.modified = static_cast<long long>(st.st_mtime);
#endif
    return stamp;
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::size_t maxBytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    const auto size = fs::file_size(path, ec);
    if (ec || size > maxBytes) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    return static_cast<std::uintmax_t>(in.gcount()) == size;
}

bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace scrivoole
