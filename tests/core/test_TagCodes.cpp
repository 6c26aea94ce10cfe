#include "core/TagCodes.h"

#include <gtest/gtest.h>

using vasora::labbook::SplitTag;

namespace {

struct Parts {
    std::int16_t kind = -7, p2 = -7, p3 = -7, p4 = -7;
};

Parts split(std::int32_t code) {
    Parts p;
    SplitTag(code, p.kind, p.p2, p.p3, p.p4);
    return p;
}

void expectParts(std::int32_t code, int kind, int p2, int p3, int p4) {
    const Parts p = split(code);
    EXPECT_EQ(p.kind, kind) << code;
    EXPECT_EQ(p.p2, p2) << code;
    EXPECT_EQ(p.p3, p3) << code;
    EXPECT_EQ(p.p4, p4) << code;
}

}  // namespace

TEST(SplitTag, CellCodesGiveTableRowAndColumn) {
    expectParts(23041, 2, 3, 4, 1);
    expectParts(30155, 3, 0, 15, 5);
    expectParts(20000, 2, 0, 0, 0);
    expectParts(39999, 3, 9, 99, 9);
}

TEST(SplitTag, KindsWithOneDigitAndLinks) {
    expectParts(48123, 4, 8, 0, 0);
    expectParts(61999, 6, 1, 0, 0);
    expectParts(70555, 7, 0, 0, 0);
    expectParts(91000, 9, 1, 0, 0);
    expectParts(99999, 9, 9, 0, 0);
    expectParts(53012, 5, 3, 12, 0);
    expectParts(59999, 5, 9, 999, 0);
    expectParts(51000, 5, 1, 0, 0);
}

TEST(SplitTag, KindsWithoutPartsIgnoreTheirDigits) {
    expectParts(0, 0, 0, 0, 0);
    expectParts(9999, 0, 0, 0, 0);
    expectParts(18765, 1, 0, 0, 0);
    expectParts(89999, 8, 0, 0, 0);
}

TEST(SplitTag, OutOfRangeIsRefusedAndLeavesOutputs) {
    for (const std::int32_t code : {100000, -1, 2147483647, -2147483647 - 1}) {
        Parts p;
        p.kind = 11, p.p2 = 12, p.p3 = 13, p.p4 = 14;
        EXPECT_FALSE(SplitTag(code, p.kind, p.p2, p.p3, p.p4)) << code;
        EXPECT_EQ(p.kind, 11);
        EXPECT_EQ(p.p2, 12);
        EXPECT_EQ(p.p3, 13);
        EXPECT_EQ(p.p4, 14);
    }
    EXPECT_EQ(vasora::labbook::splitTagError(100000), "Try again; Split tag error: 100000");
    EXPECT_EQ(vasora::labbook::splitTagError(-1), "Try again; Split tag error: -1");
    Parts p;
    EXPECT_TRUE(SplitTag(99999, p.kind, p.p2, p.p3, p.p4));
    EXPECT_TRUE(SplitTag(0, p.kind, p.p2, p.p3, p.p4));
}
