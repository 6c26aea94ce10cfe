// The options window as the learner uses it: typing intervals, ticking boxes, saving and
// retrieving parameter sets through the scripted file dialogs, and Restart afterwards.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>

#include <cmath>

#include "model/Palette.h"
#include "options/ParameterSetFile.h"
#include "tests/support/GuiFixture.h"
#include "workbench/ParameterChanges.h"

using namespace vasora;
using model::state;

class OptionsWindow : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        start();
        appState().ParamSetBase = dir.path() + QStringLiteral("/");
        click(forms::frmMain, "cmdCVModel");
        auto* open = child<QPushButton>(forms::frmCVModel, "cmdOptions");
        ASSERT_NE(open, nullptr);
        ASSERT_TRUE(open->isEnabled());
        click(forms::frmCVModel, "cmdOptions");
        options = forms::existing(forms::frmOptions);
        ASSERT_NE(options, nullptr);
        QApplication::setActiveWindow(options);
        QApplication::processEvents();
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        GuiFixture::TearDown();
    }
    QLineEdit* box(forms::FormName form, const char* name) { return child<QLineEdit>(form, name); }
    QCheckBox* check(const char* name) { return child<QCheckBox>(forms::frmOptions, name); }
    // Clicks a check box on its box, where a click always lands whatever the width of its row.
    void tick(const char* name) {
        QCheckBox* c = check(name);
        ASSERT_NE(c, nullptr) << name;
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2));
    }
    void type(const char* name, const QString& text) {
        QLineEdit* e = box(forms::frmOptions, name);
        e->clear();
        QTest::keyClicks(e, text);
    }
    QColor hrLvBack() {
        return child<QLabel>(forms::frmCVModel, "lblHR_LV")->palette().color(QPalette::Window);
    }
    QString path(const char* name) { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QWidget* options = nullptr;
};

TEST_F(OptionsWindow, ShowsTheIntervalsInForceWhenActivated) {
    EXPECT_EQ(options->windowTitle(),
              " Save or  Retrieve  a slected  parameter set for Normal values");
    EXPECT_EQ(box(forms::frmOptions, "txtIterationInterval")->text(), "0.001");
    EXPECT_EQ(box(forms::frmOptions, "txtPrintInterval")->text(), "0.1");
    EXPECT_EQ(box(forms::frmOptions, "txtCurrentF")->text(), "  Default");
    screenshot(options, QStringLiteral("frmOptions"));
}

TEST_F(OptionsWindow, AcceptedIntervalsCloseTheWindowRefusedOnesKeepIt) {
    type("txtIterationInterval", QStringLiteral("0.00005"));
    type("txtPrintInterval", QStringLiteral("0.5"));
    tick("chkIntervals");
    EXPECT_EQ(seam.messages(),
              QStringList{"The Iteration Interval should be greater than 0.0001 minute"});
    EXPECT_TRUE(options->isVisible());
    EXPECT_TRUE(check("chkIntervals")->isChecked());
    EXPECT_EQ(state().IterInterval, 0.001);
    EXPECT_EQ(state().PrintInterval, 0.1);

    tick("chkIntervals");  // unticked: defaults, one run, new normal
    EXPECT_NEAR(state().ModelTime, 0.2, 1e-9);
    EXPECT_FALSE(options->isVisible());
    EXPECT_TRUE(visible(forms::frmCVModel));
    EXPECT_TRUE(visible(forms::frmPlotData));

    forms::show(forms::frmOptions);
    type("txtIterationInterval", QStringLiteral("0.002"));
    type("txtPrintInterval", QStringLiteral("0.5"));
    tick("chkIntervals");
    EXPECT_EQ(state().IterInterval, 0.002);
    EXPECT_EQ(state().PrintInterval, 0.5);
    EXPECT_NEAR(state().ModelTime, 0.2, 1e-9);  // not run
    EXPECT_FALSE(options->isVisible());
    EXPECT_EQ(box(forms::frmOptions, "txtPrintInterval")->text(), "0.5");
}

TEST_F(OptionsWindow, ACommaIsNoDecimalSeparatorEvenInACommaLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    type("txtIterationInterval", QStringLiteral("0,002"));
    type("txtPrintInterval", QStringLiteral("0.5"));
    tick("chkIntervals");
    EXPECT_EQ(seam.messages(), QStringList{"Please enter a numeric value"});
    EXPECT_EQ(state().IterInterval, 0.001);  // the interval in force was checked instead
    EXPECT_EQ(state().PrintInterval, 0.5);
}

