// The lab book's windows driven as a learner drives them, on the offscreen platform, with the
// file dialogs scripted into a temporary project folder: choosing a lab book, the display and
// its tree, the tag commands, saving, quitting, and books that cannot be read.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>

#include "documents/ScrivoControl.h"
#include "documents/Tags.h"
#include "documents/frmImage.h"
#include "documents/frmInfo.h"
#include "labbook/LabBookPlay.h"
#include "labbook/TableWalk.h"
#include "labbook/TypingGuard.h"
#include "labbook/frmDisplay.h"
#include "model/Vasora_Model_coding.h"
#include "tests/labbook/LabBookDocs.h"
#include "tests/labbook/LabBookWindowsFixture.h"
#include "tests/support/Files.h"
#include "tests/support/GuiFixture.h"
#include "workbench/frmPlot.h"

using namespace vasora;
using documents::ScrivoControl;
using labbook::cellText;
using labbook::frmDisplay;
using test::readFile;

TEST_F(LabBookWindows, ANewLabBookIsACopyOfTheTemplateShownWithItsTree) {
    newLabBook("mine");
    const AppState& a = appState();
    EXPECT_EQ(a.LabBookName, project + "Lab Book/mine");
    EXPECT_EQ(a.LabBookFile, project + "Lab Book/mine.rtf");
    EXPECT_EQ(readFile(a.LabBookFile), readFile(project + "FinalLB.rtf"));
    EXPECT_EQ(a.LabBookState, 2);
    EXPECT_EQ(a.OwnLabBook, 1);
    EXPECT_FALSE(visible(forms::frmLBUser));
    EXPECT_TRUE(visible(forms::frmDisplay));
    EXPECT_EQ(display()->windowTitle(), "Lab Book Display");
    EXPECT_EQ(seam.shown.at(0).text, "Enter the path and your name for your Lab Book");
    EXPECT_EQ(child<QLineEdit>(forms::frmCVModel, "txtLabBookF")->text(), a.LabBookFile);
    EXPECT_EQ(child<QLineEdit>(forms::frmLayout, "txtLabBookF")->text(), a.LabBookFile);
    // The tree: both chapters, the second-level heading under the first.
    const QTreeWidgetItem* root = display()->tree()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "Lab Book Contents");
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0), "The normal circulation");
    EXPECT_EQ(root->child(0)->child(0)->text(0), "Systemic arterial resistance");
    EXPECT_FALSE(child<QPushButton>(forms::frmDisplay, "cmdSaveLB")->isVisible());
    EXPECT_FALSE(child<QPushButton>(forms::frmDisplay, "cmdBuildTree")->isVisible());
    EXPECT_FALSE(display()->changedSinceSaved());

    // A name typed with its extension gets no second one. An existing book of that name is
    // replaced by a fresh copy only after one question in the program's words, whether the name
    // was typed with ".rtf" or without it.
    QFile old(project + "Lab Book/again.rtf");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("{\\rtf1 old}");
    old.close();
    for (const QString& typed : {QStringLiteral("again.rtf"), QStringLiteral("again")}) {
        SCOPED_TRACE(typed.toStdString());
        click(forms::frmMain, "cmdHelp");
        seam.shown.clear();
        seam.paths.push_back(project + "Lab Book/" + typed);
        seam.answers.push_back(ui::Answer::No);
        click(forms::frmLBUser, "cmdSaveNewFile");
        ASSERT_EQ(seam.shown.size(), 2u);
        EXPECT_EQ(seam.shown[1].kind, "question");
        EXPECT_TRUE(seam.shown[1].text.startsWith("A Lab Book named again.rtf exists already"))
            << seam.shown[1].text.toStdString();
        EXPECT_EQ(readFile(project + "Lab Book/again.rtf"), "{\\rtf1 old}");
        EXPECT_EQ(appState().LabBookFile, project + "Lab Book/mine.rtf");
    }
    seam.paths.push_back(project + "Lab Book/again");
    seam.answers.push_back(ui::Answer::Yes);
    click(forms::frmLBUser, "cmdSaveNewFile");
    EXPECT_EQ(appState().LabBookFile, project + "Lab Book/again.rtf");
    EXPECT_EQ(readFile(project + "Lab Book/again.rtf"), readFile(project + "FinalLB.rtf"));
    EXPECT_EQ(display()->loadedFile(), project + "Lab Book/again.rtf");
}

