#include "ExportLines.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace scrivoole {

namespace {

constexpr std::size_t kPieceBytes = 64u << 10;

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

#ifdef _WIN32

class FileSource final : public ByteSource {
  public:
    explicit FileSource(const std::string& path) : in_(path, std::ios::binary) {}
    bool good() const { return static_cast<bool>(in_); }
    long long read(char* buffer, std::size_t size) override {
        in_.read(buffer, static_cast<std::streamsize>(size));
        if (in_.bad()) return -1;
        return static_cast<long long>(in_.gcount());
    }

  private:
    std::ifstream in_;
};

#else

class FileSource final : public ByteSource {
  public:
    explicit FileSource(int fd) : fd_(fd) {}
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    long long read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, size);
            if (n >= 0) return n;
            if (errno != EINTR) return -1;
        }
    }

  private:
    int fd_;
};

#endif

}  // namespace

long long MemorySource::read(char* buffer, std::size_t size) {
    const std::size_t n = std::min(size, bytes_.size());
    if (n > 0) std::memcpy(buffer, bytes_.data(), n);
    bytes_.remove_prefix(n);
    return static_cast<long long>(n);
}

std::unique_ptr<ByteSource> openRegularFile(const std::string& path, std::size_t maxBytes) {
#ifdef _WIN32
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > maxBytes) return nullptr;
    auto file = std::make_unique<FileSource>(path);
    if (!file->good()) return nullptr;
    return file;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    auto file = std::make_unique<FileSource>(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<unsigned long long>(st.st_size) > maxBytes)
        return nullptr;
    return file;
#endif
}

LineReader::LineReader(ByteSource& source, std::size_t maxLine, std::size_t maxBytes)
    : source_(source), maxLine_(maxLine), maxBytes_(maxBytes), buffer_(kPieceBytes) {}

// Keeps the bytes not yet used and appends what the source gives next; false at its end.
bool LineReader::fill() {
    if (ended_ || failed_) return false;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    const long long n = source_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0) failed_ = true;
    if (n <= 0) {
        ended_ = true;
        return false;
    }
    total_ += static_cast<std::size_t>(n);
    // A file that grows while it is read is held to the limit it was opened with.
    if (total_ > maxBytes_) {
        failed_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(n);
    return true;
}

void LineReader::detect() {
    while (end_ - begin_ < 3 && fill()) {
    }
    const std::string_view head(buffer_.data() + begin_, end_ - begin_);
    encoding_ = Encoding::Bytes;
    if (head.substr(0, 2) == "\xFF\xFE") {
        encoding_ = Encoding::Utf16Little;
        begin_ += 2;
    } else if (head.substr(0, 2) == "\xFE\xFF") {
        encoding_ = Encoding::Utf16Big;
        begin_ += 2;
    } else if (head.substr(0, 3) == "\xEF\xBB\xBF") {
        begin_ += 3;
    }
}

bool LineReader::next(std::string& line, bool skipBlank) {
    line.clear();
    if (failed_) return false;
    if (encoding_ == Encoding::Unknown) detect();
    return encoding_ == Encoding::Bytes ? byteLine(line, skipBlank) : utf16Line(line, skipBlank);
}

bool LineReader::byteLine(std::string& line, bool skipBlank) {
    const auto lineEnd = [](char c) { return c == '\r' || c == '\n'; };
    bool any = false;
    for (;;) {
        if (begin_ == end_ && !fill()) return any && !failed_;
        const char* from = buffer_.data() + begin_;
        const char* to = buffer_.data() + end_;
        if (skipBlank && !any) {
            const char* text = std::find_if_not(from, to, lineEnd);
            skipLineFeed_ = skipLineFeed_ && text == from;
            begin_ += static_cast<std::size_t>(text - from);
            if (text == to) continue;
            from = text;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (*from == '\n') {
                ++begin_;
                continue;
            }
        }
        const char* stop = std::find_if(from, to, lineEnd);
        if (line.size() + static_cast<std::size_t>(stop - from) > maxLine_) {
            failed_ = true;
            return false;
        }
        line.append(from, stop);
        any = true;
        begin_ += static_cast<std::size_t>(stop - from);
        if (stop != to) {
            skipLineFeed_ = *stop == '\r';
            ++begin_;
            return true;
        }
    }
}

bool LineReader::unit(std::uint32_t& value) {
    if (hasPendingUnit_) {
        hasPendingUnit_ = false;
        value = pendingUnit_;
        return true;
    }
    // A last odd byte is no unit.
    while (end_ - begin_ < 2)
        if (!fill()) return false;
    const auto a = static_cast<unsigned char>(buffer_[begin_]);
    const auto b = static_cast<unsigned char>(buffer_[begin_ + 1]);
    begin_ += 2;
    value = encoding_ == Encoding::Utf16Big ? (a << 8 | b) : (b << 8 | a);
    return true;
}

// Unpaired surrogates become U+FFFD.
bool LineReader::codePoint(std::uint32_t& code) {
    if (!unit(code)) return false;
    if (code >= 0xD800 && code < 0xDC00) {
        std::uint32_t low = 0;
        if (unit(low)) {
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                return true;
            }
            pendingUnit_ = low;
            hasPendingUnit_ = true;
        }
        code = 0xFFFD;
    } else if (code >= 0xDC00 && code < 0xE000) {
        code = 0xFFFD;
    }
    return true;
}

bool LineReader::utf16Line(std::string& line, bool skipBlank) {
    bool any = false;
    std::uint32_t code = 0;
    while (codePoint(code)) {
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (code == '\n') continue;
        }
        const bool lineEnd = code == '\r' || code == '\n';
        if (lineEnd && skipBlank && !any) continue;
        if (lineEnd) {
            skipLineFeed_ = code == '\r';
            return true;
        }
        appendUtf8(line, code);
        any = true;
        if (line.size() > maxLine_) {
            failed_ = true;
            return false;
        }
    }
    return any && !failed_;
}

}  // namespace scrivoole
