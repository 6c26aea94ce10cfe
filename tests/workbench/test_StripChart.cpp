// The strip chart: traces kept as data in the chart's own grid, the previous sweep kept faded,
// the scales, and the window's time marks.

#include <QLabel>
#include <QPainter>

#include "tests/support/GuiFixture.h"
#include "workbench/StripChart.h"
#include "workbench/frmPlotData.h"

using namespace vasora;
using workbench::StripChartSurface;
namespace pal = model::palette;

namespace {

int countColour(const QImage& img, QRect r, auto pred) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += pred(QColor(img.pixel(x, y)));
    return n;
}

// The venous return's magenta, also where it is blended with the red beneath it.
bool magenta(const QColor& c) {
    return c.red() > 200 && c.blue() > 120 && c.green() < 80;
}

}  // namespace

TEST(StripChartSurface, PointsGoToTheTraceTheirColourNamesAndStayInTheGrid) {
    StripChartSurface s;
    s.point(10, 500, pal::LightBlue, 2);
    s.point(10, 600, pal::LightRed, 2);
    s.point(10, 610, pal::LightMagenta, 1);
    s.point(10, 850, pal::Black, 1);
    EXPECT_EQ(s.yAt(StripChartSurface::Pressure, 10), 500);
    EXPECT_EQ(s.yAt(StripChartSurface::CardiacOutput, 10), 600);
    EXPECT_EQ(s.yAt(StripChartSurface::VenousReturn, 10), 610);
    EXPECT_EQ(s.yAt(StripChartSurface::ZeroLine, 10), 850);
    EXPECT_EQ(s.currentPoints(), 4);
    // Outside the grid, or in a colour that is no trace: ignored, no crash.
    s.point(-1, 10, pal::LightBlue, 2);
    s.point(StripChartSurface::kLogicalWidth, 10, pal::LightBlue, 2);
    s.point(5, StripChartSurface::kLogicalHeight, pal::LightBlue, 2);
    s.point(5, 5, model::kColorChanged, 1);
    EXPECT_EQ(s.currentPoints(), 4);
    // A second point at the same place replaces the first.
    s.point(10, 400, pal::LightBlue, 2);
    EXPECT_EQ(s.yAt(StripChartSurface::Pressure, 10), 400);
    EXPECT_EQ(s.currentPoints(), 4);
    s.clear();
    EXPECT_FALSE(s.has(StripChartSurface::Pressure, 10));
}

TEST(StripChartSurface, AnEndedSweepStaysUntilTheNextOneEndsOrAClear) {
    StripChartSurface s;
    for (int x = 0; x < 3000; ++x) s.point(x, 300, pal::LightRed, 2);
    s.endSweep();
    EXPECT_EQ(s.currentPoints(), 0);
    EXPECT_EQ(s.previousPoints(), 3000);
    // The engine signals the end at every step of a short window: an empty sweep does not
    // replace the kept one.
    s.endSweep();
    s.endSweep();
    EXPECT_EQ(s.previousPoints(), 3000);
    // The new sweep's first points, at the left edge, are no sweep to keep yet.
    s.point(0, 200, pal::LightRed, 2);
    s.endSweep();
    EXPECT_EQ(s.previousPoints(), 3000);
    for (int x = 0; x < 100; ++x) s.point(x, 200, pal::LightRed, 2);
    s.endSweep();
    EXPECT_EQ(s.previousPoints(), 100);
    s.clear();
    EXPECT_EQ(s.previousPoints(), 0);
    EXPECT_EQ(s.currentPoints(), 0);
}