TEST_F(LabBookWindows, ATableButtonCopiesTheModelWindowsCaptions) {
    newLabBook("mine");
    const int p = paragraphOf(41000);
    clickTag(41000);
    EXPECT_EQ(cell(21011), cellText(modelCaption("lblPressSysA")));
    EXPECT_EQ(cell(21052), cellText(modelCaption("lblFlowLeftV")));
    EXPECT_EQ(cell(21053), cellText(modelCaption("lblEDV_LV")));
    EXPECT_EQ(cell(21011).size(), 7);
    EXPECT_TRUE(display()->changedSinceSaved());
    // The cursor goes on to the start of the second paragraph below the button.
    EXPECT_EQ(text().CursorPara(), p + 2);
    EXPECT_EQ(text().CursorChar(), 0);
    EXPECT_TRUE(seam.shown.size() == 1u);  // the file dialog only
}

TEST_F(LabBookWindows, AnInputTableIsAppliedToTheModelCellByCellWithARunEach) {
    newLabBook("mine");
    const int steps = model::state().StepCount;
    seam.shown.clear();
    clickTag(42000);
    EXPECT_DOUBLE_EQ(model::state().Resis[model::SysA], 2 * model::state().Resis_N[model::SysA]);
    EXPECT_EQ(model::state().StepCount, steps + 200);
    EXPECT_TRUE(visible(forms::frmCVModel));
    EXPECT_TRUE(visible(forms::frmPlotData));
    // Each cell reminds the learner to run on, with the warning's own title.
    ASSERT_EQ(seam.shown.size(), 2u);
    for (const auto& s : seam.shown) {
        EXPECT_EQ(s.title, "  Warning:  Run until equilibrium!");
        EXPECT_TRUE(s.text.startsWith("Please click RUN MODEL or AutoRun"));
    }
    const QPalette marked = child<QLabel>(forms::frmCVModel, "lblResisSysA")->palette();
    EXPECT_EQ(marked.color(QPalette::Window), QColor(200, 255, 255));
    EXPECT_EQ(child<QPushButton>(forms::frmCVModel, "cmdPercent")->text(), " Show % Normal");
    // The results table below then copies the changed circulation.
    clickTag(42000, 1);
    EXPECT_EQ(cell(22011), cellText(modelCaption("lblPressSysA")));
}

TEST_F(LabBookWindows, ThePlotTableGoesIntoTheChartWindow) {
    newLabBook("mine");
    for (int row = 0; row < 3; ++row) {
        clickTag(46000, std::size_t(row));
        clickTag(47000, std::size_t(row));
    }
    clickTag(48000);
    auto* plot = forms::existing<workbench::frmPlot>(forms::frmPlot);
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->isVisible());
    EXPECT_EQ(plot->cell(0, 10)->text(), "  70  ");
    EXPECT_EQ(plot->cell(1, 10)->text(), cell(27052, 2));
    EXPECT_EQ(plot->cell(2, 10)->text(), cell(27121, 2));
    EXPECT_EQ(plot->cell(0, 8)->text(), "  30  ");
    click(forms::frmPlot, "cmdPlot");
    EXPECT_EQ(plot->points().size(), 11);
}

TEST_F(LabBookWindows, ALinkOpensTheInformationViewerAtItsAnchor) {
    newLabBook("mine");
    const int p = paragraphOf(51401);
    clickTag(51401);
    auto* info = forms::existing<documents::frmInfo>(forms::frmInfo);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    const QTextBlock at = info->text()->document()->findBlockByNumber(info->text()->CursorPara());
    EXPECT_TRUE(documents::tagAt(*info->text()->document(), at.position()).code == 51401 ||
                at.text().contains(QStringLiteral("4.1")))
        << at.text().toStdString();
    // The cursor of the lab book is back on the link.
    EXPECT_EQ(text().CursorPara(), p);
    // Return goes back to the lab book.
    click(forms::frmInfo, "cmdReturn");
    EXPECT_FALSE(info->isVisible());
    EXPECT_TRUE(visible(forms::frmDisplay));
}

