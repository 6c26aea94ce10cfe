// Start-up and the main menu.

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/support/GuiFixture.h"

using namespace vasora;

class MainMenu : public GuiFixture {};

TEST_F(MainMenu, StartUpFixesThePathsAndPrimesTheModelWindow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QWidget* main = start();
    QDir::setCurrent(old);

    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->windowTitle(), "Vasora   -  Main menu");
    const QString project = QDir(dir.path()).canonicalPath() + "/";
    const AppState& a = appState();
    EXPECT_EQ(QDir(a.ProjectPath).canonicalPath() + "/", project);
    EXPECT_TRUE(a.ProjectPath.endsWith('/'));
    EXPECT_EQ(a.StartPath, a.ProjectPath);
    EXPECT_EQ(a.LabBookTemplate, a.ProjectPath + "FinalLB.rtf");
    EXPECT_EQ(a.InfoFile, a.ProjectPath + "FinalNT.rtf");
    EXPECT_EQ(a.HelpFile, a.ProjectPath + "FileHelp.rtf");
    EXPECT_EQ(a.OptionsHelpFile, a.ProjectPath + "OptionsHelp.rtf");
    EXPECT_TRUE(a.InfoTreeShown);
    EXPECT_TRUE(a.LabBookTreeShown);
    EXPECT_EQ(child<QLineEdit>(forms::frmMain, "lblSourcePath")->text(),
              QDir::toNativeSeparators(a.ProjectPath));

    // The model window exists with its first run made, but is not shown; nor is the plot.
    ASSERT_TRUE(forms::exists(forms::frmCVModel));
    EXPECT_FALSE(visible(forms::frmCVModel));
    EXPECT_FALSE(visible(forms::frmPlotData));
    EXPECT_EQ(model::state().StepCount, 100);
    EXPECT_EQ(model::state().NormalSaved, 1);
    EXPECT_EQ(child<QLineEdit>(forms::frmCVModel, "txtCurrentF")->text(), "Original Parameter Set");
}

TEST_F(MainMenu, ButtonsCarryTheirCaptionsAndTips) {
    start();
    struct B {
        const char *name, *text, *tip;
    };
    for (const B& b :
         {B{"cmdInfo", " Information and Help",
            "Instructions for and information about this application"},
          B{"cmdLabBook", "&Lab Book", "Open the Lab Book"},
          B{"cmdCVModel", "Vasora  Model", "Activate the Cardiovascular model"},
          B{"cmdConcepts", "   CV Concepts  ", "Show a diagram of Vasora Concepts"},
          B{"cmdLayout", "Model Layout", " Diagram of the Model with variables and parameters"},
          B{"cmdHelp", " File Help", ""}, B{"cmdExit", "Quit", "Exit this application"}}) {
        auto* w = child<QPushButton>(forms::frmMain, b.name);
        ASSERT_NE(w, nullptr) << b.name;
        EXPECT_EQ(w->text(), b.text);
        EXPECT_TRUE(*b.tip == 0 || w->toolTip().startsWith(QString::fromLatin1(b.tip))) << b.name;
        // A button whose window this version lacks is disabled and says why.
        if (!w->isEnabled()) {
            EXPECT_TRUE(w->toolTip().contains(QStringLiteral("Not in this version"))) << b.name;
        } else {
            EXPECT_EQ(w->toolTip(), b.tip) << b.name;
        }
    }
    EXPECT_EQ(child<QLineEdit>(forms::frmMain, "txtTitle1")->text(), "    Vasora");
}

TEST_F(MainMenu, ModelButtonShowsTheModelWindowAndHidesTheMenu) {
    start();
    const int steps = model::state().StepCount;
    click(forms::frmMain, "cmdCVModel");
    EXPECT_TRUE(visible(forms::frmCVModel));
    EXPECT_FALSE(visible(forms::frmMain));
    // Showing it again does not load it again.
    EXPECT_EQ(model::state().StepCount, steps);
}

TEST_F(MainMenu, QuitEndsAtOnceWithoutAnOwnLabBook) {
    start();
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(seam.shown.empty());
    appState().LabBookName = QStringLiteral("explore");
    appState().OwnLabBook = 1;  // the Explore book is never offered for saving
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 2);
}

TEST_F(MainMenu, QuitEndsTheProgramInOneClickWhileTheLayoutSheetIsOpen) {
    start();
    click(forms::frmMain, "cmdLayout");
    ASSERT_TRUE(visible(forms::frmLayout));
    ASSERT_TRUE(visible(forms::frmMain));
    frmMain::setQuitHandler(&frmMain::endProgram);
    QTimer::singleShot(0, [this] { click(forms::frmMain, "cmdExit"); });
    // Should the program not end, the watchdog ends the loop with another code after a
    // generous while; it goes with the test, so that it never ends a later test's loop.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(60000);
    EXPECT_EQ(QApplication::exec(), 0);
    frmMain::setQuitHandler([this] { ++quits; });
}

TEST_F(MainMenu, QuitRunsItsStepsOnceEvenWhenClosingWindowsComesBackToIt) {
    QWidget* main = start();
    // A quit that closes the windows re-enters the main menu's close handler.
    frmMain::setQuitHandler([this, main] {
        ++quits;
        main->close();
    });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);
    frmMain::setQuitHandler([this] { ++quits; });
}

TEST_F(MainMenu, ClosingTheMenuByItsFrameQuits) {
    QWidget* main = start();
    main->close();
    EXPECT_EQ(quits, 1);
}
