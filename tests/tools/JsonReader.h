#pragma once

// A small strict JSON reader for the tests of vasora-cli's JSON report: enough to prove the
// report well-formed (and UTF-8) and to read its values.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vasora::testing {

struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool b = false;
    double n = 0;
    std::string s;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;  // in document order

    const Json& operator[](const std::string& key) const {
        for (const auto& [k, v] : members)
            if (k == key) return v;
        static const Json missing;
        ADD_FAILURE() << "no member " << key;
        return missing;
    }
    bool has(const std::string& key) const {
        for (const auto& m : members)
            if (m.first == key) return true;
        return false;
    }
};

class JsonReader {
  public:
    explicit JsonReader(const std::string& text) : t_(text) {}
    bool parse(Json& v, std::string& error) {
        try {
            v = value();
            ws();
            if (p_ != t_.size()) fail("text after the value");
            return true;
        } catch (const std::runtime_error& e) {
            error = e.what();
            return false;
        }
    }

  private:
    [[noreturn]] void fail(const std::string& why) {
        throw std::runtime_error(why + " at offset " + std::to_string(p_));
    }
    void ws() {
        while (p_ < t_.size() &&
               (t_[p_] == ' ' || t_[p_] == '\n' || t_[p_] == '\r' || t_[p_] == '\t'))
            ++p_;
    }
    char peek() {
        ws();
        if (p_ >= t_.size()) fail("unexpected end");
        return t_[p_];
    }
    void expect(char c) {
        if (peek() != c) fail(std::string("expected ") + c);
        ++p_;
    }
    bool literal(const char* word) {
        const std::string w(word);
        if (t_.compare(p_, w.size(), w) != 0) return false;
        p_ += w.size();
        return true;
    }
    std::string string() {
        expect('"');
        std::string out;
        for (;;) {
            if (p_ >= t_.size()) fail("unterminated string");
            const char c = t_[p_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) fail("control character in string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (p_ >= t_.size()) fail("bad escape");
            const char e = t_[p_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (p_ + 4 > t_.size()) fail("bad \\u escape");
                    const int code = std::stoi(t_.substr(p_, 4), nullptr, 16);
                    p_ += 4;
                    if (code >= 0xD800 && code <= 0xDFFF) fail("surrogate escape");
                    // Kept as UTF-8, as a strict reader hands it on.
                    if (code < 0x80) {
                        out += static_cast<char>(code);
                    } else if (code < 0x800) {
                        out += static_cast<char>(0xC0 | (code >> 6));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    } else {
                        out += static_cast<char>(0xE0 | (code >> 12));
                        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    }
                    break;
                }
                default:
                    fail("bad escape");
            }
        }
    }
    Json value() {
        Json v;
        const char c = peek();
        if (c == '{') {
            ++p_;
            v.kind = Json::Object;
            if (peek() == '}') {
                ++p_;
                return v;
            }
            for (;;) {
                std::string key = string();
                expect(':');
                v.members.emplace_back(std::move(key), value());
                if (peek() == ',') {
                    ++p_;
                    continue;
                }
                expect('}');
                return v;
            }
        }
        if (c == '[') {
            ++p_;
            v.kind = Json::Array;
            if (peek() == ']') {
                ++p_;
                return v;
            }
            for (;;) {
                v.items.push_back(value());
                if (peek() == ',') {
                    ++p_;
                    continue;
                }
                expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.kind = Json::String;
            v.s = string();
            return v;
        }
        if (literal("true")) {
            v.kind = Json::Bool;
            v.b = true;
            return v;
        }
        if (literal("false")) {
            v.kind = Json::Bool;
            return v;
        }
        if (literal("null")) return v;
        // A number: -?digits(.digits)?([eE][+-]?digits)?
        const std::size_t start = p_;
        if (t_[p_] == '-') ++p_;
        auto digits = [&] {
            const std::size_t d = p_;
            while (p_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_]))) ++p_;
            if (p_ == d) fail("expected a digit");
        };
        digits();
        if (p_ < t_.size() && t_[p_] == '.') ++p_, digits();
        if (p_ < t_.size() && (t_[p_] == 'e' || t_[p_] == 'E')) {
            ++p_;
            if (p_ < t_.size() && (t_[p_] == '+' || t_[p_] == '-')) ++p_;
            digits();
        }
        v.kind = Json::Number;
        v.n = std::stod(t_.substr(start, p_ - start));
        return v;
    }

    const std::string& t_;
    std::size_t p_ = 0;
};

// Whether `text` is well-formed UTF-8, as a strict JSON reader demands: every lead byte with
// the right number of continuation bytes, no overlong form, no surrogate, nothing past U+10FFFF.
inline bool validUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int more = 0;
        std::uint32_t cp = 0, min = 0;
        if (c <= 0x7F) {
            ++i;
            continue;
        } else if ((c >> 5) == 0x6) {
            more = 1, cp = c & 0x1F, min = 0x80;
        } else if ((c >> 4) == 0xE) {
            more = 2, cp = c & 0x0F, min = 0x800;
        } else if ((c >> 3) == 0x1E) {
            more = 3, cp = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= text.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d >> 6) != 0x2) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += more + 1;
    }
    return true;
}

inline Json parseJson(const std::string& text) {
    EXPECT_TRUE(validUtf8(text)) << "the report is not UTF-8";
    Json v;
    std::string error;
    EXPECT_TRUE(JsonReader(text).parse(v, error)) << error << "\n" << text;
    return v;
}

}  // namespace vasora::testing
