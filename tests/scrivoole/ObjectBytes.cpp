#include "ObjectBytes.h"

#include <cctype>

namespace scrivotest {

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putString(std::vector<std::uint8_t>& out, const std::string& s) {
    if (s.empty()) {
        put32(out, 0);
        return;
    }
    put32(out, static_cast<std::uint32_t>(s.size() + 1));
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}

bool get32(const std::vector<std::uint8_t>& b, std::size_t& at, std::uint32_t& v) {
    if (at > b.size() || b.size() - at < 4) return false;
    v = b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
    at += 4;
    return true;
}

bool getBytes(const std::vector<std::uint8_t>& b, std::size_t& at, std::uint32_t n,
              std::string& out) {
    if (b.size() - at < n) return false;
    out.assign(b.begin() + static_cast<std::ptrdiff_t>(at),
               b.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
    return true;
}

bool getString(const std::vector<std::uint8_t>& b, std::size_t& at, std::string& out) {
    std::uint32_t n = 0;
    if (!get32(b, at, n) || !getBytes(b, at, n, out)) return false;
    if (!out.empty() && out.back() == '\0') out.pop_back();
    return true;
}

}  // namespace

std::uint32_t redAndBlue(int x, int) {
    return x < 20 ? kRed : kBlue;
}
std::uint32_t green(int, int) {
    return kGreen;
}

std::string bmpFile(int width, int height, std::uint32_t (*colorAt)(int, int)) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> out = {'B', 'M'};
    put32(out, static_cast<std::uint32_t>(54 + stride * height));
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    out.insert(out.end(), {1, 0, 24, 0});
    for (int i = 0; i < 6; ++i) put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colorAt(x, y);
            out.insert(out.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                   static_cast<std::uint8_t>(c >> 16)});
        }
        out.resize(out.size() + (stride - width * 3), 0);
    }
    return std::string(out.begin(), out.end());
}

std::vector<std::uint8_t> fromHex(const std::string& hex) {
    std::vector<std::uint8_t> out;
    std::string digits;
    for (char c : hex)
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

std::string toHex(const std::vector<std::uint8_t>& bytes) {
    static const char d[] = "0123456789abcdef";
    std::string out;
    for (auto b : bytes) {
        out += d[b >> 4];
        out += d[b & 15];
    }
    return out;
}

std::vector<std::uint8_t> ole1(const std::string& className, const std::string& topic,
                               const std::string& native,
                               const std::vector<std::uint8_t>& presentation) {
    std::vector<std::uint8_t> out;
    put32(out, 0x0501);
    put32(out, 2);
    putString(out, className);
    putString(out, topic);
    putString(out, "");
    put32(out, static_cast<std::uint32_t>(native.size()));
    out.insert(out.end(), native.begin(), native.end());
    out.insert(out.end(), presentation.begin(), presentation.end());
    return out;
}

std::vector<std::uint8_t> noPresentation() {
    std::vector<std::uint8_t> out;
    put32(out, 0x0501);
    put32(out, 0);
    return out;
}

bool readOle1(const std::vector<std::uint8_t>& bytes, Ole1Parts& parts) {
    std::size_t at = 0;
    std::uint32_t version = 0, format = 0, size = 0;
    return get32(bytes, at, version) && version == 0x0501 && get32(bytes, at, format) &&
           format == 2 && getString(bytes, at, parts.className) &&
           getString(bytes, at, parts.topic) && getString(bytes, at, parts.item) &&
           get32(bytes, at, size) && getBytes(bytes, at, size, parts.native);
}

}  // namespace scrivotest
