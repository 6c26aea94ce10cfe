// The registry export reader below the interface: lines split across the pieces a file is read
// in, in every encoding, the limit on the keys a file makes, and deleted keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExportLines.h"
#include "RegistryStore.h"

using namespace scrivoole;

namespace {

// Every key of a tree, depth first, as "A\B\" with its value.
std::vector<std::string> keysOf(KeyTree& tree) {
    std::vector<std::string> out;
    const auto walk = [&](auto&& self, KeyHandle key, const std::string& path) -> void {
        std::string name;
        for (std::uint32_t i = 0; tree.subkeyName(key, i, name); ++i) {
            std::string value;
            tree.defaultValue(key, name, value);
            KeyHandle child = 0;
            ASSERT_TRUE(tree.open(key, name, child));
            out.push_back(path + name + "\\=" + value);
            self(self, child, path + name + "\\");
        }
    };
    walk(walk, tree.root(), "");
    return out;
}

// A source that gives at most a few bytes at a time, so that line ends, CR LF pairs, UTF-8
// sequences and UTF-16 surrogate pairs all fall across its pieces somewhere.
class Trickle final : public ByteSource {
  public:
    explicit Trickle(std::string bytes) : bytes_(std::move(bytes)) {}
    long long read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, bytes_.size() - at_, std::size_t{1} + at_ % 5});
        bytes_.copy(buffer, n, at_);
        at_ += n;
        return static_cast<long long>(n);
    }

  private:
    std::string bytes_;
    std::size_t at_ = 0;
};

std::string utf16(const std::u32string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    const auto unit = [&](char32_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    for (char32_t c : text) {
        if (c < 0x10000) {
            unit(c);
        } else {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string toUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        static const unsigned lead[] = {0, 0xC0, 0xE0, 0xF0};
        const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += static_cast<char>(lead[tail] | (c >> (6 * tail)));
        for (int i = tail - 1; i >= 0; --i)
            out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
    }
    return out;
}

TEST(ExportReader, LinesAcrossPiecesInEveryEncoding) {
    std::u32string text = U"Windows Registry Editor Version 5.00\r\n\r\n";
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i) {
        const std::u32string n(static_cast<std::size_t>(i % 7), U'x');
        text += U"[HKEY_CLASSES_ROOT\\K" + n + U"\u00E4\U0001D11E" +
                std::u32string(1, U'a' + i % 26) + U"]" + (i % 3 ? U"\r\n" : U"\n") +
                U"@=\"v\u20AC" + n + U"\"\r\n\r\n";
        const std::string name = "K" + std::string(static_cast<std::size_t>(i % 7), 'x') +
                                 "\xC3\xA4\xF0\x9D\x84\x9E" + std::string(1, 'a' + i % 26);
        const std::string entry =
            name + "\\=v\xE2\x82\xAC" + std::string(static_cast<std::size_t>(i % 7), 'x');
        if (std::find(expected.begin(), expected.end(), entry) == expected.end())
            expected.push_back(entry);
    }
    for (bool bigEndian : {false, true}) {
        Trickle source(utf16(text, bigEndian));
        const auto tree = readRegistryExport(source);
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(keysOf(*tree), expected) << (bigEndian ? "UTF-16BE" : "UTF-16LE");
    }
    const std::string utf8 = "\xEF\xBB\xBF" + toUtf8(text);
    Trickle source(utf8);
    const auto tree = readRegistryExport(source);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(keysOf(*tree), expected) << "UTF-8";
}

TEST(ExportReader, KeysMadeByTheWholeFileAreLimited) {
    ExportLimits limits;
    limits.keys = 1000;
    const auto file = [](int keys, bool deleteFirst) {
        std::string text = "REGEDIT4\n";
        for (int i = 0; i < keys; ++i) text += "[HKEY_CLASSES_ROOT\\K" + std::to_string(i) + "]\n";
        if (deleteFirst) {
            for (int i = 0; i < keys; ++i)
                text += "[-HKEY_CLASSES_ROOT\\K" + std::to_string(i) + "]\n";
            for (int i = 0; i < keys; ++i)
                text += "[HKEY_CLASSES_ROOT\\K" + std::to_string(i) + "]\n";
        }
        return text;
    };
    const auto tree = parseRegistryExport(file(1000, false), limits);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(keysOf(*tree).size(), 1000u);
    EXPECT_EQ(parseRegistryExport(file(1001, false), limits), nullptr);
    // Deleted keys were made all the same: deleting and making them again is no way round.
    EXPECT_EQ(parseRegistryExport(file(600, true), limits), nullptr);
}

TEST(ExportReader, DeletedKeysLeaveTheirSiblingsInOrder) {
    std::string text = "REGEDIT4\n";
    for (int i = 0; i < 2000; ++i) text += "[HKEY_CLASSES_ROOT\\K" + std::to_string(i) + "\\Sub]\n";
    for (int i = 0; i < 2000; ++i)
        if (i % 500 != 7) text += "[-HKEY_CLASSES_ROOT\\k" + std::to_string(i) + "]\n";
    // Made again after its deletion: the key comes last, and without its old subkey.
    text += "[HKEY_CLASSES_ROOT\\K3]\n@=\"again\"\n[HKEY_CLASSES_ROOT\\K507\\Sub\\Deeper]\n";
    const auto tree = parseRegistryExport(text);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(keysOf(*tree),
              (std::vector<std::string>{
                  "K7\\=", "K7\\Sub\\=", "K507\\=", "K507\\Sub\\=", "K507\\Sub\\Deeper\\=",
                  "K1007\\=", "K1007\\Sub\\=", "K1507\\=", "K1507\\Sub\\=", "K3\\=again"}));
}

TEST(ExportReader, LongValuesAreKeptOnlyAsFarAsAnyQueryReads) {
    const std::string fits(kLongestValueRead - 1, 'f'), longer(3 * kLongestValueRead, 'l');
    const auto tree = parseRegistryExport("REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n@=\"" + fits +
                                          "\"\n[HKEY_CLASSES_ROOT\\B]\n@=\"" + longer + "\"\n");
    ASSERT_NE(tree, nullptr);
    std::string value;
    ASSERT_TRUE(tree->defaultValue(tree->root(), "A", value));
    EXPECT_EQ(value, fits);
    // Still too long for the largest buffer, as the whole value would be.
    ASSERT_TRUE(tree->defaultValue(tree->root(), "B", value));
    EXPECT_GE(value.size(), kLongestValueRead);
}

}  // namespace
