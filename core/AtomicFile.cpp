#include "core/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

// The portable fallback is what Windows builds; VASORA_PORTABLE_FILES builds it elsewhere too,
// so that it can be compiled and tried on the machines the program is developed on.
#if defined(_WIN32) || defined(VASORA_PORTABLE_FILES)
#define VASORA_ATOMIC_PORTABLE 1
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif
#else
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#endif

namespace vasora {

namespace {

constexpr std::string_view kTempMark = ".saving-";
// A write takes well under a second; a temporary file this old belongs to no write going on.
constexpr std::chrono::seconds kStaleAge{600};
// As many links as the system itself follows before it gives up.
constexpr int kMostLinks = 40;
// The temporary name keeps at most this much of the file's name, so that it stays within the
// 255 bytes a file name may have.
constexpr std::size_t kMostNameKept = 200;

std::string withError(std::string what, int err) {
    return what + " (" + std::error_code(err, std::generic_category()).message() + ")";
}

bool allOf(std::string_view s, bool (*accept)(char)) {
    if (s.empty()) return false;
    for (char c : s)
        if (!accept(c)) return false;
    return true;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHex(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f');
}

int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

// Tells the temporary files of one process apart, and those of processes whose ids repeat.
std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 random{std::random_device{}()};
    const unsigned n = (random() & 0xffff0000u) | (counter++ & 0xffffu);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08x", n);
    return buf;
}

std::string tempName(const std::string& leaf) {
    return leaf.substr(0, kMostNameKept) + std::string(kTempMark) + std::to_string(processId()) +
           "-" + uniqueSuffix();
}

}  // namespace

bool isAtomicTempName(std::string_view name) {
    const std::size_t mark = name.rfind(kTempMark);
    if (mark == std::string_view::npos || mark == 0) return false;
    const std::string_view rest = name.substr(mark + kTempMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos) return allOf(rest, isDigit);  // an earlier version's
    return allOf(rest.substr(0, dash), isDigit) && allOf(rest.substr(dash + 1), isHex);
}

#ifndef VASORA_ATOMIC_PORTABLE

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string leafOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links from `path` to the file that is to be replaced. A link to a file that
// does not exist yet names the file to be made, as writing through the link would.
std::string resolveLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < kMostLinks; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return {};
        std::string to(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), to.data(), to.size());
        if (n < 0) return withError("its symbolic link cannot be read", errno);
        to.resize(static_cast<std::size_t>(n));
        target = (!to.empty() && to[0] == '/') ? to : folderOf(target) + "/" + to;
    }
    return withError("its symbolic links lead round in a circle", ELOOP);
}

struct Existing {
    bool exists = false;
    mode_t mode = 0666;
    uid_t owner = 0;
    gid_t group = 0;
};

// Why `target` cannot be replaced, or empty; what an existing file has that the new one keeps.
std::string checkTarget(const std::string& target, Existing& e) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return "there is a folder of that name";
        if (!S_ISREG(st.st_mode)) return "it is not a plain file";
        // Write permission is asked of the file itself, not only of its folder: renaming over
        // a read-only file would succeed and silently defeat the protection. The mode bits are
        // tested too, because the system lets an administrator write any file.
        if ((st.st_mode & 0222) == 0) return "the file is read-only";
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return withError("the file may not be written", errno);
        e = {true, static_cast<mode_t>(st.st_mode & 0777), st.st_uid, st.st_gid};
        return {};
    }
    if (errno == ENOTDIR) return "a file stands where its folder should be";
    if (errno != ENOENT) return withError("the file cannot be reached", errno);
    const std::string folder = folderOf(target);
    if (::stat(folder.c_str(), &st) != 0)
        return errno == ENOENT ? "its folder does not exist"
                               : withError("its folder cannot be reached", errno);
    if (!S_ISDIR(st.st_mode)) return "a file stands where its folder should be";
    return {};
}

int createTemp(const std::string& folder, const std::string& leaf, const Existing& e,
               std::string& temp, std::string& why) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder + "/" + tempName(leaf);
        // Created with the old file's mode, which the umask can only narrow: the new contents
        // are never readable by more people than the old ones, not even for a moment.
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, e.mode);
        if (fd >= 0) return fd;
        if (errno != EEXIST) {
            why = withError("no new file can be made in its folder", errno);
            return -1;
        }
    }
    why = "no unused name for a new file was found in its folder";
    return -1;
}

std::string writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return withError("writing it failed", errno);
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

