// The one number format of every window: pattern semantics, rounding, signs and non-finite
// values.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/NumberFormat.h"

using vasora::formatNumber;

TEST(NumberFormat, DocumentedExamples) {
    EXPECT_EQ(formatNumber(5499.78, "####0."), "5500.");
    EXPECT_EQ(formatNumber(5500, "####0."), "5500.");
    EXPECT_EQ(formatNumber(0.1, "#0.000"), "0.100");
    EXPECT_EQ(formatNumber(0.9999972, "#0.0##"), "1.0");
    EXPECT_EQ(formatNumber(-4, "###0.0"), "-4.0");
    EXPECT_EQ(formatNumber(12.46, "#0.0 ml collapse"), "12.5 ml collapse");
}

TEST(NumberFormat, HalvesRoundAwayFromZero) {
    // Exactly representable halves: printf and banker's rounding would give 2, 0.12 and -2.
    EXPECT_EQ(formatNumber(2.5, "##0"), "3");
    EXPECT_EQ(formatNumber(0.5, "##0"), "1");
    EXPECT_EQ(formatNumber(1.5, "##0"), "2");
    EXPECT_EQ(formatNumber(-2.5, "##0"), "-3");
    EXPECT_EQ(formatNumber(0.125, "#0.00"), "0.13");
    EXPECT_EQ(formatNumber(-0.125, "#0.00"), "-0.13");
    EXPECT_EQ(formatNumber(5499.5, "####0."), "5500.");
    // Just below a half stays below: the decision is made on the exact binary value.
    EXPECT_EQ(formatNumber(std::nextafter(2.5, 0.0), "##0"), "2");
    // A carry that runs through every digit.
    EXPECT_EQ(formatNumber(999.96, "##0.0"), "1000.0");
    EXPECT_EQ(formatNumber(9.9999, "0.00"), "10.00");
}

TEST(NumberFormat, OptionalAndRequiredDecimals) {
    EXPECT_EQ(formatNumber(1.18, "##0.0#"), "1.18");
    EXPECT_EQ(formatNumber(1.1, "##0.0#"), "1.1");
    EXPECT_EQ(formatNumber(1.0, "##0.0#"), "1.0");
    EXPECT_EQ(formatNumber(0.70, "##0.00"), "0.70");
    EXPECT_EQ(formatNumber(0.923, "#0.0##"), "0.923");
    EXPECT_EQ(formatNumber(0.92351, "#0.0##"), "0.924");
    // 0.9235 is stored a little below the half, so it rounds down.
    EXPECT_EQ(formatNumber(0.9235, "#0.0##"), "0.923");
    EXPECT_EQ(formatNumber(0, "0.0#############"), "0.0");
    EXPECT_EQ(formatNumber(0.25, "0.0#############"), "0.25");
    EXPECT_EQ(formatNumber(8.4848, "###0.00"), "8.48");
}

TEST(NumberFormat, IntegerPartAndPoint) {
    // No digit before the point is required by "###.000".
    EXPECT_EQ(formatNumber(0.2, "###.000"), ".200");
    EXPECT_EQ(formatNumber(12.3456, "###.000"), "12.346");
    EXPECT_EQ(formatNumber(0, "###.000"), ".000");
    // "####0" has no point and so shows none; "####0." always shows it.
    EXPECT_EQ(formatNumber(119.185, "####0"), "119");
    EXPECT_EQ(formatNumber(187.397, "####0."), "187.");
    EXPECT_EQ(formatNumber(0.3, "####0."), "0.");
    // An integer part wider than the pattern is shown in full.
    EXPECT_EQ(formatNumber(123456.7, "##0"), "123457");
    EXPECT_EQ(formatNumber(98765.4321, "#0.0"), "98765.4");
    EXPECT_EQ(formatNumber(1e20, "##0"), "100000000000000000000");
}

TEST(NumberFormat, LiteralTextAroundTheNumber) {
    // The percent view: two blanks, a whole number, one blank.
    EXPECT_EQ(formatNumber(100, "  ##0 "), "  100 ");
    EXPECT_EQ(formatNumber(99.5, "  ##0 "), "  100 ");
    EXPECT_EQ(formatNumber(50, "  ##0 "), "  50 ");
    EXPECT_EQ(formatNumber(3.2, "  ##0 "), "  3 ");
    EXPECT_EQ(formatNumber(0.4, "  ##0 "), "  0 ");
    EXPECT_EQ(formatNumber(1234.4, "  ##0 "), "  1234 ");
    EXPECT_EQ(formatNumber(100, " ##0 "), " 100 ");
    EXPECT_EQ(formatNumber(-12, "  ##0 "), "  -12 ");
}

TEST(NumberFormat, NegativeValues) {
    EXPECT_EQ(formatNumber(-4.04, "###0.0"), "-4.0");
    EXPECT_EQ(formatNumber(-1234.56, "####0."), "-1235.");
    EXPECT_EQ(formatNumber(-0.25, "#0.000"), "-0.250");
    EXPECT_EQ(formatNumber(-0.2, "###.000"), "-.200");
    // A value that rounds to zero shows no sign.
    EXPECT_EQ(formatNumber(-0.04, "###0.0"), "0.0");
    EXPECT_EQ(formatNumber(-0.0, "##0"), "0");
}

TEST(NumberFormat, NonFiniteValuesNeverShowNanOrInf) {
    for (const char* pattern : {"####0.", "###0.0", "  ##0 ", "#0.0 ml collapse", "###.000"}) {
        EXPECT_EQ(formatNumber(std::numeric_limits<double>::quiet_NaN(), pattern), "--");
        EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), pattern), "--");
        EXPECT_EQ(formatNumber(-std::numeric_limits<double>::infinity(), pattern), "--");
    }
    // The largest finite values still format as digits.
    const std::string big = formatNumber(std::numeric_limits<double>::max(), "##0.0");
    EXPECT_EQ(big.size(), 311u);
    EXPECT_EQ(big.substr(0, 5), "17976");
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::denorm_min(), "#0.000"), "0.000");
}
