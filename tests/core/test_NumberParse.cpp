// The one number reader: period numbers only, whatever the locale, and nothing that merely
// starts like a number.

#include <gtest/gtest.h>

#include "core/NumberParse.h"

using vasora::NumberText;
using vasora::parseDecimal;
using vasora::readNumber;

TEST(NumberParse, ReadsBlankNumberAndNotNumber) {
    struct Case {
        const char* text;
        NumberText::Kind kind;
        double value;
    };
    const Case cases[] = {
        {"", NumberText::Blank, 0},
        {"   ", NumberText::Blank, 0},
        {"\t", NumberText::Blank, 0},
        {"12.5", NumberText::Number, 12.5},
        {" +3 ", NumberText::Number, 3},
        {"-1e2", NumberText::Number, -100},
        {".5", NumberText::Number, 0.5},
        {"5.", NumberText::Number, 5},
        {"2E-1", NumberText::Number, 0.2},
        {"1E-03", NumberText::Number, 0.001},
        {"2.5e+2", NumberText::Number, 250},
        {"1,5", NumberText::NotNumber, 0},
        {"1.000,5", NumberText::NotNumber, 0},
        {"abc", NumberText::NotNumber, 0},
        {"12abc", NumberText::NotNumber, 0},
        {"inf", NumberText::NotNumber, 0},
        {"-nan", NumberText::NotNumber, 0},
        {"1e400", NumberText::NotNumber, 0},
        {"0x10", NumberText::NotNumber, 0},
        {"1e", NumberText::NotNumber, 0},
        {"+-1", NumberText::NotNumber, 0},
        {"--1", NumberText::NotNumber, 0},
        {".", NumberText::NotNumber, 0},
        {"- 1", NumberText::NotNumber, 0},
        {"1.2.3", NumberText::NotNumber, 0},
        {"5 6", NumberText::NotNumber, 0},
    };
    for (const Case& c : cases) {
        const NumberText n = readNumber(c.text);
        EXPECT_EQ(n.kind, c.kind) << '"' << c.text << '"';
        if (c.kind == NumberText::Number) {
            EXPECT_DOUBLE_EQ(n.value, c.value) << c.text;
        }
        EXPECT_EQ(parseDecimal(c.text).has_value(), c.kind == NumberText::Number) << c.text;
    }
}

TEST(NumberParse, SignIsKeptAndZeroIsANumber) {
    EXPECT_EQ(parseDecimal("-0.002"), -0.002);
    EXPECT_EQ(parseDecimal("0"), 0.0);
    EXPECT_EQ(parseDecimal("-4"), -4.0);
    // Blanks inside the number are refused, blanks around it are not.
    EXPECT_EQ(parseDecimal("  7 "), 7.0);
    EXPECT_FALSE(parseDecimal("7 0").has_value());
    // A comma never reads as a different number.
    EXPECT_FALSE(parseDecimal("0,5").has_value());
}
