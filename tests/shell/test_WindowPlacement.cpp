// Where the workbench windows open: on small and large screens, with and without a lab book,
// nothing covers anything else and everything stays on the screen.

#include <gtest/gtest.h>

#include "shell/WindowPlacement.h"

using vasora::shell::placeWorkbench;
using vasora::shell::WorkbenchPlacement;

namespace {

const QSize kModel(1260, 684);
const QMargins kFrame(4, 30, 4, 4);

void expectTiled(const QRect& screen, const WorkbenchPlacement& p, bool labBook) {
    EXPECT_TRUE(screen.contains(p.model)) << "model";
    EXPECT_TRUE(screen.contains(p.chart)) << "chart";
    EXPECT_FALSE(p.model.intersects(p.chart));
    // The chart keeps room for its scales and a readable trace.
    EXPECT_GE(p.chart.height() - kFrame.top() - kFrame.bottom(), 170);
    EXPECT_GE(p.modelScale, vasora::shell::kMinModelScale);
    EXPECT_LE(p.modelScale, 1.0);
    // The model window's outer rectangle holds its scaled inner size.
    EXPECT_GE(p.model.width() - 8, int(kModel.width() * p.modelScale));
    EXPECT_GE(p.model.height() - 34, int(kModel.height() * p.modelScale));
    if (labBook) {
        ASSERT_FALSE(p.labBook.isEmpty());
        EXPECT_TRUE(screen.contains(p.labBook));
        EXPECT_FALSE(p.labBook.intersects(p.model));
        EXPECT_FALSE(p.labBook.intersects(p.chart));
        EXPECT_GE(p.labBook.width(), 340);
    } else {
        EXPECT_TRUE(p.labBook.isEmpty());
    }
}

}  // namespace

TEST(WindowPlacement, OnASmallScreenTheModelShrinksAndTheChartTakesTheBottom) {
    const QRect screen(0, 0, 1366, 768);
    const WorkbenchPlacement p = placeWorkbench(screen, kModel, false, kFrame);
    expectTiled(screen, p, false);
    EXPECT_LT(p.modelScale, 1.0);
    EXPECT_GE(p.modelScale, 0.7);  // still easy to read
    EXPECT_EQ(p.chart.bottom(), screen.bottom());
    EXPECT_EQ(p.chart.width(), screen.width());
}

TEST(WindowPlacement, OnALargeScreenTheModelKeepsItsDesignSize) {
    const QRect screen(0, 0, 1920, 1080);
    const WorkbenchPlacement p = placeWorkbench(screen, kModel, false, kFrame);
    expectTiled(screen, p, false);
    EXPECT_EQ(p.modelScale, 1.0);
}

TEST(WindowPlacement, WithALabBookAllThreeShareTheScreen) {
    for (const QRect& screen : {QRect(0, 0, 1366, 768), QRect(0, 0, 1920, 1080),
                                QRect(0, 0, 1280, 720), QRect(100, 40, 1366, 728)}) {
        SCOPED_TRACE(screen.width());
        expectTiled(screen, placeWorkbench(screen, kModel, true, kFrame), true);
    }
}

TEST(WindowPlacement, ATinyScreenNeverScalesBelowTheReadableMinimum) {
    const WorkbenchPlacement p = placeWorkbench(QRect(0, 0, 800, 600), kModel, false, kFrame);
    EXPECT_EQ(p.modelScale, vasora::shell::kMinModelScale);
    EXPECT_FALSE(p.model.intersects(p.chart));
}

TEST(WindowPlacement, AtTwiceTheScaleAFullHdScreenStillHoldsAllThreeWindows) {
    // 1920 x 1080 at 200 % is a screen of 960 x 540 device-independent pixels.
    const QRect screen(0, 0, 960, 540);
    for (bool labBook : {false, true}) {
        const WorkbenchPlacement p = placeWorkbench(screen, kModel, labBook, kFrame, 2.0);
        EXPECT_TRUE(screen.contains(p.model)) << labBook;
        EXPECT_TRUE(screen.contains(p.chart)) << labBook;
        EXPECT_FALSE(p.model.intersects(p.chart)) << labBook;
        if (labBook) {
            EXPECT_FALSE(p.labBook.intersects(p.model));
        }
        // Still at least as large in device pixels as the smallest scale at 100 %.
        EXPECT_GE(p.modelScale * 2.0, vasora::shell::kMinModelScale - 1e-9);
    }
    // At 100 % the same small screen is not scaled below the readable minimum.
    EXPECT_EQ(placeWorkbench(screen, kModel, false, kFrame, 1.0).modelScale,
              vasora::shell::kMinModelScale);
}

TEST(WindowPlacement, GuytonsDiagramStandsBesideTheModelWindowAndNeverOnIt) {
    for (bool labBook : {false, true})
        for (const QRect& screen : {QRect(0, 0, 1366, 768), QRect(0, 0, 1920, 1080),
                                    QRect(0, 0, 1280, 720), QRect(100, 40, 1366, 728)}) {
            SCOPED_TRACE(testing::Message() << screen.width() << " lab book " << labBook);
            const WorkbenchPlacement p = placeWorkbench(screen, kModel, labBook, kFrame);
            EXPECT_TRUE(screen.contains(p.diagram));
            EXPECT_FALSE(p.diagram.intersects(p.model));
            EXPECT_GE(p.diagram.width(), vasora::shell::kMinDiagramWidth);
            EXPECT_EQ(p.diagram.right(), screen.right());
            EXPECT_EQ(p.diagram.top(), screen.top());
            // Room for two panels of curves one above the other.
            EXPECT_GE(p.diagram.height(), 500);
            // A narrow place reaches over the strip chart's right end; a wide one leaves the
            // chart uncovered.
            if (p.diagram.width() < vasora::shell::kTallDiagramBelowWidth) {
                EXPECT_EQ(p.diagram.bottom(), screen.bottom());
            } else {
                EXPECT_FALSE(p.diagram.intersects(p.chart));
            }
            if (labBook) {
                EXPECT_EQ(p.diagram.left(), p.labBook.left());
            }
        }
    // At 1920 x 1080 it covers neither the model window nor the strip chart.
    const WorkbenchPlacement large = placeWorkbench(QRect(0, 0, 1920, 1080), kModel, false, kFrame);
    EXPECT_FALSE(large.diagram.intersects(large.chart));
}

TEST(WindowPlacement, OnAScreenWithNoRoomBesideTheModelTheDiagramKeepsItsWidthAtTheRightEdge) {
    const QRect screen(0, 0, 1024, 768);
    const WorkbenchPlacement p = placeWorkbench(screen, kModel, false, kFrame);
    EXPECT_TRUE(screen.contains(p.diagram));
    EXPECT_EQ(p.diagram.width(), vasora::shell::kMinDiagramWidth);
    EXPECT_EQ(p.diagram.right(), screen.right());
}
