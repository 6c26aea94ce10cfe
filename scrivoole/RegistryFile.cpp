// The registry export reader. Exports come from many tools and hands, so it reads leniently:
// lines it does not understand are skipped, never guessed at.
#include <cstdint>
#include <string>
#include <vector>

#include "RegistryStore.h"

namespace scrivoole {

namespace {

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

// Version 5 exports are written in UTF-16; keys and values then travel as UTF-8, the narrow
// encoding of this platform. Unpaired surrogates become U+FFFD.
std::string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                code = 0xFFFD;
            }
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        appendUtf8(out, code);
    }
    return out;
}

std::string decodeText(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return fromUtf16(bytes.substr(2), false);
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return fromUtf16(bytes.substr(2), true);
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
    return std::string(bytes);
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\') continue;
        // "A\\B" has an empty component, which no key can have: it is passed over.
        if (i > start) parts.push_back(path.substr(start, i - start));
        start = i + 1;
    }
    return parts;
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

class ExportReader {
public:
    explicit ExportReader(KeyTree& tree) : tree_(tree) {}

    void section(std::string_view line) {
        current_ = KeyTree::kNone;
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos) return;
        std::string_view path = line.substr(1, close - 1);
        const bool remove = !path.empty() && path.front() == '-';
        if (remove) path.remove_prefix(1);
        const auto parts = splitPath(path);
        // Only the class tree matters; sections of other hives and their values are skipped.
        if (parts.empty() || !equalsIgnoringCase(parts[0], "HKEY_CLASSES_ROOT")) return;
        KeyTree::Node node = KeyTree::kRoot;
        const std::size_t last = remove ? parts.size() - 1 : parts.size();
        for (std::size_t i = 1; i < last && node != KeyTree::kNone; ++i)
            node = tree_.child(node, parts[i], !remove);
        if (!remove) {
            current_ = node;
        } else if (node != KeyTree::kNone && parts.size() > 1) {
            tree_.remove(node, parts.back());
        }
    }

    void value(std::string_view line) {
        if (current_ == KeyTree::kNone || line.front() != '@') return;
        std::string_view rest = trim(line.substr(1));
        if (rest.empty() || rest.front() != '=') return;
        rest = trim(rest.substr(1));
        std::string text;
        if (rest == "-") {
            tree_.clearValue(current_);
        } else if (quotedString(rest, text)) {
            tree_.setValue(current_, text);
        }
        // Default values of other types (hex:, dword:) read as empty through the registry's
        // text call, so they are left unset.
    }

private:
    KeyTree& tree_;
    KeyTree::Node current_ = KeyTree::kNone;
};

bool isHeader(std::string_view line) {
    return line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00";
}

}  // namespace

std::unique_ptr<KeyTree> parseRegistryExport(std::string_view bytes) {
    auto tree = std::make_unique<KeyTree>();
    const std::string text = decodeText(bytes);
    const auto lines = splitLines(text);
    std::size_t i = 0;
    while (i < lines.size() && trim(lines[i]).empty()) ++i;
    if (i == lines.size() || !isHeader(trim(lines[i]))) return tree;
    ExportReader reader(*tree);
    std::string joined;
    for (++i; i < lines.size(); ++i) {
        std::string_view line = trim(lines[i]);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            reader.section(line);
            continue;
        }
        // A value may go on over lines that end in a backslash (long hex data).
        joined.assign(line);
        while (!joined.empty() && joined.back() == '\\' && i + 1 < lines.size()) {
            joined.pop_back();
            joined += trim(lines[++i]);
        }
        reader.value(joined);
    }
    return tree;
}

}  // namespace scrivoole
