// The change dialogs driven as a learner drives them: a parameter label of the real model window
// clicked (or opened from the keyboard), the real dialog typed into and left by OK, Enter,
// Escape, Cancel or its window frame. The dialogs are modal; every answer is scripted to run
// inside the dialog's own wait, and a watchdog closes any dialog left open, so nothing blocks.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QPushButton>
#include <QTimer>

#include "model/ModelState.h"
#include "options/RunOptions.h"
#include "tests/support/GuiFixture.h"
#include "workbench/ParamLabel.h"
#include "workbench/frmCVModel.h"

using namespace vasora;
using model::state;

namespace {

enum class Leave { Ok, Enter, Escape, Cancel, Frame };

const QColor kChanged(200, 255, 255);
const QColor kNormal(255, 255, 0);

}  // namespace

class ChangeDialogs : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        start();
        click(forms::frmMain, "cmdCVModel");
        cv = forms::get<workbench::frmCVModel>(forms::frmCVModel);
        ASSERT_NE(cv, nullptr);
        // A dialog that opens when it should not would wait for ever; close it and count it.
        QObject::connect(&m_watchdog, &QTimer::timeout, [this] {
            if (QWidget* d = QApplication::activeModalWidget()) {
                ++strayDialogs;
                d->close();
            }
        });
        m_watchdog.start(2000);
    }
    void TearDown() override {
        m_watchdog.stop();
        QLocale::setDefault(QLocale::c());
        GuiFixture::TearDown();
    }

    /// What the scripted answer found in the dialog.
    struct Seen {
        QString dialog, title;
        QMap<QString, QString> labels;
        bool inputEmptyAndFocused = false;
        bool stayedOpen = false;
    };

    /// Answers the next modal dialog from inside its wait: types `text`, leaves as `how` says,
    /// and closes the dialog by Cancel if it is still open after that.
    void answer(const QString& text, Leave how = Leave::Ok) {
        QTimer::singleShot(0, cv, [this, text, how] {
            seen = Seen{};
            QWidget* d = QApplication::activeModalWidget();
            if (!d) {
                seen.dialog = QStringLiteral("<none>");
                return;
            }
            seen.dialog = d->objectName();
            seen.title = d->windowTitle();
            for (QLabel* l : d->findChildren<QLabel*>()) seen.labels[l->objectName()] = l->text();
            auto* input = d->findChild<QLineEdit*>(QStringLiteral("txtInputValue"));
            auto* ok = d->findChild<QPushButton*>(QStringLiteral("cmdOK"));
            auto* cancel = d->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
            if (!input || !ok || !cancel) {
                d->close();
                return;
            }
            seen.inputEmptyAndFocused = input->text().isEmpty() && d->focusWidget() == input;
            screenshot(d, d->objectName());
            QTest::keyClicks(input, text);
            switch (how) {
                case Leave::Ok:
                    QTest::mouseClick(ok, Qt::LeftButton);
                    break;
                case Leave::Enter:
                    QTest::keyClick(input, Qt::Key_Return);
                    break;
                case Leave::Escape:
                    QTest::keyClick(input, Qt::Key_Escape);
                    break;
                case Leave::Cancel:
                    QTest::mouseClick(cancel, Qt::LeftButton);
                    break;
                case Leave::Frame:
                    d->close();
                    break;
            }
            seen.stayedOpen = d->isVisible();
            if (d->isVisible()) QTest::mouseClick(cancel, Qt::LeftButton);
        });
    }

    void clickLabel(const char* name) {
        workbench::ParamLabel* l = cv->parameterLabel(QString::fromLatin1(name));
        ASSERT_NE(l, nullptr) << name;
        QTest::mouseClick(l, Qt::LeftButton);
    }
    QColor backOf(const char* name) {
        return cv->parameterLabel(QString::fromLatin1(name))->palette().color(QPalette::Window);
    }

    workbench::frmCVModel* cv = nullptr;
    Seen seen;
    int strayDialogs = 0;

  private:
    QTimer m_watchdog;
};

TEST_F(ChangeDialogs, AResistanceTypedIntoTheDialogChangesTheModelWindow) {
    answer(QStringLiteral("200"));
    clickLabel("lblResisSysA");

    EXPECT_EQ(seen.dialog, "frmChangeParam");
    EXPECT_EQ(seen.title, "Change a Parameter value");
    EXPECT_TRUE(seen.inputEmptyAndFocused);
    EXPECT_EQ(seen.labels["lblSegment"], " Systemic Artery");
    EXPECT_EQ(seen.labels["lblParameter"], " Resistance");
    EXPECT_EQ(seen.labels["lblValue"], "0.01582");
    EXPECT_EQ(seen.labels["lblUnits"], "mmHg/(ml/min)");
    EXPECT_EQ(seen.labels["lblPercentNormal"], " 100.0");
    EXPECT_EQ(seen.labels["lblUnit"], " % normal");
    EXPECT_EQ(seen.labels["Label5"], "Please enter a new value:  ");

    EXPECT_FALSE(seen.stayedOpen);
    EXPECT_DOUBLE_EQ(state().Resis[model::SysA], 2 * state().Resis_N[model::SysA]);
    EXPECT_EQ(caption("lblResisSysA"), "200.0");
    EXPECT_EQ(backOf("lblResisSysA"), kChanged);
    EXPECT_EQ(backOf("lblResisSysV"), kNormal);
    EXPECT_EQ(caption("lblTime"), "0.100");
    EXPECT_EQ(caption("lblFlowError"), "Click Run (Flows not equal)");
    EXPECT_FALSE(visible(forms::frmChangeParam));
    EXPECT_TRUE(visible(forms::frmPlotData));
    EXPECT_EQ(cv->focusWidget(), child<QWidget>(forms::frmCVModel, "cmdRun"));
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    EXPECT_EQ(strayDialogs, 0);
}

