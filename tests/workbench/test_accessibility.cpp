// What a screen reader and the keyboard meet: every value label of the model window says what it
// shows and the number it shows, through the toolkit's accessibility interface, and says the
// new number after a run; the parameter labels are buttons with a press action; the arrow keys
// reach the values for F1; the strip chart never takes the focus; the main menu's buttons go in
// the order they stand and press with Enter; the windows and the unnamed controls have names.

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "shell/Explain.h"
#include "tests/support/GuiFixture.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParamLabel.h"
#include "workbench/ParameterChanges.h"

using namespace vasora;

namespace {

class Accessibility : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        start();
        click(forms::frmMain, "cmdCVModel");
        model = forms::existing(forms::frmCVModel);
        ASSERT_NE(model, nullptr);
    }
    QAccessibleInterface* of(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
    // The window becomes the active one, as a learner's click on it makes it.
    static void activate(QWidget* w) {
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    }
    // The model window's labels that show a model quantity.
    std::vector<QLabel*> valueLabels() {
        std::vector<QLabel*> out;
        for (QLabel* l : model->findChildren<QLabel*>())
            if (l->objectName().startsWith("lbl") && l->property("vasoraValueLabel").toBool())
                out.push_back(l);
        return out;
    }
    QWidget* model = nullptr;
};

}  // namespace

TEST_F(Accessibility, EveryValueLabelSaysWhatItShowsAndTheNumberShown) {
    const auto labels = valueLabels();
    ASSERT_GE(labels.size(), 54u);
    for (QLabel* l : labels) {
        QAccessibleInterface* a = of(l);
        ASSERT_NE(a, nullptr) << l->objectName().toStdString();
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << l->objectName().toStdString();
        EXPECT_EQ(a->text(QAccessible::Value), l->text().trimmed())
            << l->objectName().toStdString();
        ASSERT_NE(a->valueInterface(), nullptr);
        EXPECT_EQ(a->valueInterface()->currentValue().toString(), l->text().trimmed());
    }
    auto* pressure = model->findChild<QLabel*>("lblPressSysA");
    EXPECT_EQ(of(pressure)->text(QAccessible::Name), "Pressure of the systemic arteries (mmHg)");
    EXPECT_EQ(of(pressure)->text(QAccessible::Value), "93.7");
    // After a change and a run the reader hears the new number.
    ASSERT_EQ(workbench::changeByText("lblResisSysA", "200").status,
              workbench::ChangeResult::Applied);
    workbench::clickAutoRun(true);
    EXPECT_NE(of(pressure)->text(QAccessible::Value), "93.7");
    EXPECT_EQ(of(pressure)->text(QAccessible::Value), pressure->text().trimmed());
    for (int i = 1; i <= 5; ++i) {
        auto* w = model->findChild<QLabel*>(QStringLiteral("lblWarning%1").arg(i));
        EXPECT_EQ(of(w)->text(QAccessible::Name), QStringLiteral("Warning %1").arg(i));
    }
}

TEST_F(Accessibility, ParameterLabelsAreButtonsThatOpenTheirDialog) {
    auto* resistance = model->findChild<workbench::ParamLabel*>("lblResisSysA");
    ASSERT_NE(resistance, nullptr);
    QAccessibleInterface* a = of(resistance);
    EXPECT_EQ(a->role(), QAccessible::Button);
    ASSERT_NE(a->actionInterface(), nullptr);
    EXPECT_TRUE(
        a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    // Pressed, it opens the change dialog of its parameter, which the test closes again.
    QString opened;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = dialog->objectName();
            dialog->close();
        }
    });
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(opened, "frmChangeParam");
    // The left heart rate, not changeable without separate rates, offers no press.
    QAccessibleInterface* lv = of(model->findChild<QWidget*>("lblHR_LV"));
    EXPECT_TRUE(lv->state().disabled);
    EXPECT_TRUE(lv->actionInterface()->actionNames().isEmpty());
}

TEST_F(Accessibility, TheArrowKeysReachTheValuesAndF1ExplainsThem) {
    int explained = 0;
    shell::setExplainHandler([&](int topic) { explained = topic; });
    auto* resistance = model->findChild<QWidget*>("lblResisSysA");
    activate(model);
    resistance->setFocus();
    ASSERT_TRUE(resistance->hasFocus());
    // Up from the resistance: the compliance above it, then the stressed volume, both values.
    QTest::keyClick(resistance, Qt::Key_Up);
    QWidget* now = QApplication::focusWidget();
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->objectName(), "lblCompSysA");
    QTest::keyClick(now, Qt::Key_Up);
    now = QApplication::focusWidget();
    EXPECT_EQ(now->objectName(), "lblVstrsSysA");
    QTest::keyClick(now, Qt::Key_F1);
    EXPECT_GT(explained, 0);
    // The output values are no Tab stops.
    EXPECT_EQ(now->focusPolicy(), Qt::ClickFocus);
}

TEST_F(Accessibility, ShowingTheStripChartDoesNotTakeTheFocus) {
    activate(model);
    auto* run = model->findChild<QPushButton*>("cmdRun");
    run->setFocus();
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_TRUE(visible(forms::frmPlotData));
    EXPECT_TRUE(forms::existing(forms::frmPlotData)->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(QApplication::focusWidget(), run);
}

TEST_F(Accessibility, TheMainMenuGoesInTheOrderItStandsAndEnterPressesItsButtons) {
    click(forms::frmCVModel, "cmdToMain");
    QWidget* menu = forms::existing(forms::frmMain);
    std::vector<QString> order;
    QWidget* w = menu->findChild<QWidget*>("cmdCVModel");
    for (int i = 0; i < 8 && w; ++i, w = w->nextInFocusChain()) {
        while (w && w->focusPolicy() == Qt::NoFocus) w = w->nextInFocusChain();
        if (w) order.push_back(w->objectName());
    }
    const std::vector<QString> expected = {"cmdCVModel",    "cmdLabBook", "cmdInfo",
                                           "cmdConcepts",   "cmdLayout",  "cmdHelp",
                                           "lblSourcePath", "cmdExit"};
    EXPECT_EQ(order, expected);
    activate(menu);
    auto* concepts = menu->findChild<QPushButton*>("cmdConcepts");
    concepts->setFocus();
    QTest::keyClick(concepts, Qt::Key_Return);
    EXPECT_TRUE(visible(forms::frmConcepts));
    EXPECT_EQ(of(menu->findChild<QWidget*>("txtTitle1"))->text(QAccessible::Name), "Vasora");
    EXPECT_FALSE(of(menu->findChild<QWidget*>("lblSourcePath"))->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(of(menu)->role(), QAccessible::Window);
}
