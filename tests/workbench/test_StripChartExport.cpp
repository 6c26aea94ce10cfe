// The strip chart saved as data and as a picture: the grid turned back into minutes, mmHg and
// L/min, the window's buttons through the dialog seam, refusals reported, Cancel silent.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "model/ModelState.h"
#include "tests/support/GuiFixture.h"
#include "workbench/StripChart.h"
#include "workbench/StripChartExport.h"
#include "workbench/frmPlotData.h"

using namespace vasora;
using workbench::StripChartSurface;
namespace pal = model::palette;

namespace {

QList<QByteArray> lines(const QByteArray& csv) {
    QList<QByteArray> l = csv.split('\n');
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    for (QByteArray& x : l) {
        EXPECT_TRUE(x.endsWith('\r'));
        x.chop(1);
    }
    return l;
}

}  // namespace

TEST(StripChartCsv, ConvertsTheGridBackAndPutsThePreviousSweepFirst) {
    StripChartSurface s;
    // The previous sweep: one moment at x 100.
    s.point(100, 425, pal::LightBlue, 2);  // 85 mmHg
    for (int x = 0; x < 100; ++x) s.point(x, 850, pal::Black, 1);
    s.endSweep();
    // The current sweep: pressure and cardiac output at x 0, venous return alone at x 2.
    s.point(0, 350, pal::LightBlue, 2);     // 100 mmHg
    s.point(0, 483, pal::LightRed, 2);      // 5.505 L/min
    s.point(2, 500, pal::LightMagenta, 1);  // 5.25 L/min
    s.point(1, 850, pal::Black, 1);         // the zero line is no data

    const auto l = lines(workbench::stripChartCsv(s, workbench::sweepTimes(4.5, 3000)));
    ASSERT_EQ(l.size(), 4);
    EXPECT_EQ(l[0], "minute,arterial pressure (mmHg),cardiac output (L/min),venous return (L/min)");
    EXPECT_EQ(l[1], "0.100,85.0,,");
    EXPECT_EQ(l[2], "3.000,100.0,5.505,");
    EXPECT_EQ(l[3], "3.002,,,5.250");
    EXPECT_DOUBLE_EQ(StripChartSurface::mmHgAt(850), 0);
    EXPECT_DOUBLE_EQ(StripChartSurface::litresPerMinuteAt(0), 12.75);
}

TEST(StripChartCsv, TheSweepsFollowTheModelTimeAndTheSpan) {
    using workbench::sweepTimes;
    EXPECT_EQ(sweepTimes(0.1, 3000).currentStart, 0);
    EXPECT_EQ(sweepTimes(3.0, 3000).currentStart, 0);  // the last point of the first sweep
    EXPECT_EQ(sweepTimes(3.0001, 3000).currentStart, 3);
    EXPECT_EQ(sweepTimes(16.9, 3000).currentStart, 15);
    EXPECT_DOUBLE_EQ(sweepTimes(1, 6000).minutesPerUnit, 0.002);
    // An empty chart is a header alone.
    EXPECT_EQ(lines(workbench::stripChartCsv(StripChartSurface(), sweepTimes(1, 3000))).size(), 1);
}

class PlotSaving : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        start();
        click(forms::frmMain, "cmdCVModel");
        plot = forms::get<workbench::frmPlotData>(forms::frmPlotData);
        ASSERT_TRUE(dir.isValid());
    }
    QTemporaryDir dir;
    workbench::frmPlotData* plot = nullptr;
};

TEST_F(PlotSaving, SaveDataWritesWhatTheModelRanInItsUnits) {
    for (int i = 0; i < 3; ++i) click(forms::frmCVModel, "cmdRun");
    seam.paths.push_back(dir.filePath("run"));  // the extension is added
    click(forms::frmPlotData, "cmdSaveData");
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].kind, "save");
    QFile f(dir.filePath("run.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const auto l = lines(f.readAll());
    // The load's run and three more, 100 steps of 0.001 minute each: one row per step.
    EXPECT_EQ(l.size(), 1 + model::state().StepCount);
    EXPECT_EQ(model::state().StepCount, 400);
    const QList<QByteArray> last = l.last().split(',');
    ASSERT_EQ(last.size(), 4);
    const model::ModelState& s = model::state();
    EXPECT_NEAR(last[0].toDouble(), s.ModelTime, 0.0011);
    EXPECT_NEAR(last[1].toDouble(), s.Press[model::SysA], 0.2);
    EXPECT_NEAR(last[2].toDouble(), s.Flow[model::LeftV] / 1000, 0.015);
    EXPECT_NEAR(last[3].toDouble(), s.Flow[model::SysV] / 1000, 0.015);
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(PlotSaving, SavePictureWritesThePaintedChart) {
    seam.paths.push_back(dir.filePath("chart.PNG"));
    click(forms::frmPlotData, "cmdSavePicture");
    QImage img(dir.filePath("chart.PNG"));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(1200, 560));
    int blue = 0, red = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2) {
            const QColor c(img.pixel(x, y));
            blue += c.blue() > 200 && c.red() < 60 && c.green() < 60;
            red += c.red() > 200 && c.blue() < 60 && c.green() < 60;
        }
    EXPECT_GT(blue, 50);  // the pressure trace and its scale
    EXPECT_GT(red, 50);   // the cardiac output
}

TEST_F(PlotSaving, CancelSavesNothingAndAFileThatCannotBeWrittenIsReported) {
    click(forms::frmPlotData, "cmdSaveData");  // no path scripted: Cancel
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // A name that is a folder, and a folder that does not exist: each is said, nothing is lost.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.csv"));
    seam.paths.push_back(dir.filePath("taken.csv"));
    click(forms::frmPlotData, "cmdSaveData");
    seam.paths.push_back(dir.filePath("no/such/folder/chart.png"));
    click(forms::frmPlotData, "cmdSavePicture");
    const QStringList m = seam.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_TRUE(m[0].contains("taken.csv"));
    EXPECT_TRUE(m[1].contains("chart.png"));
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.csv")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}