// Writes, then gives the temporary file the old file's owner and permissions and waits until
// its contents are on the disk, so that the rename never puts an empty file in place of the
// old one after a power cut. Closes `fd` in every case.
std::string fillTemp(int fd, std::string_view data, const Existing& e) {
    std::string why = writeAll(fd, data);
    if (why.empty() && e.exists) {
        // Only an administrator may give a file away; anyone else's refused change leaves the
        // new file theirs, which is no reason to fail the save.
        if ((e.owner != ::geteuid() || e.group != ::getegid()) &&
            ::fchown(fd, e.owner, e.group) != 0) {
        }
        if (::fchmod(fd, e.mode) != 0) why = withError("its permissions cannot be kept", errno);
    }
    if (why.empty() && ::fsync(fd) != 0)
        why = withError("it could not be written to the disk", errno);
    // Some file systems (network shares) report a failed write only when the file is closed.
    if (::close(fd) != 0 && why.empty()) why = withError("writing it failed", errno);
    return why;
}

// The rename is lasting only once the folder itself is on the disk. A file system that cannot
// sync a folder has still renamed: the new file is in place, so this is not a failure.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The process id in a temporary name of this version, 0 for a name of an earlier version.
long tempNamePid(std::string_view name) {
    const std::string_view rest = name.substr(name.rfind(kTempMark) + kTempMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos) return 0;
    long pid = 0;
    for (char c : rest.substr(0, dash)) pid = pid * 10 + (c - '0');
    return pid;
}

bool processGone(long pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes the temporary files that killed writes left in `folder`: those of a process that is
// gone, and any that are too old to belong to a write still going on. A process id is only
// asked on this machine; a writer on another machine sharing the folder is protected by age.
void removeStaleTemps(const std::string& folder, const std::string& own) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isAtomicTempName(name)) continue;
        const std::string path = folder + "/" + name;
        struct stat st {};
        if (path == own || ::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        const bool old = now - st.st_mtime > kStaleAge.count();
        if (old || processGone(tempNamePid(name))) ::unlink(path.c_str());
    }
    ::closedir(dir);
}

}  // namespace

std::string writeFileAtomically(const std::string& path, std::string_view data) {
    if (path.empty() || path.back() == '/') return "no file name was given";
    std::string target;
    if (std::string why = resolveLinks(path, target); !why.empty()) return why;
    Existing existing;
    if (std::string why = checkTarget(target, existing); !why.empty()) return why;
    const std::string folder = folderOf(target);
    std::string temp, why;
    const int fd = createTemp(folder, leafOf(target), existing, temp, why);
    if (fd < 0) return why;
    removeStaleTemps(folder, temp);
    why = fillTemp(fd, data, existing);
    if (why.empty() && ::rename(temp.c_str(), target.c_str()) != 0)
        why = withError("the old file could not be replaced", errno);
    if (!why.empty()) {
        ::unlink(temp.c_str());
        return why;
    }
    syncFolder(folder);
    return {};
}

#else  // VASORA_ATOMIC_PORTABLE

namespace {

namespace fs = std::filesystem;

std::string checkPortably(const fs::path& target, fs::file_status& st) {
    std::error_code ec;
    st = fs::status(target, ec);
    if (fs::is_directory(st)) return "there is a folder of that name";
    if (fs::exists(st)) {
        if (!fs::is_regular_file(st)) return "it is not a plain file";
        if ((st.permissions() & fs::perms::owner_write) == fs::perms::none)
            return "the file is read-only";
        return {};
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) return "its folder does not exist";
    return {};
}

void removeStaleTempsPortably(const fs::path& folder, const fs::path& own) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path p = it->path();
        if (p == own || !isAtomicTempName(p.filename().string()) || !it->is_regular_file(ec))
            continue;
        if (now - it->last_write_time(ec) > kStaleAge) fs::remove(p, ec);
    }
}

}  // namespace

std::string writeFileAtomically(const std::string& path, std::string_view data) {
    if (path.empty()) return "no file name was given";
    std::error_code ec;
    fs::path target(path);
    for (int hops = 0; hops < kMostLinks && fs::is_symlink(target, ec); ++hops) {
        const fs::path to = fs::read_symlink(target, ec);
        if (ec) return "its symbolic link cannot be read (" + ec.message() + ")";
        target = to.is_absolute() ? to : target.parent_path() / to;
    }
    if (fs::is_symlink(target, ec)) return "its symbolic links lead round in a circle";
    fs::file_status st;
    if (std::string why = checkPortably(target, st); !why.empty()) return why;
    fs::path temp;
    std::FILE* f = nullptr;
    for (int attempt = 0; !f && attempt < 100; ++attempt) {
        temp = target.parent_path() / tempName(target.filename().string());
        f = std::fopen(temp.string().c_str(), "wbx");  // "x": never an existing file
    }
    if (!f) return withError("no new file can be made in its folder", errno);
    removeStaleTempsPortably(target.has_parent_path() ? target.parent_path() : ".", temp);
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok && fs::exists(st)) fs::permissions(temp, st.permissions(), ec);
    if (ok) fs::rename(temp, target, ec);
    if (!ok || ec) {
        const std::string why =
            ok ? "the old file could not be replaced (" + ec.message() + ")" : "writing it failed";
        fs::remove(temp, ec);
        return why;
    }
    return {};
}

#endif

}  // namespace vasora