TEST_F(OptionsWindow, ReturnPutsTheIntervalsBackAndShowsTheModel) {
    type("txtIterationInterval", QStringLiteral("0.002"));
    type("txtPrintInterval", QStringLiteral("0.3"));
    tick("chkIntervals");
    state().IterInterval = 0.0002;
    forms::show(forms::frmOptions);
    click(forms::frmOptions, "cmdOptionHelp");
    QWidget* help = forms::existing(forms::frmOptionHelp);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "Help for using Model Options");
    click(forms::frmOptions, "cmdReturn");
    EXPECT_EQ(state().IterInterval, 0.002);
    EXPECT_EQ(state().PrintInterval, 0.3);
    EXPECT_FALSE(options->isVisible());
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(visible(forms::frmCVModel));
}

TEST_F(OptionsWindow, ClosingByTheFrameIsReturn) {
    type("txtIterationInterval", QStringLiteral("0.002"));
    type("txtPrintInterval", QStringLiteral("0.3"));
    tick("chkIntervals");
    state().IterInterval = 0.0002;
    forms::hide(forms::frmCVModel);
    forms::show(forms::frmOptions);
    click(forms::frmOptions, "cmdOptionHelp");
    options->close();
    EXPECT_EQ(state().IterInterval, 0.002);
    EXPECT_EQ(state().PrintInterval, 0.3);
    EXPECT_FALSE(options->isVisible());
    EXPECT_FALSE(visible(forms::frmOptionHelp));
    EXPECT_TRUE(visible(forms::frmCVModel));
}

TEST_F(OptionsWindow, AVBlockColoursTheLeftRateAndRestartKeepsIt) {
    tick("chkAV_Block");
    EXPECT_EQ(state().AVBlock, 1);
    EXPECT_EQ(hrLvBack(), QColor(255, 255, 0));
    click(forms::frmCVModel, "cmdRestart");
    EXPECT_EQ(state().AVBlock, 1);
    EXPECT_EQ(hrLvBack(), QColor(255, 255, 0));
    tick("chkAV_Block");
    EXPECT_EQ(hrLvBack(), QColor(255, 255, 255));
    click(forms::frmCVModel, "cmdRestart");
    EXPECT_EQ(state().AVBlock, 0);
    EXPECT_EQ(hrLvBack(), QColor(255, 255, 255));
}

// Steps of 0.003 minute and more are accepted, but the model runs away with them; the window
// says which steps are stable, and says it in red while the box holds one that is not.
TEST_F(OptionsWindow, TheWindowSaysWhichIterationIntervalsKeepTheModelStable) {
    auto* note = options->findChild<QLabel*>("lblStability");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains("up to 0.002 min")) << note->text().toStdString();
    const QColor normal = note->palette().color(QPalette::WindowText);
    box(forms::frmOptions, "txtIterationInterval")->setText(QStringLiteral("0.005"));
    EXPECT_EQ(note->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    box(forms::frmOptions, "txtIterationInterval")->setText(QStringLiteral("0.002"));
    EXPECT_EQ(note->palette().color(QPalette::WindowText), normal);
}

// The layout sheet and the model window read the same marks: after separate heart rates are
// taken back, the left heart rate is no changed parameter on either.
TEST_F(OptionsWindow, TheLayoutSheetForgetsTheLeftRatesMarkWithTheModelWindow) {
    tick("chkAV_Block");
    ASSERT_EQ(workbench::changeByText("lblHR_LV", "50").status, workbench::ChangeResult::Applied);
    forms::show(forms::frmLayout);
    auto back = [this](forms::FormName f) {
        return child<QWidget>(f, "lblHR_LV")->palette().color(QPalette::Window);
    };
    EXPECT_EQ(back(forms::frmLayout), QColor(200, 255, 255));
    tick("chkAV_Block");
    EXPECT_EQ(back(forms::frmCVModel), QColor(255, 255, 255));
    EXPECT_EQ(back(forms::frmLayout), QColor(255, 255, 0));
}

