// The model window driven as a learner drives it: real widgets found by object name, clicked
// with QTest, on the offscreen platform.

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "model/ModelLabels.h"
#include "model/Quantities.h"
#include "shell/WindowPlacement.h"
#include "tests/support/GuiFixture.h"
#include "workbench/ParamLabel.h"
#include "workbench/StripChart.h"
#include "workbench/frmCVModel.h"
#include "workbench/frmPlotData.h"

using namespace vasora;
using model::state;

namespace {}  // namespace

class ModelWindow : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        start();
        click(forms::frmMain, "cmdCVModel");
        cv = forms::get<workbench::frmCVModel>(forms::frmCVModel);
        ASSERT_NE(cv, nullptr);
    }
    QCheckBox* autoRun() { return child<QCheckBox>(forms::frmCVModel, "chkAutoRun"); }
    workbench::StripChartWidget* chart() {
        return forms::get<workbench::frmPlotData>(forms::frmPlotData)->chart();
    }

    workbench::frmCVModel* cv = nullptr;
};

TEST_F(ModelWindow, ShowsTheFirstRunExactlyAfterLoading) {
    EXPECT_TRUE(cv->isVisible());
    EXPECT_FALSE(visible(forms::frmMain));
    EXPECT_EQ(cv->windowTitle(), "Cardiovascular Model");
    EXPECT_EQ(caption("lblTime"), "0.000");
    for (const char* f : {"lblFlowSysA", "lblFlowSysV", "lblFlowRghtV", "lblFlowPulmA",
                          "lblFlowPulmV", "lblFlowLeftV"})
        EXPECT_EQ(caption(f), "5500.") << f;
    EXPECT_EQ(caption("lblPressSysA"), "93.7");
    EXPECT_EQ(caption("lblEjectF_RV"), "0.70");
    EXPECT_EQ(caption("lblEjectF_LV"), "0.71");
    EXPECT_EQ(caption("lblK2_RV"), "1.0");
    EXPECT_EQ(caption("lblCompSysA"), "100.0");
    EXPECT_EQ(caption("lblResisPulmV"), "100.0");
    EXPECT_EQ(caption("lblFlowError"), "");
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(caption(qPrintable(QString("lblWarning%1").arg(i))), "");
    EXPECT_EQ(child<QPushButton>(forms::frmCVModel, "cmdPercent")->text(), " Show % Normal");
    EXPECT_EQ(child<QLineEdit>(forms::frmCVModel, "txtCurrentF")->text(), "Original Parameter Set");
    screenshot(cv, "frmCVModel");
}

TEST_F(ModelWindow, HasEveryLabelTheDisplaysWriteAndTheDesignTooltips) {
    for (const model::LabelInfo& l : model::displayLabels())
        EXPECT_NE(child<QLabel>(forms::frmCVModel, std::string(l.name).c_str()), nullptr) << l.name;
    for (std::string_view p : model::parameterLabels())
        EXPECT_NE(cv->parameterLabel(QString::fromLatin1(p.data(), p.size())), nullptr) << p;
    EXPECT_EQ(child<QPushButton>(forms::frmCVModel, "cmdRun")->toolTip(), " Iiterate");
    EXPECT_EQ(child<QPushButton>(forms::frmCVModel, "cmdPlotData")->text(), " Show Plot   of Data");
    EXPECT_EQ(child<QPushButton>(forms::frmCVModel, "cmdToMain")->toolTip(),
              "Used to exit Project");
    EXPECT_EQ(child<QLabel>(forms::frmCVModel, "lblVolError")->toolTip(),
              "Difference between initial total volume and expected total volume now.");
}

TEST_F(ModelWindow, FitsAScreenOf1366By768) {
    EXPECT_LE(cv->frameGeometry().width(), 1366);
    EXPECT_LE(cv->height() + 40, 768);  // room for a title bar
    // No label sits outside the window or under another value label.
    const auto labels = cv->findChildren<QLabel*>();
    for (QLabel* l : labels) {
        if (l->objectName().isEmpty() || l->isHidden()) continue;
        EXPECT_TRUE(cv->rect().contains(l->geometry())) << l->objectName().toStdString();
        for (QLabel* o : labels)
            if (o != l && !o->objectName().isEmpty() && !o->isHidden()) {
                EXPECT_FALSE(l->geometry().intersects(o->geometry()))
                    << l->objectName().toStdString() << " overlaps "
                    << o->objectName().toStdString();
            }
    }
}