TEST_F(LabBookWindows, AMissingAnchorOrFigureIsReported) {
    QFile book(project + "Lab Book/links.rtf");
    QDir().mkpath(project + "Lab Book");
    ASSERT_TRUE(test::writeBook(
        *test::compileBook(QStringLiteral("[Nowhere](info:999) and [a figure](fig:1) and "
                                          "[another](fig:5)\n")),
        book.fileName()));
    click(forms::frmMain, "cmdLabBook");
    seam.paths.push_back(book.fileName());
    click(forms::frmLBUser, "cmdRetrieveFile");
    ASSERT_EQ(appState().LabBookState, 2);
    seam.shown.clear();
    clickTag(51999);
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text, "No matching tag: 51999");
    EXPECT_EQ(seam.shown[0].title, "Note");
    EXPECT_FALSE(visible(forms::frmInfo));
    clickTag(53001);
    EXPECT_TRUE(visible(forms::frmImage));
    EXPECT_EQ(child<QLabel>(forms::frmImage, "lblCaption")->text(), "Label for image 1");
    clickTag(53005);
    EXPECT_EQ(seam.shown.back().text, "File: " + project + "Img005 not found.");
}

TEST_F(LabBookWindows, TheRestartTagRestartsTheModel) {
    newLabBook("mine");
    clickTag(42000);
    ASSERT_NE(model::state().Resis[model::SysA], model::state().Resis_N[model::SysA]);
    clickTag(70000);
    EXPECT_EQ(model::state().Resis[model::SysA], model::state().Resis_N[model::SysA]);
    EXPECT_EQ(model::state().StepCount, 100);
    EXPECT_TRUE(visible(forms::frmCVModel));
}

TEST_F(LabBookWindows, SavedValuesAreThereWhenTheBookIsOpenedAgain) {
    newLabBook("mine");
    clickTag(41000);
    const QString map = cell(21011);
    seam.shown.clear();
    clickTag(54000);
    EXPECT_TRUE(seam.shown.empty());
    EXPECT_FALSE(display()->changedSinceSaved());
    EXPECT_FALSE(visible(forms::frmActive));

    // The next run of the program retrieves it.
    restart();
    fixProjectPaths(project);
    click(forms::frmMain, "cmdLabBook");
    seam.paths.push_back(project + "Lab Book/mine.rtf");
    click(forms::frmLBUser, "cmdRetrieveFile");
    ASSERT_EQ(appState().LabBookState, 2);
    EXPECT_EQ(appState().LabBookFile, project + "Lab Book/mine.rtf");
    EXPECT_EQ(cell(21011), map);
    EXPECT_NE(map.trimmed(), "");
    // A saved book opens in a word processor as text with its values (it is plain RTF).
    EXPECT_TRUE(readFile(appState().LabBookFile).contains(map.trimmed().toLatin1()));
}

TEST_F(LabBookWindows, TheSampleIsNeverSaved) {
    click(forms::frmMain, "cmdLabBook");
    click(forms::frmLBUser, "cmdExplore");
    ASSERT_EQ(appState().LabBookState, 2);
    EXPECT_EQ(appState().OwnLabBook, 0);
    EXPECT_EQ(child<QLineEdit>(forms::frmCVModel, "txtLabBookF")->text(),
              " The Lab Book is Explorer");
    const QByteArray before = readFile(project + "Explore.rtf");
    clickTag(41000);
    seam.shown.clear();
    const int p = paragraphOf(54000);
    clickTag(54000);
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text, "Please do NOT try to save 'Explore'");
    EXPECT_EQ(readFile(project + "Explore.rtf"), before);
    EXPECT_EQ(text().CursorPara(), p);
    // Quitting does not ask.
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(visible(forms::frmLBSave));
    // Retrieved as one's own book, the sample is refused all the same.
    click(forms::frmMain, "cmdHelp");
    seam.paths.push_back(project + "Explore.rtf");
    click(forms::frmLBUser, "cmdRetrieveFile");
    ASSERT_EQ(appState().OwnLabBook, 1);
    seam.shown.clear();
    clickTag(54000);
    EXPECT_EQ(seam.messages(), QStringList{"Please do NOT try to save 'Explore'"});
    EXPECT_EQ(readFile(project + "Explore.rtf"), before);
}

