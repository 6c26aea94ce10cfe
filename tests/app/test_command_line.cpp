// The program's command line: how it is read before and after the toolkit takes its own
// options, and the lab book it names, opened once the main menu is up as "Retrieve File" would.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "labbook/LabBookSave.h"
#include "labbook/frmDisplay.h"
#include "tests/support/GuiFixture.h"

using namespace vasora;
using app::CommandLine;
using app::parseCommandLine;

namespace {

QStringList args(std::initializer_list<const char*> words) {
    QStringList l{QStringLiteral("vasora")};
    for (const char* w : words) l << QString::fromUtf8(w);
    return l;
}

}  // namespace

TEST(CommandLineReading, TakesTheProgramsOptionsAndOneLabBook) {
    const CommandLine c = parseCommandLine(
        args({"--project", "course", "--quit-after-start", "book.rtf", "--tour", "pics"}), false);
    EXPECT_EQ(c.action, CommandLine::Action::Start);
    EXPECT_EQ(c.labBook, "book.rtf");
    EXPECT_EQ(c.tour, "pics");
    EXPECT_TRUE(c.quitAfterStart);
    // The project folder's choice sees the options without the lab book, which is no folder.
    EXPECT_EQ(c.options, args({"--project", "course", "--quit-after-start", "--tour", "pics"}));

    // A folder that looks like an option is still the option's value.
    EXPECT_EQ(parseCommandLine(args({"--project", "-odd"}), false).options,
              args({"--project", "-odd"}));
    EXPECT_EQ(parseCommandLine(args({"--project=course"}), false).options,
              args({"--project=course"}));
    // A missing folder is left to the project folder's choice, which says so in its words.
    const CommandLine bare = parseCommandLine(args({"--project"}), false);
    EXPECT_EQ(bare.action, CommandLine::Action::Start);
    EXPECT_EQ(bare.options, args({"--project"}));
    // After "--" a name that begins with a dash is a file.
    const CommandLine dashed = parseCommandLine(args({"--", "--book.rtf"}), false);
    EXPECT_EQ(dashed.action, CommandLine::Action::Start);
    EXPECT_EQ(dashed.labBook, "--book.rtf");
    EXPECT_EQ(parseCommandLine(args({}), false).labBook, "");
}

TEST(CommandLineReading, RefusesUnknownOptionsAndASecondLabBook) {
    for (const bool before : {true, false}) {
        const CommandLine c = parseCommandLine(args({"book.rtf", "--bogus"}), before);
        EXPECT_EQ(c.action, CommandLine::Action::Usage) << before;
        EXPECT_TRUE(c.error.contains("--bogus")) << before;
    }
    const CommandLine two = parseCommandLine(args({"a.rtf", "b.rtf"}), false);
    EXPECT_EQ(two.action, CommandLine::Action::Usage);
    EXPECT_TRUE(two.error.contains("one lab book"));
    // What the toolkit left is not the program's either.
    EXPECT_EQ(parseCommandLine(args({"-x"}), false).action, CommandLine::Action::Usage);
}

TEST(CommandLineReading, BeforeTheToolkitLeavesItsOptionsAndTheirValuesAlone) {
    // "-platform offscreen" and "-style fusion" are the toolkit's: their values are not a second
    // lab book, and nothing is refused for them.
    const CommandLine c = parseCommandLine(
        args({"-platform", "offscreen", "book.rtf", "-style", "fusion", "--quit-after-start"}),
        true);
    EXPECT_EQ(c.action, CommandLine::Action::Start);
    EXPECT_TRUE(c.quitAfterStart);
}

TEST(CommandLineReading, HelpAndVersionAnswerWhereverTheyStand) {
    for (const bool before : {true, false}) {
        EXPECT_EQ(parseCommandLine(args({"--help"}), before).action, CommandLine::Action::Help);
        EXPECT_EQ(parseCommandLine(args({"book.rtf", "-h"}), before).action,
                  CommandLine::Action::Help);
        EXPECT_EQ(parseCommandLine(args({"--project", "x", "--version"}), before).action,
                  CommandLine::Action::Version);
    }
    // The value of --project is a folder, even when it is named --help.
    EXPECT_EQ(parseCommandLine(args({"--project", "--help"}), false).action,
              CommandLine::Action::Start);
    EXPECT_TRUE(app::helpText().contains("--project DIR"));
    EXPECT_TRUE(app::versionText().startsWith("vasora "));
}

