// The pieces the figures are made of: the chart's scales, the printed numbers, and the engine
// scope that keeps a figure's runs away from the learner's model.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "figures/ModelRuns.h"
#include "figures/Plot.h"
#include "figures/Style.h"
#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"
#include "workbench/UndoHistory.h"

namespace vasora::figures {
namespace {

using namespace vasora::model;

TEST(Chart, MapsBothScalesIntoTheAreaWithUpwardValues) {
    QImage img(300, 200, QImage::Format_RGB32);
    QPainter p(&img);
    Chart c(p, QRectF(10, 20, 200, 100), Scale{0, 10, 2}, Scale{-5, 5, 1});
    c.setRightScale(Scale{0, 1000, 250});
    EXPECT_DOUBLE_EQ(c.px(0), 10);
    EXPECT_DOUBLE_EQ(c.px(10), 210);
    EXPECT_DOUBLE_EQ(c.px(2.5), 60);
    EXPECT_DOUBLE_EQ(c.py(-5), 120) << "the lowest value at the bottom";
    EXPECT_DOUBLE_EQ(c.py(5), 20);
    EXPECT_DOUBLE_EQ(c.py(0), 70);
    EXPECT_DOUBLE_EQ(c.py2(500), 70) << "the right scale shares the height";
    EXPECT_EQ(c.at(10, 1000, true), QPointF(210, 20));
}

TEST(Chart, DrawsNothingOutsideItsAreaAndItsLabels) {
    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const Chart c(p, QRectF(100, 50, 200, 150), Scale{0, 10, 5}, Scale{0, 10, 5});
    // A line far outside the scales is clipped to the area.
    c.line({{-100, -100}, {100, 100}}, QPen(Qt::red, 3));
    p.end();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (QColor(img.pixel(x, y)).red() > 200 && QColor(img.pixel(x, y)).green() < 80) {
                EXPECT_TRUE(QRect(98, 48, 205, 155).contains(x, y)) << x << "," << y;
            }
}

TEST(Numbers, PrintWithATrueMinusAndNoNegativeZero) {
    const QString minus(QChar(0x2212));
    EXPECT_EQ(style::number(-1.25, 1), minus + "1.3") << "halves away from zero";
    EXPECT_EQ(style::number(-0.04, 1), "0.0");
    EXPECT_EQ(style::number(5500, 0), "5500");
    EXPECT_EQ(style::number(0.923, 2), "0.92");
}

TEST(Text, ABlockIsAsHighAsItsLines) {
    const QRectF one = style::textBounds("one", style::kText);
    const QRectF three = style::textBounds("one\ntwo\nthree", style::kText);
    EXPECT_NEAR(three.height(), 3 * one.height(), 0.01);
    EXPECT_GT(three.width(), one.width());
}

class Scope : public ::testing::Test {
  protected:
    void SetUp() override {
        resetState();
        setView(&learner);
    }
    void TearDown() override {
        setView(nullptr);
        resetState();
    }
    RecordingView learner;
};

TEST_F(Scope, GivesAZeroedQuietEngineAndPutsEverythingBack) {
    workbench::loadModelWindow();
    state().HrtRate = 88;
    {
        EngineScope outer;
        EXPECT_EQ(state().HrtRate, 0);
        EXPECT_NE(&view(), &learner);
        state().HrtRate = 50;
        {
            EngineScope inner;
            EXPECT_EQ(state().HrtRate, 0);
            workbench::loadModelWindow();
        }
        EXPECT_EQ(state().HrtRate, 50) << "an inner scope restores the outer one";
    }
    EXPECT_EQ(state().HrtRate, 88);
    EXPECT_EQ(&view(), &learner);
}

TEST_F(Scope, TheLearnersUndoHistoryIsNeitherForgottenNorAddedTo) {
    workbench::loadModelWindow();
    int told = 0;
    workbench::setUndoListener([&](bool) { ++told; });
    ASSERT_EQ(workbench::changeParameter(*model::parameterByLabel("lblHR_RV"), 90).status,
              workbench::ChangeResult::Applied);
    ASSERT_EQ(workbench::undoSteps(), 1u);
    told = 0;
    {
        EngineScope scope;
        EXPECT_EQ(workbench::undoSteps(), 0u);
        // A figure's run: the load forgets, the change remembers; neither is the learner's.
        const Settled s = settleAfter(110, [] {
            return workbench::changeParameter(*model::parameterByLabel("lblHR_RV"), 110);
        });
        EXPECT_TRUE(s.applied);
        EXPECT_EQ(told, 0) << "the learner's Undo button hears nothing of the figure's runs";
    }
    EXPECT_EQ(workbench::undoSteps(), 1u);
    EXPECT_EQ(state().HrtRate, 90);
    ASSERT_TRUE(workbench::undoLastChange());
    EXPECT_EQ(state().HrtRate, 72);
    workbench::setUndoListener(nullptr);
    workbench::forgetUndo();
}

TEST_F(Scope, ARefusedChangeIsReportedAndTheNormalCirculationStays) {
    const Settled s = settleAfter(
        300, [] { return workbench::changeParameter(*model::parameterByLabel("lblHR_RV"), 300); });
    EXPECT_FALSE(s.applied) << "the dialog refuses rates above 249.5";
    EXPECT_TRUE(s.settled);
    EXPECT_EQ(s.s.HrtRate, 72);
    EXPECT_EQ(learner.messages.size(), 0u) << "no message reaches the learner's windows";
}

TEST_F(Scope, AChangeThatNeverSettlesStopsAtAutoRunsLimit) {
    // A transfusion that never reaches its target keeps the flows apart for good.
    const Settled s = settleAfter(0, [] {
        ModelState& m = state();
        m.VolChangeKind = 1;
        m.VolChangeTarget = 1e9;
        m.VolChangeRate = 50;
        RunModel();
        DisplayValues();
        return workbench::ChangeResult{workbench::ChangeResult::Applied, {}};
    });
    EXPECT_TRUE(s.applied);
    EXPECT_FALSE(s.settled);
    EXPECT_GT(s.s.ModelTime, kAutoRunLimit);
    EXPECT_LT(s.s.ModelTime, kAutoRunLimit + 0.2);
}

}  // namespace
}  // namespace vasora::figures