TEST_F(ChangeDialogs, EscapeCancelAndTheWindowFrameMakeNoChange) {
    const double comp = state().Comp[model::PulmV];
    for (Leave how : {Leave::Escape, Leave::Cancel, Leave::Frame}) {
        answer(QStringLiteral("50"), how);
        clickLabel("lblCompPulmV");
        EXPECT_EQ(seen.dialog, "frmChangeParam");
        EXPECT_FALSE(seen.stayedOpen);
        EXPECT_FALSE(visible(forms::frmChangeParam));
        EXPECT_EQ(state().Comp[model::PulmV], comp);
        EXPECT_EQ(caption("lblTime"), "0.000");
        EXPECT_EQ(backOf("lblCompPulmV"), kNormal);
    }
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(strayDialogs, 0);
}

TEST_F(ChangeDialogs, ABlankEntryIsRefusedAndKeepsEachDialogOpen) {
    struct Case {
        const char* label;
        const char* dialog;
        const char* message;
    };
    for (const Case& c :
         {Case{"lblEmax_LV", "frmChangeParam", "New parameter value cannot be blank"},
          Case{"lblVtotalBody", "frmChangeVol", "Volume change cannot be BLANK"},
          Case{"lblPit", "frmChangePit", "New pressure value cannot be blank"}}) {
        seam.shown.clear();
        answer(QString());
        clickLabel(c.label);
        EXPECT_EQ(seen.dialog, c.dialog);
        EXPECT_TRUE(seen.stayedOpen) << c.label;
        EXPECT_EQ(seam.messages(), QStringList{QString::fromLatin1(c.message)});
    }
    EXPECT_EQ(caption("lblTime"), "0.000");
    EXPECT_EQ(state().VolChangeRate, 0);
    EXPECT_EQ(strayDialogs, 0);
}

TEST_F(ChangeDialogs, ADecimalCommaIsRefusedWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    answer(QStringLiteral("1,5"));
    clickLabel("lblVo_LV");
    EXPECT_FALSE(seen.stayedOpen);
    EXPECT_EQ(seam.messages(), QStringList{QStringLiteral("Please enter a numeric value")});
    EXPECT_EQ(caption("lblTime"), "0.000");
    EXPECT_EQ(state().Vo_LV, 4.3);
    EXPECT_EQ(backOf("lblVo_LV"), kNormal);

    // The period reads the same under that locale.
    answer(QStringLiteral("1.5"));
    clickLabel("lblVo_LV");
    EXPECT_EQ(state().Vo_LV, 1.5);
    EXPECT_EQ(caption("lblVo_LV"), "1.5");
    EXPECT_EQ(backOf("lblVo_LV"), kChanged);
}

TEST_F(ChangeDialogs, TheKeyboardOpensALabelAndEnterActsAsOk) {
    workbench::ParamLabel* label = cv->parameterLabel(QStringLiteral("lblCompSysA"));
    answer(QStringLiteral("150"), Leave::Enter);
    label->setFocus();
    QTest::keyClick(label, Qt::Key_Space);
    EXPECT_EQ(seen.dialog, "frmChangeParam");
    EXPECT_FALSE(seen.stayedOpen);
    EXPECT_DOUBLE_EQ(state().Comp[model::SysA], 3.0);
    EXPECT_EQ(caption("lblCompSysA"), "150.0");
    EXPECT_EQ(backOf("lblCompSysA"), kChanged);
    EXPECT_EQ(strayDialogs, 0);
}

TEST_F(ChangeDialogs, ARefusedValueShowsTheRowsMessageAndChangesNothing) {
    answer(QStringLiteral("249.6"));
    clickLabel("lblHR_RV");
    EXPECT_EQ(seen.labels["lblValue"], "  72.0");
    EXPECT_EQ(seam.messages(),
              QStringList{QStringLiteral(
                  "Heart rate too high. No time for filling. Use < 249.5 beat/min")});
    EXPECT_EQ(state().HrtRate, 72);
    EXPECT_EQ(caption("lblTime"), "0.000");
    EXPECT_EQ(backOf("lblHR_RV"), kNormal);
}

