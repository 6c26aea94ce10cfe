#pragma once
// The lines of a registry export, read a piece at a time from a file or from memory, so that
// what the reader holds at once is one line, however long the file. Version 5 exports are
// written in UTF-16; their lines travel as UTF-8, the narrow encoding of this platform.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace scrivoole {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer: their count, 0 at the end, or -1 when the source fails.
    virtual long long read(char* buffer, std::size_t size) = 0;
};

class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    long long read(char* buffer, std::size_t size) override;

  private:
    std::string_view bytes_;
};

// A regular file of at most maxBytes. Null for anything else: a device or a FIFO would never
// end or never begin, so the file is opened without waiting and checked before it is read.
std::unique_ptr<ByteSource> openRegularFile(const std::string& path, std::size_t maxBytes);

class LineReader final {
  public:
    // Lines longer than maxLine bytes (as UTF-8) and sources of more than maxBytes fail.
    LineReader(ByteSource& source, std::size_t maxLine, std::size_t maxBytes);
    // The next line without its line end (CR, LF or CR LF); false at the end of the text and
    // when reading failed. With skipBlank, empty lines are passed over on the way: a file of
    // nothing but line ends then costs no more than reading it.
    bool next(std::string& line, bool skipBlank = false);
    // The source failed, held more than maxBytes, or a line was too long.
    bool failed() const { return failed_; }

  private:
    enum class Encoding { Unknown, Bytes, Utf16Little, Utf16Big };
    bool fill();
    void detect();
    bool byteLine(std::string& line, bool skipBlank);
    bool utf16Line(std::string& line, bool skipBlank);
    bool unit(std::uint32_t& value);
    bool codePoint(std::uint32_t& code);

    ByteSource& source_;
    std::size_t maxLine_;
    std::size_t maxBytes_;
    std::size_t total_ = 0;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    Encoding encoding_ = Encoding::Unknown;
    bool ended_ = false;
    bool failed_ = false;
    bool skipLineFeed_ = false;  // the last line ended in CR: a LF right after belongs to it
    bool hasPendingUnit_ = false;
    std::uint32_t pendingUnit_ = 0;
};

}  // namespace scrivoole