TEST_F(ModelWindow, ScaledToShareASmallScreenEveryTextStillFits) {
    // The scale the placement gives the model window beside the strip chart at 1366 x 768.
    const shell::WorkbenchPlacement p = shell::placeWorkbench(
        QRect(0, 0, 1366, 768), cv->designSize(), false, QMargins(4, 30, 4, 4));
    for (double scale : {p.modelScale, 1.0}) {
        SCOPED_TRACE(scale);
        cv->setDisplayScale(scale);
        EXPECT_DOUBLE_EQ(cv->displayScale(), scale);
        EXPECT_LE(cv->width(), int(1260 * scale) + 1);
        const auto labels = cv->findChildren<QLabel*>();
        for (QLabel* l : labels) {
            if (l->isHidden() || l->text().isEmpty()) continue;
            EXPECT_TRUE(cv->rect().contains(l->geometry())) << l->text().toStdString();
            // The caption is not cut: it fits the label's inner width.
            const int room = l->contentsRect().width() - 2 * l->margin();
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), room + 1)
                << l->objectName().toStdString() << " \"" << l->text().toStdString() << '"';
        }
        for (QPushButton* b : cv->findChildren<QPushButton*>())
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width())
                << b->objectName().toStdString();
    }
}

TEST_F(ModelWindow, ShowPlotOfDataBringsACoveredChartToTheFront) {
    auto* plot = forms::get<workbench::frmPlotData>(forms::frmPlotData);
    plot->show();
    cv->raise();
    cv->activateWindow();
    QApplication::processEvents();
    click(forms::frmCVModel, "cmdPlotData");
    QApplication::processEvents();
    EXPECT_TRUE(plot->isVisible());
    if (QApplication::activeWindow()) {
        EXPECT_EQ(QApplication::activeWindow(), plot);
    }
}