TEST(StripChartSurface, VenousReturnShowsWhereItEqualsCardiacOutputAndThePreviousSweepIsPale) {
    StripChartSurface s;
    // The previous sweep: a high trace all the way across.
    for (int x = 0; x < 3000; ++x) s.point(x, 200, pal::LightBlue, 2);
    s.endSweep();
    // The current sweep: a third of the way, venous return equal to cardiac output.
    for (int x = 0; x < 1000; ++x) {
        s.point(x, 500, pal::LightRed, 2);
        s.point(x, 500, pal::LightMagenta, 1);
    }
    QImage img(620, 320, QImage::Format_RGB32);
    img.fill(Qt::white);
    const QRectF area(60, 20, 500, 280);
    {
        QPainter p(&img);
        s.paint(p, area);
    }
    const int y = int(area.top() + 500.0 / 1000 * area.height());
    // Along the current sweep the venous return line is visible on top of cardiac output.
    EXPECT_GT(countColour(img, QRect(80, y - 3, 60, 7), magenta), 20);
    auto red = [](const QColor& c) { return c.red() > 200 && c.blue() < 60 && c.green() < 60; };
    EXPECT_GT(countColour(img, QRect(80, y - 3, 60, 7), red), 20);
    // To the right of the current sweep the previous one shows, pale; to its left it is gone.
    const int yOld = int(area.top() + 200.0 / 1000 * area.height());
    auto pale = [](const QColor& c) { return c.blue() > 200 && c.red() > 120 && c.red() < 235; };
    EXPECT_GT(countColour(img, QRect(400, yOld - 2, 100, 5), pale), 50);
    EXPECT_EQ(countColour(img, QRect(80, yOld - 2, 60, 5), pale), 0);
    // The scales are drawn beside the plot area.
    auto ink = [](const QColor& c) { return c != QColor(Qt::white); };
    EXPECT_GT(countColour(img, QRect(0, 20, 55, 280), ink), 20);
    EXPECT_GT(countColour(img, QRect(565, 20, 54, 280), ink), 20);
}

class PlotWindow : public GuiFixture {};

TEST_F(PlotWindow, RunsDrawThroughTheWindowAndSetTheSweepCaptions) {
    start();
    auto* plot = forms::get<workbench::frmPlotData>(forms::frmPlotData);
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->windowTitle(), "Data Plot");
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label4")->text(), "^--0      Time ->");
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label5")->text(), "^1 minute");
    EXPECT_NE(child<QLabel>(forms::frmPlotData, "lblZeroLine"), nullptr);
    // Run past three minutes: a new sweep starts and its captions show.
    model::state().PrintInterval = 3.05;
    model::RunModel();
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label4")->text(), "^--3      Time ->");
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label5")->text(), "^4 minute");
    EXPECT_EQ(child<QLabel>(forms::frmPlotData, "Label6")->text(), "^5");
    EXPECT_GT(plot->chart()->surface().previousPoints(), 1000);
}

TEST_F(PlotWindow, TheTraceDoesNotStepWhenTheWindowIsShownOrResized) {
    start();
    auto* plot = forms::get<workbench::frmPlotData>(forms::frmPlotData);
    const auto& s = plot->chart()->surface();
    // The load's run drew while the chart was hidden; the learner's first Run after showing
    // and resizing it continues at the same height, since the circulation is steady.
    const int before = s.yAt(StripChartSurface::CardiacOutput, 50);
    ASSERT_GE(before, 0);
    plot->show();
    plot->resize(900, 500);
    QApplication::processEvents();
    click(forms::frmMain, "cmdCVModel");
    click(forms::frmCVModel, "cmdRun");
    const int after = s.yAt(StripChartSurface::CardiacOutput, 150);
    EXPECT_EQ(after, before);
    EXPECT_EQ(model::view().plotWidth(), StripChartSurface::kLogicalWidth);
}

TEST_F(PlotWindow, ClosingByTheFrameHidesItForTheRunsToo) {
    start();
    auto* plot = forms::get<workbench::frmPlotData>(forms::frmPlotData);
    plot->show();
    plot->close();
    EXPECT_FALSE(plot->isVisible());
    EXPECT_EQ(model::state().PlotHidden, 1);
}