// A new book that cannot be made (its folder is a file, the template is missing, the project
// folder typed is wrong) is reported once, and the open book keeps its names: it can still be
// saved, and quitting saves it.
TEST_F(LabBookWindows, ANewBookThatCannotBeMadeLeavesTheOpenBookSavable) {
    newLabBook("mine");
    clickTag(41000);
    const QString mine = appState().LabBookFile;
    QFile blocker(project + "Lab Book/blocked");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // The first is asked whether to save the open book first (No); the others fail before.
    auto attempt = [&](const QString& typedFolder, const QString& newBook, bool asked) {
        click(forms::frmMain, "cmdHelp");
        if (!typedFolder.isEmpty())
            child<QLineEdit>(forms::frmLBUser, "txtSourcePath")->setText(typedFolder);
        seam.shown.clear();
        seam.paths.push_back(newBook);
        if (asked) seam.answers.push_back(ui::Answer::No);
        click(forms::frmLBUser, "cmdSaveNewFile");
        EXPECT_EQ(seam.messages().size(), 1) << seam.messages().join('\n').toStdString();
        EXPECT_EQ(appState().LabBookFile, mine);
        EXPECT_EQ(appState().LabBookName, project + "Lab Book/mine");
        EXPECT_EQ(appState().ProjectPath, project);
        EXPECT_EQ(appState().LabBookState, 2);
        EXPECT_EQ(appState().OwnLabBook, 1);
        EXPECT_TRUE(seam.answers.empty());
    };
    attempt({}, project + "Lab Book/blocked/new", true);
    attempt(project + "no such folder", project + "Lab Book/new", false);
    ASSERT_TRUE(QFile::rename(project + "FinalLB.rtf", project + "moved.rtf"));
    attempt({}, project + "Lab Book/new", false);
    EXPECT_FALSE(QFileInfo::exists(project + "Lab Book/new.rtf"));
    seam.shown.clear();
    clickTag(54000);
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('\n').toStdString();
    EXPECT_FALSE(display()->changedSinceSaved());
    QTimer::singleShot(0, [this] { click(forms::frmLBSave, "cmdSaveLBFile"); });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);
}

// A save refused on quitting (the template opened as one's own book) keeps the program
// running, as a failed save does; No still ends it.
TEST_F(LabBookWindows, ARefusedSaveOnQuittingKeepsTheProgramRunning) {
    click(forms::frmMain, "cmdLabBook");
    seam.paths.push_back(project + "FinalLB.rtf");
    click(forms::frmLBUser, "cmdRetrieveFile");
    ASSERT_EQ(appState().OwnLabBook, 1);
    seam.shown.clear();
    QTimer::singleShot(0, [this] { click(forms::frmLBSave, "cmdSaveLBFile"); });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 0);
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].contains("template")) << seam.messages()[0].toStdString();
    QTimer::singleShot(0, [this] { click(forms::frmLBSave, "cmdNo"); });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);
}

TEST_F(LabBookWindows, QuittingAsksToSaveTheLearnersOwnBook) {
    newLabBook("mine");
    clickTag(41000);
    const QString map = cell(21011);
    // "No" keeps the file as it was; the program ends.
    QTimer::singleShot(0, [this] { click(forms::frmLBSave, "cmdNo"); });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(readFile(appState().LabBookFile), readFile(project + "FinalLB.rtf"));
    // "Yes" writes the book, then the program ends.
    QTimer::singleShot(0, [this] {
        EXPECT_EQ(forms::existing(forms::frmLBSave)->windowTitle(),
                  "         Your copy of the  Lab Book");
        click(forms::frmLBSave, "cmdSaveLBFile");
    });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 2);
    EXPECT_TRUE(readFile(appState().LabBookFile).contains(map.trimmed().toLatin1()));
}

