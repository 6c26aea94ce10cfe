// The registry export reader. Exports come from many tools and hands, so it reads leniently:
// lines it does not understand are skipped, never guessed at.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ExportLines.h"
#include "RegistryStore.h"

namespace scrivoole {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The string after '=' of a value line: "text" with \\ and \" escaped. False when it is not a
// complete quoted string.
bool quotedString(std::string_view s, std::string& out) {
    if (s.empty() || s.front() != '"') return false;
    out.clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') return true;
        if (c == '\\' && i + 1 < s.size()) {
            out += s[++i];
            continue;
        }
        out += c;
    }
    return false;
}

// The characters of a name in UTF-8: the bytes that begin one.
std::size_t characters(std::string_view name) {
    return static_cast<std::size_t>(std::count_if(name.begin(), name.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// "@=" followed by a quoted string or "-": the only value lines that set anything.
bool setsDefaultText(std::string_view line) {
    if (line.empty() || line.front() != '@') return false;
    line = trim(line.substr(1));
    if (line.empty() || line.front() != '=') return false;
    line = trim(line.substr(1));
    return !line.empty() && (line.front() == '"' || line.front() == '-');
}

class ExportReader {
  public:
    ExportReader(KeyTree& tree, const ExportLimits& limits) : tree_(tree), limits_(limits) {}

    // One line of the file after its header; false when the file goes beyond the limits.
    bool line(std::string_view raw) {
        const std::string_view line = trim(raw);
        if (pending_ != Pending::None) return continued(line);
        if (line.empty() || line.front() == ';') return true;
        if (line.front() == '[') return section(line);
        // A value may go on over lines that end in a backslash (long hex data). Only a default
        // value is gathered; the lines of any other are passed over as they come.
        const bool more = line.back() == '\\';
        if (current_ == KeyTree::kNone || !setsDefaultText(line)) {
            if (more) pending_ = Pending::Skip;
            return true;
        }
        joined_.assign(line);
        if (more) {
            pending_ = Pending::Join;
        } else {
            value(joined_);
        }
        return true;
    }

    // Only a value going on over lines ends at an empty line.
    bool blankLinesIgnored() const { return pending_ == Pending::None; }

    // The end of the file, which ends a value still going on.
    void finish() {
        if (pending_ == Pending::Join) value(joined_);
        pending_ = Pending::None;
    }

  private:
    enum class Pending { None, Skip, Join };

    bool continued(std::string_view line) {
        const bool more = !line.empty() && line.back() == '\\';
        if (pending_ == Pending::Skip) {
            if (!more) pending_ = Pending::None;
            return true;
        }
        joined_.pop_back();
        if (joined_.size() + line.size() > limits_.lineBytes) return false;
        joined_ += line;
        if (!more) {
            pending_ = Pending::None;
            value(joined_);
        }
        return true;
    }

    // The key path of a section line, its components checked against the limits; false when
    // the file is to be refused. Empty for a section of another hive.
    bool path(std::string_view line, std::vector<std::string_view>& parts, bool& remove) {
        parts.clear();
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos) return true;
        std::string_view path = line.substr(1, close - 1);
        remove = !path.empty() && path.front() == '-';
        if (remove) path.remove_prefix(1);
        // Only the class tree matters; sections of other hives and their values are skipped.
        const std::string_view hive = path.substr(0, path.find('\\'));
        if (!equalsIgnoringCase(hive, "HKEY_CLASSES_ROOT")) return true;
        std::size_t start = hive.size() + 1;
        while (start < path.size()) {
            std::size_t end = path.find('\\', start);
            if (end == std::string_view::npos) end = path.size();
            // "A\\B" has an empty component, which no key can have: it is passed over.
            if (end > start) {
                const std::string_view name = path.substr(start, end - start);
                if (parts.size() == limits_.keyDepth || characters(name) > limits_.nameCharacters)
                    return false;
                parts.push_back(name);
            }
            start = end + 1;
        }
        parts.insert(parts.begin(), hive);
        return true;
    }

    bool section(std::string_view line) {
        current_ = KeyTree::kNone;
        bool remove = false;
        if (!path(line, parts_, remove)) return false;
        if (parts_.empty()) return true;
        KeyTree::Node node = KeyTree::kRoot;
        const std::size_t last = remove ? parts_.size() - 1 : parts_.size();
        for (std::size_t i = 1; i < last && node != KeyTree::kNone; ++i)
            node = tree_.child(node, parts_[i], !remove);
        if (!remove) {
            current_ = node;
        } else if (node != KeyTree::kNone && parts_.size() > 1) {
            tree_.remove(node, parts_.back());
        }
        return tree_.size() <= limits_.keys + 1;
    }

    void value(std::string_view line) {
        std::string_view rest = trim(trim(line.substr(1)).substr(1));
        std::string text;
        if (rest == "-") {
            tree_.clearValue(current_);
        } else if (quotedString(rest, text)) {
            tree_.setValue(current_, text);
        }
        // Default values of other types (hex:, dword:) read as empty through the registry's
        // text call, so they are left unset.
    }

    KeyTree& tree_;
    const ExportLimits& limits_;
    KeyTree::Node current_ = KeyTree::kNone;
    Pending pending_ = Pending::None;
    std::string joined_;
    std::vector<std::string_view> parts_;
};

bool isHeader(std::string_view line) {
    return line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00";
}

}  // namespace

std::unique_ptr<KeyTree> readRegistryExport(ByteSource& source, const ExportLimits& limits) {
    auto tree = std::make_unique<KeyTree>();
    LineReader lines(source, limits.lineBytes, limits.fileBytes);
    std::string line;
    bool header = false;
    while (!header && lines.next(line, true)) {
        if (trim(line).empty()) continue;
        if (!isHeader(trim(line))) break;
        header = true;
    }
    if (lines.failed()) return nullptr;
    if (!header) return tree;
    ExportReader reader(*tree, limits);
    while (lines.next(line, reader.blankLinesIgnored()))
        if (!reader.line(line)) return nullptr;
    if (lines.failed()) return nullptr;
    reader.finish();
    return tree;
}

std::unique_ptr<KeyTree> parseRegistryExport(std::string_view bytes, const ExportLimits& limits) {
    MemorySource source(bytes);
    return readRegistryExport(source, limits);
}

std::unique_ptr<KeyTree> readRegistryExport(const std::string& path, const ExportLimits& limits) {
    const auto source = openRegularFile(path, limits.fileBytes);
    return source ? readRegistryExport(*source, limits) : nullptr;
}

}  // namespace scrivoole