TEST_F(OptionsWindow, SavesUnderTheTypedNameWithOneTxtAndNamesItEverywhere) {
    appState().LabBookBase = QStringLiteral("elsewhere/");
    appState().StartPath = QStringLiteral("start/");
    seam.paths.push_back(path("heart failure.txt"));
    click(forms::frmOptions, "cmdExport");
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].kind, "save");
    EXPECT_EQ(seam.shown[0].text, "Enter a unique file name for your saved set of parameters");
    EXPECT_TRUE(QFile::exists(path("heart failure.txt")));
    EXPECT_FALSE(QFile::exists(path("heart failure.txt.txt")));
    for (forms::FormName form : {forms::frmOptions, forms::frmCVModel, forms::frmLayout})
        EXPECT_EQ(box(form, "txtCurrentF")->text(), path("heart failure.txt"))
            << form.str().toStdString();
    EXPECT_EQ(state().ModelTime, 0);
    EXPECT_FALSE(options->isVisible());
    EXPECT_EQ(appState().LabBookBase, "start/");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(OptionsWindow, ACancelledOrFailedSaveChangesNothing) {
    const double time = state().ModelTime;
    click(forms::frmOptions, "cmdExport");  // no path queued: Cancel
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_TRUE(options->isVisible());
    // No file is written; the dialog's folder is made so that it opens where sets belong.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(QDir(dir.path() + QStringLiteral("/Parameters")).isEmpty());

    seam.paths.push_back(path("no such folder/set"));
    click(forms::frmOptions, "cmdExport");
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].contains("could not be saved"));
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_EQ(box(forms::frmOptions, "txtCurrentF")->text(), "  Default");
    EXPECT_EQ(box(forms::frmCVModel, "txtCurrentF")->text(), "Original Parameter Set");
}

TEST_F(OptionsWindow, RetrieveIsRefusedWhileTheOriginalSetIsTicked) {
    state().HrtRate = 100;
    tick("chkOriginalP");
    EXPECT_EQ(state().HrtRate, 72);
    EXPECT_FALSE(options->isVisible());
    EXPECT_EQ(box(forms::frmOptions, "txtCurrentF")->text(), "Original Parameter Set");
    EXPECT_EQ(box(forms::frmCVModel, "txtCurrentF")->text(), "Orignal Parameter Set");
    EXPECT_EQ(box(forms::frmLayout, "txtCurrentF")->text(), "Original Parameter Set");

    forms::show(forms::frmOptions);
    click(forms::frmOptions, "cmdImport");
    EXPECT_EQ(seam.messages(), QStringList{"Uncheck 'Use original parameter set'"});
    ASSERT_EQ(seam.shown.size(), 1u);  // no file dialog
    EXPECT_EQ(state().ParamSetLoaded, 0);
}

TEST_F(OptionsWindow, ARefusedFileNamesTheLineAndLeavesTheModel) {
    seam.paths.push_back(path("set"));
    click(forms::frmOptions, "cmdExport");
    QFile f(path("set.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = f.readAll().split('\n');
    f.close();
    lines[52] = "0\r";  // Emax_RV
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(lines.join('\n'));
    f.close();

    forms::show(forms::frmOptions);
    state().HrtRate = 80;
    const double time = state().ModelTime;
    seam.paths.push_back(path("set.txt"));
    click(forms::frmOptions, "cmdImport");
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].contains("line 53")) << seam.messages()[0].toStdString();
    EXPECT_EQ(state().HrtRate, 80);
    EXPECT_EQ(state().Emax_RV, 0.3784);
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_EQ(state().ParamSetLoaded, 0);
    EXPECT_TRUE(options->isVisible());
}

