// Name comparison without regard to case: every character against Qt's own case folding (a
// second reading of the same Unicode data), and the bytes that are no UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "RegistryStore.h"

#ifdef SCRIVOOLE_TEST_WITH_QT
#include <QChar>
#endif

using namespace scrivoole;

namespace {

#ifdef SCRIVOOLE_TEST_WITH_QT
std::string utf8(char32_t c) {
    std::string out;
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    static const unsigned lead[] = {0, 0xC0, 0xE0, 0xF0};
    const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(lead[tail] | (c >> (6 * tail)));
    for (int i = tail - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
    return out;
}

TEST(CaseFold, EveryCharacterFoldsAsUnicodeSays) {
    int checked = 0, wrong = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c < 0xE000) continue;
        // Characters of later versions than the library's table are not its to fold.
        const auto version = QChar::unicodeVersion(c);
        if (version == QChar::Unicode_Unassigned || version > QChar::Unicode_14_0) continue;
        ++checked;
        const std::string expected = utf8(QChar::toCaseFolded(c));
        if (foldCase(utf8(c)) != expected && ++wrong <= 10)
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
        // A character and its folded form are the same name, whichever comes first.
        if (!equalsIgnoringCase("x" + utf8(c), "X" + expected) && ++wrong <= 10)
            ADD_FAILURE() << "equal U+" << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_GT(checked, 140000);
    EXPECT_EQ(wrong, 0);
}
#endif

TEST(CaseFold, BytesThatAreNoUtf8CompareAsTheyAre) {
    for (const std::string bytes :
         {"\xC3", "\xC0\x81", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x84", "\x80", "\xFF\xFE"}) {
        EXPECT_EQ(foldCase("A" + bytes + "B"), "a" + bytes + "b");
        EXPECT_TRUE(equalsIgnoringCase("A" + bytes, "a" + bytes));
    }
    // Latin-1 letters of either case are different bytes, not letters.
    EXPECT_FALSE(equalsIgnoringCase("\xC4", "\xE4"));
    EXPECT_FALSE(equalsIgnoringCase("ab", "abc"));
    EXPECT_FALSE(equalsIgnoringCase("\xC3\xA4", "\xC3\xA4x"));
    // Folding may change a name's length: the Kelvin sign is three bytes, "k" one.
    EXPECT_TRUE(equalsIgnoringCase("\xE2\x84\xAA", "k"));
    EXPECT_FALSE(equalsIgnoringCase("\xC3\x9F", "ss"));
}

}  // namespace