TEST_F(LabBookWindows, ASaveThatFailsIsReportedAndTheProgramGoesOn) {
    newLabBook("mine");
    clickTag(41000);
    // The folder of the book is gone, and a file stands in its place.
    ASSERT_TRUE(QDir(project + "Lab Book").removeRecursively());
    QFile blocker(project + "Lab Book");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    seam.shown.clear();
    clickTag(54000);
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(
        seam.messages()[0].contains("mine.rtf could not be saved: a file stands where "
                                    "its folder should be."))
        << seam.messages()[0].toStdString();
    EXPECT_TRUE(display()->changedSinceSaved());
    QTimer::singleShot(0, [this] { click(forms::frmLBSave, "cmdSaveLBFile"); });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(seam.messages().size(), 2);
    EXPECT_FALSE(visible(forms::frmActive));
    // Once the learner has made room, quitting saves and ends.
    ASSERT_TRUE(QFile::remove(project + "Lab Book"));
    ASSERT_TRUE(QDir().mkpath(project + "Lab Book"));
    QTimer::singleShot(0, [this] { click(forms::frmLBSave, "cmdSaveLBFile"); });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(QFileInfo::exists(appState().LabBookFile));
}

TEST_F(LabBookWindows, ABookThatCannotBeReadIsReportedOnceAndTheOpenBookStays) {
    newLabBook("mine");
    clickTag(41000);
    const QString shown = doc().toPlainText();
    ASSERT_GT(shown.size(), 100);
    QFile notes(project + "Lab Book/notes.rtf");
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("These are my notes, not a lab book.");
    notes.close();
    ASSERT_TRUE(QDir().mkpath(project + "Lab Book/folder.rtf"));
    for (const QString& name : {QStringLiteral("notes.rtf"), QStringLiteral("missing.rtf"),
                                QStringLiteral("folder.rtf")}) {
        SCOPED_TRACE(name.toStdString());
        click(forms::frmMain, "cmdHelp");
        seam.shown.clear();
        seam.paths.push_back(project + "Lab Book/" + name);
        click(forms::frmLBUser, "cmdRetrieveFile");
        ASSERT_EQ(seam.messages().size(), 1) << "one choice, one report";
        EXPECT_TRUE(seam.messages()[0].contains(name)) << seam.messages()[0].toStdString();
        // The learner's own book is still open, unsaved work and all, and can be saved.
        EXPECT_EQ(appState().LabBookState, 2);
        EXPECT_EQ(appState().LabBookFile, project + "Lab Book/mine.rtf");
        EXPECT_EQ(doc().toPlainText(), shown);
        EXPECT_EQ(display()->loadedFile(), project + "Lab Book/mine.rtf");
        EXPECT_TRUE(display()->changedSinceSaved());
    }
    seam.shown.clear();
    QTimer::singleShot(0, [this] { click(forms::frmLBSave, "cmdSaveLBFile"); });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('\n').toStdString();
    EXPECT_EQ(QString::fromUtf8(readFile(project + "Lab Book/mine.rtf")).count("Fill Table"),
              QString::fromUtf8(readFile(project + "FinalLB.rtf")).count("Fill Table"));
    EXPECT_NE(readFile(project + "Lab Book/mine.rtf"), readFile(project + "FinalLB.rtf"));
    EXPECT_FALSE(QFileInfo::exists(project + "Lab Book/missing.rtf"));
    EXPECT_EQ(readFile(project + "Lab Book/notes.rtf"), "These are my notes, not a lab book.");
}

