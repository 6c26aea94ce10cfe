// Undo on the real model window: Ctrl+Z and the Undo button take back the last change with its
// mark, the labels and the strip chart; the button is usable only while there is something to
// take back.

#include <QLabel>
#include <QPushButton>

#include "model/ModelState.h"
#include "tests/support/GuiFixture.h"
#include "workbench/ParameterChanges.h"
#include "workbench/StripChart.h"
#include "workbench/UndoHistory.h"
#include "workbench/frmCVModel.h"
#include "workbench/frmPlotData.h"

using namespace vasora;
using model::state;

namespace {
const QColor kChanged(200, 255, 255);
const QColor kNormal(255, 255, 0);
}  // namespace

class ModelWindowUndo : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        start();
        click(forms::frmMain, "cmdCVModel");
        cv = forms::get<workbench::frmCVModel>(forms::frmCVModel);
        ASSERT_NE(cv, nullptr);
        plot = forms::get<workbench::frmPlotData>(forms::frmPlotData);
        undo = child<QPushButton>(forms::frmCVModel, "cmdUndo");
        ASSERT_NE(undo, nullptr);
    }
    QColor back(const char* label) {
        return child<QLabel>(forms::frmCVModel, label)->palette().color(QPalette::Window);
    }
    void change(const char* label, const char* text) {
        ASSERT_EQ(workbench::changeByText(label, text).status, workbench::ChangeResult::Applied);
    }
    void pressCtrlZ() {
        cv->activateWindow();
        QApplication::setActiveWindow(cv);
        QTest::keyClick(cv, Qt::Key_Z, Qt::ControlModifier);
    }
    QString label4() { return child<QLabel>(forms::frmPlotData, "Label4")->text(); }

    workbench::frmCVModel* cv = nullptr;
    workbench::frmPlotData* plot = nullptr;
    QPushButton* undo = nullptr;
};

TEST_F(ModelWindowUndo, CtrlZTakesBackTheChangeItsMarkAndTheStripChart) {
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(undo->toolTip().contains("Ctrl+Z"));
    const QString pressure = caption("lblPressSysA");
    const int points = plot->chart()->surface().currentPoints();
    const double time = state().ModelTime;

    change("lblResisSysA", "300");
    for (int i = 0; i < 5; ++i) click(forms::frmCVModel, "cmdRun");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(back("lblResisSysA"), kChanged);
    ASSERT_NE(caption("lblPressSysA"), pressure);
    ASSERT_GT(plot->chart()->surface().currentPoints(), points);

    pressCtrlZ();
    EXPECT_EQ(back("lblResisSysA"), kNormal);
    EXPECT_EQ(caption("lblPressSysA"), pressure);
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_EQ(plot->chart()->surface().currentPoints(), points);
    EXPECT_FALSE(undo->isEnabled());
    // A second Ctrl+Z with nothing left changes nothing and asks nothing.
    pressCtrlZ();
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(ModelWindowUndo, TheButtonGoesBackOneStepAtATimeAcrossASweep) {
    // Close to the end of the first sweep (2.8 minutes), then two changes; the runs after the
    // second pass three minutes, where the next sweep starts.
    state().PrintInterval = 2.7;
    click(forms::frmCVModel, "cmdRun");
    state().PrintInterval = 0.1;
    const QString sweep0 = label4();
    change("lblHR_RV", "100");
    const double afterFirst = state().ModelTime;
    const int pointsAfterFirst = plot->chart()->surface().currentPoints();
    change("lblCompSysV", "60");
    for (int i = 0; i < 4; ++i) click(forms::frmCVModel, "cmdRun");
    ASSERT_GT(state().ModelTime, 3.0);
    ASSERT_GT(plot->chart()->surface().previousPoints(), 0);
    ASSERT_NE(label4(), sweep0);

    click(forms::frmCVModel, "cmdUndo");
    EXPECT_EQ(state().ModelTime, afterFirst);
    EXPECT_EQ(state().HrtRate, 100);
    EXPECT_EQ(back("lblHR_RV"), kChanged);
    EXPECT_EQ(back("lblCompSysV"), kNormal);
    EXPECT_EQ(plot->chart()->surface().previousPoints(), 0);
    EXPECT_EQ(plot->chart()->surface().currentPoints(), pointsAfterFirst);
    EXPECT_EQ(label4(), sweep0);
    EXPECT_TRUE(undo->isEnabled());

    // The runs go on from the state put back, on the chart put back.
    click(forms::frmCVModel, "cmdRun");
    EXPECT_GT(plot->chart()->surface().currentPoints(), pointsAfterFirst);

    click(forms::frmCVModel, "cmdUndo");
    EXPECT_EQ(state().HrtRate, 72);
    EXPECT_EQ(back("lblHR_RV"), kNormal);
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(ModelWindowUndo, RestartStartsAFreshHistory) {
    change("lblPit", "-10");
    ASSERT_TRUE(undo->isEnabled());
    click(forms::frmCVModel, "cmdRestart");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(workbench::canUndo());
}