TEST_F(OptionsWindow, ARetrievedSetIsReadAgainByRestart) {
    state().Emax_LV = 2.5;
    state().AVBlock = 1;
    state().HrtRate_LV = 60;
    model::RunModel();
    seam.paths.push_back(path("block"));
    click(forms::frmOptions, "cmdExport");
    ASSERT_TRUE(QFile::exists(path("block.txt")));

    tick("chkOriginalP");  // back to normal, then untick to retrieve
    forms::show(forms::frmOptions);
    tick("chkOriginalP");
    ASSERT_FALSE(check("chkAV_Block")->isChecked());
    seam.paths.push_back(path("block.txt"));
    click(forms::frmOptions, "cmdImport");
    EXPECT_EQ(state().ParamSetLoaded, 1);
    EXPECT_EQ(state().Emax_LV, 2.5);
    EXPECT_EQ(state().HrtRate_LV, 60);
    EXPECT_TRUE(check("chkAV_Block")->isChecked());
    EXPECT_EQ(hrLvBack(), QColor(255, 255, 0));
    EXPECT_FALSE(options->isVisible());
    EXPECT_NEAR(state().ModelTime, 0.1, 1e-9);
    for (forms::FormName form : {forms::frmOptions, forms::frmCVModel, forms::frmLayout})
        EXPECT_EQ(box(form, "txtCurrentF")->text(), path("block.txt")) << form.str().toStdString();

    state().Emax_LV = 4;
    click(forms::frmCVModel, "cmdRun");
    const std::size_t asked = seam.shown.size();
    click(forms::frmCVModel, "cmdRestart");
    EXPECT_EQ(seam.shown.size(), asked) << "Restart asks for no file";
    EXPECT_EQ(state().Emax_LV, 2.5);
    EXPECT_EQ(state().AVBlock, 1);
    EXPECT_NEAR(state().ModelTime, 0.1, 1e-9);
    EXPECT_EQ(hrLvBack(), QColor(255, 255, 0));
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(OptionsWindow, ACancelledRetrieveStaysSilentAndRunsNothing) {
    const double time = state().ModelTime;
    click(forms::frmOptions, "cmdImport");
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text, "Enter the name of your desired parameter set");
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_EQ(state().ParamSetLoaded, 0);
    EXPECT_TRUE(options->isVisible());
}

TEST_F(OptionsWindow, TheReflexIsOffUntilTickedAndItsEffectorsAreChosenOneByOne) {
    const char* effectors[] = {"chkReflexHR", "chkReflexEmax", "chkReflexResis", "chkReflexVenous"};
    EXPECT_FALSE(check("chkReflex")->isChecked());
    for (const char* e : effectors) {
        EXPECT_TRUE(check(e)->isChecked()) << e;
        EXPECT_FALSE(check(e)->isEnabled()) << e;
    }
    tick("chkReflex");
    EXPECT_TRUE(state().Reflex.options.on);
    for (const char* e : effectors) EXPECT_TRUE(check(e)->isEnabled()) << e;
    tick("chkReflexVenous");
    EXPECT_FALSE(state().Reflex.options.effector[3]);
    EXPECT_TRUE(state().Reflex.options.effector[0]);

    // A bleed with the reflex on: the heart speeds up, and the model window shows it.
    ASSERT_EQ(workbench::changeBloodVolume(-1000).status, workbench::ChangeResult::Applied);
    for (int i = 0; i < 60; ++i) click(forms::frmCVModel, "cmdRun");
    const double rate = state().HrtRate;
    EXPECT_GT(rate, 85);
    auto* hr = child<QLabel>(forms::frmCVModel, "lblHR_RV");
    EXPECT_EQ(hr->text().toDouble(), std::round(rate * 10) / 10);
    // The label says that the reflex moves it, and what the learner's own value is; a changed
    // parameter looks otherwise (its background).
    EXPECT_TRUE(hr->accessibleDescription().startsWith(
        "Moved by the baroreceptor reflex; your value: 72.0"))
        << hr->accessibleDescription().toStdString();
    EXPECT_EQ(hr->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(hr->font().bold());
    // Off again: the heart rate is the learner's 72 at once, and its label says so before
    // anything runs, in the percent view as well.
    click(forms::frmCVModel, "cmdPercent");
    EXPECT_NE(hr->text().trimmed(), "100");
    tick("chkReflex");
    EXPECT_FALSE(state().Reflex.options.on);
    EXPECT_EQ(state().HrtRate, 72);
    EXPECT_FALSE(check("chkReflexHR")->isEnabled());
    EXPECT_EQ(hr->text().trimmed(), "100");
    EXPECT_FALSE(hr->accessibleDescription().contains("reflex"));
    EXPECT_FALSE(hr->font().bold());
    EXPECT_EQ(hr->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    click(forms::frmCVModel, "cmdPercent");
    EXPECT_EQ(hr->text(), "72.0");
}