TEST_F(LabBookWindows, AnotherBookChosenLaterIsLoadedAfterTheOfferToSave) {
    newLabBook("first");
    ASSERT_TRUE(QFile::copy(project + "FinalLB.rtf", project + "Lab Book/second.rtf"));
    clickTag(41000);
    const QString map = cell(21011);
    // Cancel: nothing changes.
    click(forms::frmMain, "cmdHelp");
    seam.paths.push_back(project + "Lab Book/second.rtf");
    seam.answers.push_back(ui::Answer::Cancel);
    click(forms::frmLBUser, "cmdRetrieveFile");
    EXPECT_EQ(appState().LabBookFile, project + "Lab Book/first.rtf");
    EXPECT_EQ(cell(21011), map);
    // Yes: the first is saved, then the second shown.
    seam.paths.push_back(project + "Lab Book/second.rtf");
    seam.answers.push_back(ui::Answer::Yes);
    click(forms::frmLBUser, "cmdRetrieveFile");
    EXPECT_TRUE(seam.shown.back().text.contains("first.rtf has changed since it was saved"));
    EXPECT_TRUE(readFile(project + "Lab Book/first.rtf").contains(map.trimmed().toLatin1()));
    EXPECT_EQ(appState().LabBookState, 2);
    EXPECT_EQ(display()->loadedFile(), project + "Lab Book/second.rtf");
    EXPECT_EQ(cell(21011), "       ");
    // Chosen again, the open book stays as it is, unsaved changes and all, without a question.
    clickTag(41000);
    click(forms::frmMain, "cmdHelp");
    const std::size_t asked = seam.shown.size();
    seam.paths.push_back(project + "Lab Book/second.rtf");
    click(forms::frmLBUser, "cmdRetrieveFile");
    EXPECT_EQ(seam.shown.size(), asked + 1);  // the file dialog only
    EXPECT_EQ(cell(21011), map);
}

TEST_F(LabBookWindows, TheDisplayTakesItsPlaceBesideTheModelWindow) {
    newLabBook("mine");
    click(forms::frmDisplay, "cmdLoadModel");
    QWidget* model = forms::existing(forms::frmCVModel);
    ASSERT_TRUE(model->isVisible());
    EXPECT_FALSE(visible(forms::frmPlotData));
    // The display stands beside the model window, which it does not cover.
    EXPECT_GE(display()->geometry().left(), model->geometry().right());
    EXPECT_FALSE(display()->frameGeometry().intersects(model->frameGeometry()));
    // Too narrow for the tree beside a table (the offscreen screen is small), the display
    // starts with its tree hidden; the button shows it.
    ASSERT_LT(display()->width(), 880);
    EXPECT_FALSE(display()->tree()->isVisible());
    EXPECT_FALSE(appState().LabBookTreeShown);
    EXPECT_EQ(child<QPushButton>(forms::frmDisplay, "cmdSHContents")->text(),
              "Show Table of Contents");
    EXPECT_LT(text().x(), 20);
    click(forms::frmDisplay, "cmdSHContents");
    EXPECT_TRUE(display()->tree()->isVisible());
    EXPECT_EQ(child<QPushButton>(forms::frmDisplay, "cmdSHContents")->text(),
              "Hide Table of Contents");
    EXPECT_GT(text().x(), display()->tree()->geometry().right());
    click(forms::frmDisplay, "cmdSHContents");
    EXPECT_FALSE(display()->tree()->isVisible());
    click(forms::frmDisplay, "cmdPlotData");
    EXPECT_TRUE(visible(forms::frmPlotData));
    click(forms::frmDisplay, "cmdMainMenu");
    EXPECT_FALSE(visible(forms::frmDisplay));
    EXPECT_FALSE(visible(forms::frmCVModel));
    EXPECT_TRUE(visible(forms::frmMain));
    // Back from the main menu the book is there as it was.
    click(forms::frmMain, "cmdLabBook");
    EXPECT_TRUE(visible(forms::frmDisplay));
    EXPECT_FALSE(visible(forms::frmLBUser));
}