TEST_F(ModelWindow, TheKeyExplainsBothColoursOfAParameterLabel) {
    auto* normal = child<QLabel>(forms::frmCVModel, "lblKeyNormal");
    auto* changed = child<QLabel>(forms::frmCVModel, "lblKeyChanged");
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(normal->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(changed->palette().color(QPalette::Window), QColor(200, 255, 255));
    EXPECT_TRUE(changed->text().contains(QStringLiteral("changed")));
}

TEST_F(ModelWindow, RunAdvancesOneDisplayIntervalAndDrawsTheStripChart) {
    const int before = state().StepCount;
    click(forms::frmCVModel, "cmdRun");
    EXPECT_EQ(state().StepCount, before + 100);
    EXPECT_EQ(caption("lblTime"), "0.100");
    EXPECT_TRUE(visible(forms::frmPlotData));
    EXPECT_TRUE(child<QPushButton>(forms::frmCVModel, "cmdRun")->hasFocus() ||
                !QApplication::focusWindow());  // offscreen windows may never take focus
    EXPECT_GT(chart()->surface().currentPoints(), 100);
}

TEST_F(ModelWindow, HiddenStripChartStaysHiddenExceptWhenRunShowsIt) {
    click(forms::frmPlotData, "cmdHide");
    EXPECT_FALSE(visible(forms::frmPlotData));
    EXPECT_EQ(state().PlotHidden, 1);
    click(forms::frmCVModel, "cmdRun");
    EXPECT_TRUE(visible(forms::frmPlotData));  // Run shows it for the moment
    model::RunModel();                         // the next step hides it again
    EXPECT_FALSE(visible(forms::frmPlotData));
    click(forms::frmCVModel, "cmdPlotData");
    EXPECT_EQ(state().PlotHidden, 0);
    EXPECT_TRUE(visible(forms::frmPlotData));
}

TEST_F(ModelWindow, AutoRunSettlesTheCirculationAndStaysOn) {
    state().Resis[model::SysA] *= 2;
    model::RunModel();
    model::DisplayValues();
    ASSERT_EQ(caption("lblFlowError"), "Click Run (Flows not equal)");
    QTest::mouseClick(autoRun(), Qt::LeftButton);
    EXPECT_EQ(caption("lblFlowError"), "");
    EXPECT_TRUE(autoRun()->isChecked());
    EXPECT_EQ(state().AutoRunOn, 1);
    EXPECT_LE(std::fabs(state().FlowMax - state().FlowMin), 0.3);
    EXPECT_GT(state().ModelTime, 0.3);  // several runs were needed
    // Doubling the arterial resistance raises the arterial pressure well above normal.
    EXPECT_GT(state().Press[model::SysA], 120);
    // Unticking stops AutoRun and does nothing else.
    const double t = state().ModelTime;
    QTest::mouseClick(autoRun(), Qt::LeftButton);
    EXPECT_EQ(state().AutoRunOn, 0);
    EXPECT_EQ(state().ModelTime, t);
}

TEST_F(ModelWindow, AutoRunPastFifteenMinutesRunsOnceAndUnticksTheBox) {
    state().Resis[model::SysA] *= 2;
    state().ModelTime = 15.2;
    state().RunUntil = 15.2;
    QTest::mouseClick(autoRun(), Qt::LeftButton);
    EXPECT_FALSE(autoRun()->isChecked());
    EXPECT_EQ(state().AutoRunOn, 0);
    EXPECT_EQ(caption("lblFlowError"), "Click Run (Flows not equal)");
    EXPECT_NEAR(state().ModelTime, 15.3, 0.0011);  // one run: 100 or 101 steps of 0.001
}

TEST_F(ModelWindow, PercentToggleShowsPercentAndTheTwoUnitCaptions) {
    auto* percent = child<QPushButton>(forms::frmCVModel, "cmdPercent");
    click(forms::frmCVModel, "cmdPercent");
    EXPECT_EQ(percent->text(), " Show Units");
    EXPECT_EQ(caption("lblPercent"), "   DATA as PERCENT ");
    EXPECT_EQ(caption("lblFlowSysA"), "  100 ");
    EXPECT_EQ(caption("lblLeftVent"), "Left Ventricle");
    EXPECT_EQ(caption("lblPmcf"), " 100 ");
    EXPECT_EQ(state().ShowUnits, 0);
    EXPECT_EQ(percent->palette().color(QPalette::Button), QColor(255, 255, 0));
    screenshot(cv, "frmCVModel-percent");
    click(forms::frmCVModel, "cmdPercent");
    EXPECT_EQ(percent->text(), " Show % of Normal");
    EXPECT_EQ(caption("lblFlowSysA"), "5500.");
    EXPECT_EQ(caption("lblLeftVent"), "Left Vent,End Dias");
    EXPECT_EQ(caption("lblPercent"), "");
    EXPECT_EQ(state().ShowUnits, 1);
    // Any run returns to units and to the first caption.
    click(forms::frmCVModel, "cmdPercent");
    click(forms::frmCVModel, "cmdRun");
    EXPECT_EQ(percent->text(), " Show % Normal");
}

TEST_F(ModelWindow, RestartReturnsToTheNormalCirculation) {
    state().Resis[model::SysA] *= 2;
    QTest::mouseClick(autoRun(), Qt::LeftButton);
    state().CollapseVol = 12;
    state().IterInterval = 0.0005;
    click(forms::frmCVModel, "cmdPercent");
    click(forms::frmCVModel, "cmdRestart");
    EXPECT_FALSE(autoRun()->isChecked());
    EXPECT_EQ(state().AutoRunOn, 0);
    EXPECT_EQ(state().CollapseVol, 0);
    EXPECT_EQ(state().IterInterval, 0.001);
    EXPECT_EQ(state().PrintInterval, 0.1);
    EXPECT_EQ(caption("lblTime"), "0.000");
    EXPECT_EQ(caption("lblPressSysA"), "93.7");
    EXPECT_EQ(child<QPushButton>(forms::frmCVModel, "cmdPercent")->text(), " Show % Normal");
    EXPECT_EQ(child<QLabel>(forms::frmCVModel, "lblHR_LV")->palette().color(QPalette::Window),
              QColor(255, 255, 255));
    EXPECT_TRUE(visible(forms::frmPlotData));
    // The strip chart starts again from the first run of the normal set.
    EXPECT_LE(chart()->surface().currentPoints(), 4 * 100);
    EXPECT_EQ(chart()->surface().previousPoints(), 0);
}

TEST_F(ModelWindow, ToMainMenuHidesTheWorkbench) {
    click(forms::frmCVModel, "cmdToMain");
    EXPECT_FALSE(cv->isVisible());
    EXPECT_FALSE(visible(forms::frmPlotData));
    EXPECT_TRUE(visible(forms::frmMain));
    // Closing the window by its frame does the same.
    click(forms::frmMain, "cmdCVModel");
    ASSERT_TRUE(cv->isVisible());
    cv->close();
    EXPECT_FALSE(cv->isVisible());
    EXPECT_TRUE(visible(forms::frmMain));
    // The window was created once and only shown and hidden since.
    EXPECT_EQ(forms::existing(forms::frmCVModel), cv);
}

TEST_F(ModelWindow, ARunThatWouldBreakTheStateIsUndoneAndExplained) {
    QTest::mouseClick(autoRun(), Qt::LeftButton);
    ASSERT_TRUE(autoRun()->isChecked());
    state().Comp[model::SysA] = 0;  // as an unchecked lab book entry could set it
    const auto before = state().Vstrs;
    const int steps = state().StepCount;
    click(forms::frmCVModel, "cmdRun");
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages().front().contains("Restart"));
    EXPECT_EQ(state().Vstrs, before);
    EXPECT_EQ(state().StepCount, steps);
    EXPECT_FALSE(autoRun()->isChecked());
    for (const model::LabelInfo& l : model::displayLabels()) {
        const QString c = caption(std::string(l.name).c_str()).toLower();
        EXPECT_FALSE(c.contains("nan") || c.contains("inf")) << l.name;
    }
}

