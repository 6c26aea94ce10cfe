// The strip chart's backing image: points, clearing, resizing, and the window's time marks.

#include <QLabel>

#include "tests/support/GuiFixture.h"
#include "workbench/StripChart.h"
#include "workbench/frmPlotData.h"

using namespace vasora;
using workbench::StripChartSurface;

TEST(StripChartSurface, WidePenPointsCoverTwoByTwoAndClipAtTheEdges) {
    StripChartSurface s(QSize(10, 8));
    s.point(5, 5, model::palette::LightBlue, 2);
    EXPECT_EQ(s.image().pixel(4, 4), qRgb(0, 0, 255));
    EXPECT_EQ(s.image().pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(s.image().pixel(6, 6), qRgb(255, 255, 255));
    s.point(0, 0, model::palette::LightRed, 2);  // partly outside: the inside pixel is set
    EXPECT_EQ(s.image().pixel(0, 0), qRgb(255, 0, 0));
    s.point(-5, 100, model::palette::Black, 1);  // wholly outside: ignored, no crash
    s.point(9, 7, model::palette::LightMagenta, 1);
    EXPECT_EQ(s.image().pixel(9, 7), qRgb(255, 0, 255));
    s.clear();
    EXPECT_EQ(s.image().pixel(5, 5), qRgb(255, 255, 255));
}

TEST(StripChartSurface, ResizingKeepsTheDrawingScaledToTheNewSize) {
    StripChartSurface s(QSize(100, 50));
    for (int x = 0; x < 100; ++x) s.point(x, 25, model::palette::Black, 2);
    s.resize(QSize(200, 100));
    ASSERT_EQ(s.width(), 200);
    ASSERT_EQ(s.height(), 100);
    // The line that ran along the middle still does.
    EXPECT_LT(qGray(s.image().pixel(100, 49)), 200);
    EXPECT_EQ(s.image().pixel(100, 10), qRgb(255, 255, 255));
    s.resize(QSize(0, 0));  // a collapsed window keeps a usable surface
    EXPECT_GE(s.width(), 1);
}

class PlotWindow : public GuiFixture {};

TEST_F(PlotWindow, RunsDrawThroughTheWindowAndSetTheSweepCaptions) {
    start();
    auto* plot = forms::get<workbench::frmPlotData>(forms::frmPlotData);
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->windowTitle(), "Data Plot");
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label4")->text(), "^--0      Time ->");
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label5")->text(), "^1 minute");
    // Run past three minutes: a new sweep starts and its captions show.
    model::state().PrintInterval = 3.05;
    model::RunModel();
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label4")->text(), "^--3      Time ->");
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label5")->text(), "^4 minute");
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label6")->text(), "^5");
    // The surface follows the widget's size, and the drawing survives a resize.
    plot->show();
    plot->resize(900, 500);
    QApplication::processEvents();
    EXPECT_EQ(plot->chart()->surface().width(), plot->chart()->width());
    EXPECT_EQ(model::view().plotWidth(), plot->chart()->width());
    int inked = 0;
    const QImage& img = plot->chart()->surface().image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) inked += img.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 50);
}

TEST_F(PlotWindow, ClosingByTheFrameHidesItForTheRunsToo) {
    start();
    auto* plot = forms::get<workbench::frmPlotData>(forms::frmPlotData);
    plot->show();
    plot->close();
    EXPECT_FALSE(plot->isVisible());
    EXPECT_EQ(model::state().PlotHidden, 1);
}