TEST_F(LabBookWindows, ATreeClickBringsItsHeadingUpAndTheToggleReturnsThere) {
    newLabBook("mine");
    display()->resize(500, 300);
    QTreeWidgetItem* far = display()->tree()->topLevelItem(0)->child(1);
    ASSERT_NE(far, nullptr);
    display()->tree()->itemClicked(far, 0);
    const int para = text().CursorPara();
    EXPECT_EQ(doc().findBlockByNumber(para).text(), "Heart rate and cardiac output");
    EXPECT_EQ(display()->state().RememberedPara, para);
    const int top = text().ScrollTop();
    EXPECT_GT(top, 0);
    click(forms::frmDisplay, "cmdSHContents");
    click(forms::frmDisplay, "cmdSHContents");
    qint32 x = 0, y = 0;
    ScrivoAPI::SCRIVO_CURTOXY(text(), para, 0, x, y);
    EXPECT_EQ(text().ScrollTop(), std::min<qint32>(y, text().verticalScrollBar()->maximum()));
}

TEST_F(LabBookWindows, AnInputCellTakesTheLearnersValue) {
    newLabBook("mine");
    const documents::TagSpan c = test::tagsWithCode(doc(), 32015).at(0);
    // Clicking into the cell leaves the cursor where the learner clicked.
    QTextCursor at(&doc());
    at.setPosition(c.start + 2);
    text().setTextCursor(at);
    QApplication::processEvents();
    QTest::mouseClick(text().viewport(), Qt::LeftButton, {}, text().cursorRect(at).center());
    QApplication::processEvents();
    EXPECT_EQ(display()->guard()->EditState(), 0);
    QTest::keyClick(&text(), Qt::Key_Delete);
    QTest::keyClicks(&text(), QStringLiteral("5"));
    EXPECT_EQ(cell(32015), "  500  ");
    clickTag(42000);
    EXPECT_DOUBLE_EQ(model::state().Resis[model::SysA], 5 * model::state().Resis_N[model::SysA]);
}

// The shipped template, when its author has delivered it.
TEST_F(LabBookWindows, TheShippedTemplateWorksInTheDisplay) {
    if (!QFileInfo::exists(shipped("FinalLB.rtf")))
        GTEST_SKIP() << "content/FinalLB.rtf is not in the repository yet";
    QFile::remove(project + "FinalLB.rtf");
    ASSERT_TRUE(QFile::copy(shipped("FinalLB.rtf"), project + "FinalLB.rtf"));
    newLabBook("course");
    ASSERT_EQ(appState().LabBookState, 2);
    EXPECT_GE(display()->tree()->topLevelItem(0)->childCount(), 9);
    // Its first output table fills from the model window.
    for (const documents::TagSpan& t : documents::allTags(doc())) {
        if (t.code / 10000 != 4 || t.code == 48000) continue;
        std::size_t nth = 0;
        for (const documents::TagSpan& u : test::tagsWithCode(doc(), t.code)) {
            if (u.start == t.start) break;
            ++nth;
        }
        seam.shown.clear();
        clickTag(t.code, nth);
        break;
    }
    EXPECT_TRUE(display()->changedSinceSaved());
}

// A hostile book of thousands of cells a table has no label for: one click of its button brings
// up three of the message and a question, and answered No, nothing more.
TEST_F(LabBookWindows, AThousandWrongCellsBringUpThreeMessagesAndAQuestion) {
    QString rows;
    for (int i = 0; i < 1000; ++i) rows += QStringLiteral("| [[21071|       ]] |\n");
    auto book = test::compileBook(QStringLiteral("[[10000|Table 1]]\n\n") + rows +
                                  QStringLiteral("\n[[41000|Fill]]\n"));
    ASSERT_TRUE(QDir().mkpath(project + "Lab Book"));
    ASSERT_TRUE(test::writeBook(*book, project + "Lab Book/hostile.rtf"));
    click(forms::frmMain, "cmdLabBook");
    seam.paths.push_back(project + "Lab Book/hostile.rtf");
    click(forms::frmLBUser, "cmdRetrieveFile");
    ASSERT_EQ(appState().LabBookState, 2);
    seam.shown.clear();
    seam.answers.push_back(ui::Answer::No);
    clickTag(41000);
    EXPECT_EQ(seam.messages().size(), 3);
    ASSERT_EQ(seam.shown.size(), 4u);
    EXPECT_EQ(seam.shown[3].kind, "question");
}