TEST_F(ChangeDialogs, TheLeftRateLabelOpensOnlyWithAvBlock) {
    // Without AV block the label neither looks nor acts clickable, and says why.
    auto* hrLV = child<workbench::ParamLabel>(forms::frmCVModel, "lblHR_LV");
    ASSERT_NE(hrLV, nullptr);
    EXPECT_FALSE(hrLV->changeable());
    EXPECT_EQ(hrLV->focusPolicy(), Qt::NoFocus);
    EXPECT_NE(hrLV->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(hrLV->toolTip().contains(QStringLiteral("Options")));
    clickLabel("lblHR_LV");
    // A fixed wait, as it proves that nothing happens: no dialog opens, not even one the click
    // put off to the event loop (it would wait inside here for the watchdog to close it).
    QTest::qWait(50);
    EXPECT_EQ(strayDialogs, 0);
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(caption("lblTime"), "0.000");

    // Ticking AV block in the options makes it a parameter like the others.
    options::setAVBlock(true);
    EXPECT_TRUE(hrLV->changeable());
    EXPECT_EQ(hrLV->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(hrLV->cursor().shape(), Qt::PointingHandCursor);
    answer(QStringLiteral("90"));
    clickLabel("lblHR_LV");
    EXPECT_EQ(seen.labels["lblSegment"], " Left Ventricle ");
    EXPECT_EQ(state().HrtRate_LV, 90);
    EXPECT_EQ(state().HrtRate, 72);
    EXPECT_EQ(caption("lblHR_LV"), "90.0");
    EXPECT_EQ(backOf("lblHR_LV"), kChanged);
}

TEST_F(ChangeDialogs, VolumeChangesRampAndASecondOneWaits) {
    answer(QStringLiteral("500"));
    clickLabel("lblVtotalBody");
    EXPECT_EQ(seen.dialog, "frmChangeVol");
    EXPECT_EQ(seen.title, "Change Blood volume or Unstressed volume");
    EXPECT_EQ(seen.labels["lblSegment"], " Total Body ");
    EXPECT_EQ(seen.labels["lblParameter"], "Blood Volume");
    EXPECT_EQ(seen.labels["lblPercentNormal"], " 100.0");
    EXPECT_EQ(state().VolChangeTarget, 500);
    EXPECT_DOUBLE_EQ(state().VolChangeRate, 0.666 * 500);
    EXPECT_EQ(backOf("lblVtotalBody"), kChanged);

    // While the transfusion runs the label refuses without opening the dialog.
    clickLabel("lblVtotalBody");
    // A fixed wait, as it proves that nothing happens: no dialog opens, even later.
    QTest::qWait(50);
    EXPECT_EQ(strayDialogs, 0);
    EXPECT_EQ(
        seam.messages(),
        QStringList{QStringLiteral(
            "Do not attempt another change in blood volume\r\nuntil the first is finished.")});

    answer(QStringLiteral("-200"));
    clickLabel("lblVunstrsTotal");
    EXPECT_EQ(seen.labels["lblParameter"], "Unstressed V");
    EXPECT_DOUBLE_EQ(state().VunstrsChangeRate, 600);
    EXPECT_EQ(backOf("lblVunstrsTotal"), kChanged);
}

TEST_F(ChangeDialogs, ThePressureDialogRefusesDangerAndAppliesAtOnce) {
    answer(QStringLiteral("16"));
    clickLabel("lblPit");
    EXPECT_EQ(seen.dialog, "frmChangePit");
    EXPECT_EQ(seen.title, "Change intrathoracic pressure");
    EXPECT_EQ(seen.labels["lblValue"], " -4.0");
    EXPECT_EQ(seam.messages(),
              QStringList{QStringLiteral("This value is dangerous.\r\nPlease enter a value <= 15 "
                                         "mmHg \r\n       Click OK to continue")});
    EXPECT_EQ(state().Pit, -4);
    EXPECT_EQ(backOf("lblPit"), kNormal);

    answer(QStringLiteral("-2"));
    clickLabel("lblPit");
    EXPECT_EQ(state().Pit, -2);
    EXPECT_EQ(caption("lblPit"), "-2.0");
    EXPECT_EQ(backOf("lblPit"), kChanged);

    answer(QStringLiteral("3"), Leave::Frame);
    clickLabel("lblPit");
    EXPECT_FALSE(seen.stayedOpen);
    EXPECT_EQ(state().Pit, -2);
    EXPECT_EQ(caption("lblPit"), "-2.0");
}

TEST_F(ChangeDialogs, TypedNoChangeAnswersCloseTheDialogWithoutChangeOrMessage) {
    // -1, -9999 and -99 are the dialogs' own no-change answers: typing one is a Cancel.
    answer(QStringLiteral("-1"));
    clickLabel("lblVo_LV");
    EXPECT_EQ(state().Vo_LV, 4.3);
    EXPECT_NE(backOf("lblVo_LV"), kChanged);
    answer(QStringLiteral("-9999"));
    clickLabel("lblVtotalBody");
    answer(QStringLiteral("-99"));
    clickLabel("lblPit");
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(state().VolChangeRate, 0);
    EXPECT_EQ(state().Pit, -4);
    // One step further is a number like any other.
    answer(QStringLiteral("-98"));
    clickLabel("lblPit");
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].startsWith("This value is dangerous."));
}