TEST_F(ModelWindow, ParameterLabelsOpenWithClickEnterOrSpace) {
    QSignalSpy spy(cv, &workbench::frmCVModel::parameterClicked);
    // Each opening shows the change dialog modally; close it at once, as Cancel.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* d = QApplication::activeModalWidget()) d->close();
    });
    closer.start(0);
    workbench::ParamLabel* l = cv->parameterLabel(QStringLiteral("lblResisSysA"));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(l->focusPolicy(), Qt::StrongFocus);
    QTest::mouseClick(l, Qt::LeftButton);
    QTest::keyClick(l, Qt::Key_Return);
    QTest::keyClick(l, Qt::Key_Space);
    QTest::keyClick(l, Qt::Key_A);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toString(), "lblResisSysA");
    // Normal parameters are yellow once the normal reference is stored.
    EXPECT_EQ(l->palette().color(QPalette::Window), QColor(255, 255, 0));
}

TEST_F(ModelWindow, WarningsShowInTheirColoursOnTheRealLabels) {
    // A failing left heart: the output falls, the lungs congest.
    state().Emax_LV *= 0.03;
    for (int i = 0; i < 30; ++i) click(forms::frmCVModel, "cmdRun");
    auto* w1 = child<QLabel>(forms::frmCVModel, "lblWarning1");
    auto* w2 = child<QLabel>(forms::frmCVModel, "lblWarning2");
    ASSERT_LT(state().Flow[model::LeftV], 2000);
    EXPECT_FALSE(w1->text().isEmpty());
    EXPECT_EQ(w1->palette().color(QPalette::Window), QColor(255, 255, 0));
    if (state().Press[model::PulmV] > 25) {
        EXPECT_EQ(w2->text(), "GASP! Ppv >25 mmHg");
        EXPECT_EQ(w2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    screenshot(cv, "frmCVModel-warnings");
    screenshot(forms::get(forms::frmPlotData), "frmPlotData");
    // The next normal run clears them again, background included.
    click(forms::frmCVModel, "cmdRestart");
    EXPECT_EQ(w1->text(), "");
    EXPECT_EQ(w1->palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST_F(ModelWindow, EveryButtonBoxAndClickableLabelIsReachedWithTabAndWorksFromTheKeyboard) {
    cv->activateWindow();
    auto* run = child<QPushButton>(forms::frmCVModel, "cmdRun");
    run->setFocus();
    // Walk the Tab chain once round the window.
    QStringList order;
    QWidget* w = run;
    for (int i = 0; i < 200; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w && (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(cv) || !w->isEnabled()))
            w = w->nextInFocusChain();
        if (!w || w == run) break;
    }
    QStringList expected = {"cmdRun",    "chkAutoRun", "cmdPercent", "cmdPlotData",
                            "cmdLayout", "cmdOptions", "cmdRestart", "cmdToMain"};
    for (std::string_view p : model::parameterLabels()) {
        const QString name = QString::fromLatin1(p.data(), qsizetype(p.size()));
        if (name != "lblHR_LV") expected << name;  // not changeable without AV block
    }
    for (const QString& e : expected) EXPECT_TRUE(order.contains(e)) << e.toStdString();
    EXPECT_FALSE(order.contains("lblHR_LV"));
    // The toolbar comes first, left to right; the parameter labels follow the loop of the
    // circulation, compartment by compartment.
    EXPECT_LT(order.indexOf("cmdToMain"), order.indexOf("lblCompSysA"));
    EXPECT_LT(order.indexOf("lblCompSysA"), order.indexOf("lblCompSysV"));
    EXPECT_LT(order.indexOf("lblCompSysV"), order.indexOf("lblCompRghtV"));
    EXPECT_LT(order.indexOf("lblCompPulmV"), order.indexOf("lblCompLeftV"));
    // Every control announces itself: a name for the labels, a description for the buttons.
    for (const QString& e : expected) {
        QWidget* c = cv->findChild<QWidget*>(e);
        ASSERT_NE(c, nullptr) << e.toStdString();
        if (e.startsWith("lbl")) {
            EXPECT_FALSE(c->accessibleName().isEmpty()) << e.toStdString();
        }
    }
    // Enter runs the model from the Run button; Space ticks AutoRun.
    const int steps = state().StepCount;
    QTest::keyClick(run, Qt::Key_Return);
    EXPECT_EQ(state().StepCount, steps + 100);
    QTest::keyClick(autoRun(), Qt::Key_Space);
    EXPECT_TRUE(autoRun()->isChecked());
    EXPECT_EQ(state().AutoRunOn, 1);
}
