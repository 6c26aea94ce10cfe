// The information viewer's history: sixty entries, Back and Forward, clearing.

#include <gtest/gtest.h>

#include "core/CV_Nav.h"

using namespace vasora::nav;

namespace {
struct Nav : ::testing::Test {
    void SetUp() override { clearHistory(); }
    void TearDown() override { clearHistory(); }
    // A link as the viewer follows it: the place left, then the place reached. Returns how
    // many of the two pushes found the history full.
    int link(int from, int to) { return !PushPosition(from) + !PushPosition(to); }
};
}  // namespace

TEST_F(Nav, ThirtyLinksFillSixtyEntriesAndTheThirtyFirstIsRefusedTwice) {
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(link(k * 100, k * 100 + 1), 0) << k;
    EXPECT_EQ(history().NavPos, 60);
    EXPECT_EQ(history().NavTop, 60);
    EXPECT_EQ(history().NavStack[1], 100);
    EXPECT_EQ(history().NavStack[60], 3001);
    EXPECT_EQ(link(9000, 9001), 2);  // both pushes show the message and store nothing
    EXPECT_EQ(history().NavStack[60], 3001);
    EXPECT_EQ(history().NavStack[61], 0);  // the array's last entry is never used
    // After one Back, the next link stores its departure and is refused its arrival.
    EXPECT_EQ(GoBack(), 3000);
    EXPECT_EQ(link(7000, 7001), 1);
    EXPECT_EQ(history().NavStack[60], 7000);
    EXPECT_EQ(history().NavTop, 60);
}

TEST_F(Nav, BackAndForwardAfterOneLink) {
    link(12, 345);
    EXPECT_EQ(history().NavPos, 2);
    EXPECT_TRUE(canGoBack());
    EXPECT_FALSE(canGoForward());
    EXPECT_EQ(GoBack(), 12);  // back to where the link was clicked
    EXPECT_FALSE(canGoBack());
    EXPECT_TRUE(canGoForward());
    EXPECT_EQ(GoForward(), 345);
    EXPECT_FALSE(canGoForward());
    EXPECT_TRUE(canGoBack());
    // At either end the walks give paragraph 1 and move nowhere.
    EXPECT_EQ(GoForward(), 1);
    EXPECT_EQ(history().NavPos, 2);
}

TEST_F(Nav, ANewLinkAfterGoingBackDropsTheForwardEntries) {
    link(1, 2);
    link(3, 4);
    GoBack();
    GoBack();
    EXPECT_EQ(history().NavPos, 2);
    link(5, 6);
    EXPECT_EQ(history().NavTop, 4);
    EXPECT_FALSE(canGoForward());
    EXPECT_EQ(GoBack(), 5);
}

TEST_F(Nav, ClearingLeavesNothingToWalk) {
    link(1, 2);
    link(3, 4);
    GoBack();
    clearHistory();
    EXPECT_EQ(history().NavPos, 0);
    EXPECT_EQ(history().NavTop, 0);
    EXPECT_FALSE(canGoBack());
    EXPECT_FALSE(canGoForward());
    // Forward from a cleared history walks nothing (it would walk zeroed entries before).
    EXPECT_EQ(GoForward(), 1);
    EXPECT_EQ(history().NavPos, 0);
    EXPECT_EQ(GoBack(), 1);
}
