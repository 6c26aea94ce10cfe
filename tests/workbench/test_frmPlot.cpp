// The chart window: the sample curve, edited values, and texts that are no numbers.

#include <QChartView>
#include <QDir>
#include <QLineEdit>
#include <QValueAxis>

#include "tests/support/GuiFixture.h"
#include "workbench/frmPlot.h"

using namespace vasora;

class ChartWindow : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        plot = forms::get<workbench::frmPlot>(forms::frmPlot);
        ASSERT_NE(plot, nullptr);
        plot->show();
    }
    workbench::frmPlot* plot = nullptr;
};

TEST_F(ChartWindow, TheSampleCurveRisesTo66At120AndFallsTo6At240) {
    EXPECT_EQ(plot->windowTitle(), "Plot");
    EXPECT_TRUE(plot->points().isEmpty());
    click(forms::frmPlot, "cmdPlot");
    const QList<QPointF> pts = plot->points();
    ASSERT_EQ(pts.size(), 11);
    int top = 0;
    for (int i = 1; i < pts.size(); ++i)
        if (pts[i].y() > pts[top].y()) top = i;
    EXPECT_EQ(pts[top], QPointF(120, 66));
    for (int i = 1; i <= top; ++i) EXPECT_GT(pts[i].y(), pts[i - 1].y()) << i;
    for (int i = top + 1; i < pts.size(); ++i) EXPECT_LT(pts[i].y(), pts[i - 1].y()) << i;
    EXPECT_EQ(pts.last(), QPointF(240, 6));
    EXPECT_EQ(pts.first(), QPointF(0, 0));

    auto* view = child<QChartView>(forms::frmPlot, "MSChart1");
    ASSERT_NE(view, nullptr);
    auto* x = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Horizontal).value(0));
    auto* y = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(x && y);
    EXPECT_EQ(x->titleText(), "Heart Rate");
    EXPECT_EQ(x->min(), 0);
    EXPECT_EQ(x->max(), 250);
    EXPECT_EQ(y->titleText(), "Cardiac Output / 100");
    EXPECT_EQ(y->max(), 100);
    if (const QString d = qEnvironmentVariable("VASORA_SCREENSHOTS"); !d.isEmpty())
        plot->grab().save(QDir(d).filePath(QStringLiteral("frmPlot.png")));
}

TEST_F(ChartWindow, EditedValuesRedrawAndNonNumbersReadAsZero) {
    plot->cell(0, 4)->setText(QStringLiteral("80.5"));
    plot->cell(1, 4)->setText(QStringLiteral("7250"));
    plot->cell(0, 5)->setText(QStringLiteral("abc"));
    plot->cell(1, 6)->setText(QStringLiteral("66,00"));  // a comma is no decimal separator
    plot->cell(1, 7)->setText(QString());
    click(forms::frmPlot, "cmdPlot");
    const QList<QPointF> pts = plot->points();
    ASSERT_EQ(pts.size(), 11);
    EXPECT_EQ(pts[4], QPointF(80.5, 72.5));
    EXPECT_EQ(pts[5], QPointF(0, 65));
    EXPECT_EQ(pts[6], QPointF(120, 0));
    EXPECT_EQ(pts[7], QPointF(140, 0));
    EXPECT_EQ(plot->cell(2, 10)->objectName(), "txtZ(10)");
    EXPECT_EQ(plot->cell(3, 0), nullptr);
    EXPECT_EQ(plot->cell(0, 11), nullptr);
    click(forms::frmPlot, "cmdClose");
    EXPECT_FALSE(plot->isVisible());
}