class StartingLabBook : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        project = QDir(dir.path()).canonicalPath() + QLatin1Char('/');
        const QString content = qEnvironmentVariable("VASORA_SOURCE_DIR") + "/content/";
        for (const char* f : {"FinalNT.rtf", "FinalLB.rtf", "Explore.rtf"})
            ASSERT_TRUE(QFile::copy(content + f, project + f)) << f;
        QDir().mkpath(project + "Lab Book");
        ASSERT_TRUE(QFile::copy(content + "FinalLB.rtf", project + "Lab Book/mine.rtf"));
        start();
        fixProjectPaths(project);
    }

    labbook::frmDisplay* display() {
        return forms::existing<labbook::frmDisplay>(forms::frmDisplay);
    }

    QTemporaryDir dir;
    QString project;
};

TEST_F(StartingLabBook, OpensTheBookAsTheLearnersOwnAndLeavesTheMenu) {
    const QString book = project + "Lab Book/mine.rtf";
    ASSERT_TRUE(app::openStartingLabBook(book));
    EXPECT_TRUE(seam.shown.empty());
    const AppState& a = appState();
    EXPECT_EQ(a.LabBookFile, book);
    EXPECT_EQ(a.LabBookName, book);
    EXPECT_EQ(a.OwnLabBook, 1);
    // The display has read the whole book.
    EXPECT_EQ(a.LabBookState, 2);
    ASSERT_NE(display(), nullptr);
    EXPECT_TRUE(visible(forms::frmDisplay));
    EXPECT_FALSE(visible(forms::frmMain));
    EXPECT_FALSE(visible(forms::frmLBUser));
    // As after the Lab Book button: the information viewer was loaded for the book's links.
    EXPECT_EQ(a.InfoState, 2);
    EXPECT_EQ(child<QLineEdit>(forms::frmCVModel, "txtLabBookF")->text(), book);

    // The main menu's Lab Book button goes back to the open book, as after Retrieve File.
    forms::show(forms::frmMain);
    click(forms::frmMain, "cmdLabBook");
    EXPECT_TRUE(visible(forms::frmDisplay));
    EXPECT_TRUE(seam.shown.empty());
}

TEST_F(StartingLabBook, AFileThatIsNoLabBookIsReportedOnceAndTheMenuStays) {
    QFile text(project + "notes.rtf");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some notes\n");
    text.close();
    for (const QString& file :
         {project + "Lab Book/missing.rtf", text.fileName(), project + "Lab Book"}) {
        seam.shown.clear();
        EXPECT_FALSE(app::openStartingLabBook(file)) << file.toStdString();
        // The one message the retrieve path gives, in the same words.
        EXPECT_EQ(seam.messages(), QStringList{labbook::whyNotALabBook(file)})
            << file.toStdString();
        EXPECT_TRUE(visible(forms::frmMain));
        EXPECT_FALSE(visible(forms::frmDisplay));
        EXPECT_FALSE(visible(forms::frmLBUser));
        EXPECT_EQ(appState().LabBookState, 0);
        EXPECT_EQ(appState().OwnLabBook, 0);
    }
    // The menu goes on as usual: its Lab Book button offers the choice.
    click(forms::frmMain, "cmdLabBook");
    EXPECT_TRUE(visible(forms::frmLBUser));
}

TEST_F(StartingLabBook, RetrieveFileStillTakesTheBookChosenInItsDialog) {
    click(forms::frmMain, "cmdLabBook");
    seam.paths.push_back(project + "Lab Book/missing.rtf");
    click(forms::frmLBUser, "cmdRetrieveFile");
    EXPECT_EQ(seam.messages(),
              QStringList{labbook::whyNotALabBook(project + "Lab Book/missing.rtf")});
    EXPECT_TRUE(visible(forms::frmLBUser));
    seam.shown.clear();
    seam.paths.push_back(project + "Lab Book/mine.rtf");
    click(forms::frmLBUser, "cmdRetrieveFile");
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_EQ(appState().LabBookState, 2);
    EXPECT_EQ(appState().OwnLabBook, 1);
    EXPECT_TRUE(visible(forms::frmDisplay));
}

// The backdrop behind the program's windows has no task bar entry of its own (a tool window),
// stays below them and never takes the focus.
TEST_F(StartingLabBook, TheBackdropStaysBehindAndOutOfTheTaskBar) {
    QWidget* backdrop = forms::existing(forms::frmClearScreen);
    ASSERT_NE(backdrop, nullptr);
    EXPECT_TRUE(backdrop->isVisible());
    const Qt::WindowFlags f = backdrop->windowFlags();
    EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(f.testFlag(Qt::WindowStaysOnBottomHint));
    EXPECT_TRUE(f.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_FALSE(f.testFlag(Qt::WindowStaysOnTopHint));
}
