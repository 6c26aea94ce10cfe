// The document windows: the contents tree, the information viewer with the shipped information
// file (links, history, index, find, Explain), the figure window and the help windows.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTreeWidget>

#include "core/CV_Nav.h"
#include "documents/ContentsTree.h"
#include "documents/DocSource.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "documents/ScrivoControl.h"
#include "documents/Tags.h"
#include "documents/frmImage.h"
#include "documents/frmInfo.h"
#include "model/ModelLabels.h"
#include "model/Quantities.h"
#include "tests/support/GuiFixture.h"
#include "workbench/ParamLabel.h"
#include "workbench/frmCVModel.h"

using namespace vasora;
using documents::ScrivoControl;

namespace {

QString shipped(const char* name) {
    return qEnvironmentVariable("VASORA_SOURCE_DIR") + QStringLiteral("/content/") +
           QString::fromLatin1(name);
}

// A control holding the document compiled from `source`, loaded through a file as the
// windows load theirs.
class Loaded {
  public:
    explicit Loaded(const QString& source) : control(QStringLiteral("scrivoTest")) {
        QTextDocument doc;
        const documents::SourceResult r =
            documents::compileSource({{QStringLiteral("t.vtx"), source}}, doc);
        EXPECT_TRUE(r.ok());
        const QString file = dir.filePath(QStringLiteral("t.rtf"));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(documents::writeRtf(doc));
        f.close();
        control.setFileName(file);
        control.setLoadNow(1);
        control.resize(600, 400);
    }
    QTemporaryDir dir;
    ScrivoControl control;
    QTreeWidget tree;
};

QStringList childTexts(const QTreeWidgetItem* item) {
    QStringList t;
    for (int i = 0; i < item->childCount(); ++i) t << item->child(i)->text(0);
    return t;
}

}  // namespace

class Viewers : public GuiFixture {};

TEST_F(Viewers, TheContentsTreeFindsEveryHeadingOnceInOrder) {
    // Headings next to other tags of any length, a level-2 heading before any level-1, a
    // heading right after a tag with no blank between.
    Loaded d(
        QStringLiteral("## Early\n"
                       "[[23011|a very long cell text that is longer than a heading]]"
                       "[[91000|First]][[92000|A]]\n"
                       "## B\n"
                       "[[51001|1]][[91000|Second]]\n"
                       "## C\n"
                       "#   >>index of topics {-}\n"
                       "# >>INDX {-}\n"));
    const int indexPara = documents::BuildContentsTree(
        d.control, d.tree, {QStringLiteral("Information file Contents"), true});
    ASSERT_EQ(d.tree.topLevelItemCount(), 1);
    const QTreeWidgetItem* root = d.tree.topLevelItem(0);
    EXPECT_EQ(root->text(0), "Information file Contents");
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(childTexts(root),
              (QStringList{"Early", "First", "Second", ">>index of topics", ">>INDX"}));
    EXPECT_EQ(childTexts(root->child(1)), (QStringList{"A", "B"}));
    EXPECT_EQ(childTexts(root->child(2)), (QStringList{"C"}));
    // The ">>INDEX" heading is recognised in any case after blanks; ">>INDX" is not it.
    const QTextBlock indexBlock = d.control.document()->findBlockByNumber(indexPara);
    EXPECT_TRUE(indexBlock.text().contains(">>index of topics"));
    // Each node holds its heading's position; the cursor is back at the start.
    EXPECT_EQ(d.control.CursorPara(), 0);
    EXPECT_EQ(root->child(1)->data(0, Qt::UserRole).toString(),
              documents::nodeTag(1, 51));  // after the 51 characters of the cell
}

TEST_F(Viewers, ATreeWithoutHeadingsIsItsRootAndANodeClickMovesTheText) {
    Loaded none(QStringLiteral("Just a paragraph.\n\nAnd another.\n"));
    EXPECT_EQ(documents::BuildContentsTree(none.control, none.tree,
                                           {QStringLiteral("Lab Book Contents"), false}),
              0);
    ASSERT_EQ(none.tree.topLevelItemCount(), 1);
    EXPECT_EQ(none.tree.topLevelItem(0)->childCount(), 0);
    EXPECT_TRUE(none.tree.topLevelItem(0)->isExpanded());

    QString text;
    for (int i = 0; i < 60; ++i) text += QStringLiteral("Line %1 of filler text.\n\n").arg(i);
    Loaded d(text + QStringLiteral("# Far down\nThe end.\n"));
    documents::BuildContentsTree(d.control, d.tree, {QStringLiteral("Lab Book Contents"), false});
    const QTreeWidgetItem* far = d.tree.topLevelItem(0)->child(0);
    EXPECT_EQ(documents::contentsNodeClicked(d.control, far), 60);
    EXPECT_EQ(d.control.CursorPara(), 60);
    EXPECT_GT(d.control.ScrollTop(), 0);
    // The root stands for the top of the text.
    EXPECT_EQ(documents::contentsNodeClicked(d.control, d.tree.topLevelItem(0)), 0);
    EXPECT_EQ(d.control.CursorPara(), 0);
    qint32 x = 0, top = 0;
    ScrivoAPI::SCRIVO_CURTOXY(d.control, 0, 0, x, top);
    EXPECT_EQ(d.control.ScrollTop(), top);  // the first line at the top, inside its margin
}

class InfoViewer : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        start();
        appState().InfoFile = shipped("FinalNT.rtf");
        appState().ImagePath = shipped("");
        click(forms::frmMain, "cmdInfo");
        info = forms::get<documents::frmInfo>(forms::frmInfo);
        ASSERT_NE(info, nullptr);
        info->resize(1000, 700);
    }
    ScrivoControl& text() { return *info->text(); }
    QPushButton* button(const char* name) { return child<QPushButton>(forms::frmInfo, name); }
    // Clicks the tag with `code` in the text as a learner would, with the mouse.
    void clickTag(int code) {
        const auto tags = documents::allTags(*text().document());
        auto it = std::find_if(tags.begin(), tags.end(),
                               [code](const documents::TagSpan& t) { return t.code == code; });
        ASSERT_NE(it, tags.end()) << code;
        QTextCursor c(text().document());
        c.setPosition(it->start + 1);
        text().ensureCursorVisible();
        text().setTextCursor(c);
        text().ensureCursorVisible();
        QApplication::processEvents();
        const QPoint at = text().cursorRect(c).center();
        QTest::mouseClick(text().viewport(), Qt::LeftButton, {}, at);
    }
    int paragraphOf(int anchor) {
        for (const documents::TagSpan& t : documents::allTags(*text().document()))
            if (t.code == anchor) return text().document()->findBlock(t.start).blockNumber();
        return -1;
    }

    documents::frmInfo* info = nullptr;
};

TEST_F(InfoViewer, LoadsTheShippedFileWithItsTreeAndIndexAndStartsWithTheTreeHidden) {
    EXPECT_TRUE(info->isVisible());
    EXPECT_FALSE(visible(forms::frmMain));
    EXPECT_EQ(appState().InfoState, 2);
    EXPECT_FALSE(appState().InfoTreeShown);
    EXPECT_FALSE(info->tree()->isVisible());
    EXPECT_EQ(button("cmdSHContents")->text(), "Show Table of Contents");
    EXPECT_FALSE(button("cmdBuildTree")->isVisible());
    EXPECT_FALSE(button("cmdBack")->isEnabled());
    EXPECT_FALSE(button("cmdForward")->isEnabled());
    // At least thirty sections under their chapters.
    const QTreeWidgetItem* root = info->tree()->topLevelItem(0);
    int sections = 0;
    for (int i = 0; i < root->childCount(); ++i) sections += 1 + root->child(i)->childCount();
    EXPECT_GE(sections, 30);
    EXPECT_GT(info->indexPara(), 0);
    EXPECT_TRUE(text().document()->findBlockByNumber(info->indexPara()).text().contains(">>INDEX"));
    click(forms::frmInfo, "cmdIndex");
    qint32 x = 0, y = 0;
    ScrivoAPI::SCRIVO_CURTOXY(text(), info->indexPara(), 0, x, y);
    EXPECT_EQ(text().ScrollTop(), std::min<qint32>(y, text().verticalScrollBar()->maximum()));
    click(forms::frmInfo, "cmdSHContents");
    EXPECT_TRUE(info->tree()->isVisible());
    EXPECT_GT(text().x(), info->tree()->x() + 100);  // the text moved aside for the tree
}

TEST_F(InfoViewer, ShowingAndHidingTheContentsKeepsTheLineBeingRead) {
    // Deep in the text, a line starting at the top of the view.
    text().setScrollTop(text().verticalScrollBar()->maximum() / 2);
    QApplication::processEvents();
    const int reading = text().topPosition();
    ASSERT_GT(reading, 1000);
    for (int i = 0; i < 2; ++i) {
        click(forms::frmInfo, "cmdSHContents");
        QApplication::processEvents();
        // The text flowed at another width; the line read is still the top one.
        QTextCursor c(text().document());
        c.setPosition(reading);
        const QRect line = text().cursorRect(c);
        EXPECT_GE(line.top(), -line.height()) << "after toggle " << i;
        EXPECT_LE(line.top(), line.height()) << "after toggle " << i;
    }
}

TEST_F(InfoViewer, ALinkJumpsToItsAnchorAndBackAndForwardWalkTheHistory) {
    // The first link of the file, clicked with the mouse.
    int link = 0;
    for (const documents::TagSpan& t : documents::allTags(*text().document()))
        if (t.code / 1000 == 52) {
            link = t.code;
            break;
        }
    ASSERT_NE(link, 0);
    const int target = paragraphOf(link - 1000);
    ASSERT_GT(target, 0);
    clickTag(link);
    const int departure = nav::history().NavStack[1];
    EXPECT_EQ(text().CursorPara(), target);
    EXPECT_EQ(nav::history().NavPos, 2);
    EXPECT_TRUE(button("cmdBack")->isEnabled());
    EXPECT_FALSE(button("cmdForward")->isEnabled());
    click(forms::frmInfo, "cmdBack");
    EXPECT_EQ(text().CursorPara(), departure);
    EXPECT_FALSE(button("cmdBack")->isEnabled());
    EXPECT_TRUE(button("cmdForward")->isEnabled());
    click(forms::frmInfo, "cmdForward");
    EXPECT_EQ(text().CursorPara(), target);
    EXPECT_FALSE(button("cmdForward")->isEnabled());
    // To the main menu clears the history, and the buttons with it.
    click(forms::frmInfo, "cmdToMain");
    EXPECT_FALSE(info->isVisible());
    EXPECT_TRUE(visible(forms::frmMain));
    EXPECT_EQ(nav::history().NavPos, 0);
    EXPECT_FALSE(button("cmdBack")->isEnabled());
    EXPECT_FALSE(button("cmdForward")->isEnabled());
}

TEST_F(InfoViewer, AMissingAnchorIsReportedAndTheHistoryStays) {
    EXPECT_FALSE(info->showTopic(999));
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text, "No matching tag:  51999");
    EXPECT_EQ(seam.shown[0].title, "Note");
    EXPECT_EQ(nav::history().NavPos, 0);
    // Thirty good jumps fill the history; the thirty-first is refused twice, and still jumps.
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(info->showTopic(i % 2 ? 302 : 101));
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(info->showTopic(305));
    EXPECT_EQ(seam.messages().size(), 3);
    EXPECT_EQ(seam.messages().back(), "GoBack stack full - Restart");
    EXPECT_EQ(text().CursorPara(), paragraphOf(51305));
}

TEST_F(InfoViewer, FindBringsTheNextOccurrenceIntoView) {
    EXPECT_TRUE(info->findNext(QStringLiteral("Frank-Starling")));
    const int first = text().CursorPara();
    EXPECT_TRUE(text().document()->findBlockByNumber(first).text().contains("Frank-Starling",
                                                                            Qt::CaseInsensitive));
    EXPECT_TRUE(info->findNext(QStringLiteral("Frank-Starling")));
    EXPECT_GE(text().CursorPara(), first);
    EXPECT_FALSE(info->findNext(QStringLiteral("zqxjv-no-such-word")));
}

TEST_F(InfoViewer, EveryLabelOfTheModelWindowAndLayoutSheetExplainsItselfFromTheShippedText) {
    // Every anchor a label can ask for exists in the shipped information file.
    QStringList missing;
    auto check = [&](const QString& label, const QString& caption) {
        const int topic = model::explainTopic(label.toStdString(), caption.toStdString());
        if (topic <= 0 || paragraphOf(51000 + topic) < 0) missing << label + ' ' + caption;
    };
    for (const model::LabelInfo& l : model::displayLabels())
        check(QString::fromLatin1(l.name.data(), l.name.size()), {});
    for (const model::Quantity& q : model::quantities())
        if (!q.layoutLabel.empty())
            check(QString::fromLatin1(q.layoutLabel.data(), q.layoutLabel.size()), {});
    for (const char* w :
         {"DEATH IMMINENT CO < 1000", "HURRY Patient in Shock!", "CONGRATULATIONS CO >25 L/min",
          "RUPTURED artery likely", "Patient Hypotensive", "Death Soon Psa < 35",
          "GASP! Ppv >25 mmHg", "Right EDV >175ml", "Left EDV > 175 ml", "No RIGHT heart output!",
          "No LEFT heart output!", "Veins COLLAPSING!", "Too much volume!", "12.3 ml collapse"})
        check(QStringLiteral("lblWarning1"), QString::fromLatin1(w));
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();

    // F1 on a focused label opens the viewer at its topic.
    click(forms::frmInfo, "cmdToMain");
    click(forms::frmMain, "cmdCVModel");
    auto* cv = forms::get<workbench::frmCVModel>(forms::frmCVModel);
    auto* label = cv->parameterLabel(QStringLiteral("lblCompSysV"));
    ASSERT_NE(label, nullptr);
    label->setFocus();
    QTest::keyClick(label, Qt::Key_F1);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(text().CursorPara(), paragraphOf(51302));
}

TEST(FigureLookup, FileNamesCaptionsAndTheOrderOfLookUp) {
    const QString p = QStringLiteral("/x/");
    EXPECT_EQ(documents::figureCandidates(7, documents::FigureSource::Info, p),
              (QStringList{"/x/Img007.GIF", "/x/Img007.JPG"}));
    EXPECT_EQ(documents::figureCandidates(10, documents::FigureSource::LabBook, p),
              (QStringList{"/x/Img010.BMP", "/x/Img010.JPG"}));
    EXPECT_EQ(documents::figureCandidates(100, documents::FigureSource::Info, p).front(),
              "/x/Img100.GIF");
    EXPECT_EQ(documents::figureCaption(999, documents::FigureSource::Info), "");
    EXPECT_EQ(documents::figureCaption(600, documents::FigureSource::Info), "No label");
    EXPECT_EQ(documents::figureCaption(642, documents::FigureSource::Info),
              " Frank-Starling 'Law of the Heart'");
    EXPECT_EQ(documents::figureCaption(2, documents::FigureSource::LabBook), "Label for image 2");
    EXPECT_EQ(documents::figureCaption(642, documents::FigureSource::LabBook), "No label");
}

TEST_F(Viewers, ShowFigurePrefersGifFromTheTextAndBmpFromTheLabBook) {
    start();
    QTemporaryDir dir;
    appState().ImagePath = dir.path() + QLatin1Char('/');
    auto picture = [&](const char* name, QColor c) {
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(c);
        // The lookup goes by name; the file's content decides how it is read.
        ASSERT_TRUE(img.save(dir.filePath(QString::fromLatin1(name)), "PNG"));
    };
    picture("Img007.gif", Qt::red);
    picture("Img007.JPG", Qt::green);
    picture("Img008.BMP", Qt::blue);
    picture("Img008.jpg", Qt::yellow);
    ASSERT_TRUE(documents::ShowFigure(7, documents::FigureSource::Info));
    auto* fig = forms::get<documents::frmImage>(forms::frmImage);
    EXPECT_TRUE(fig->isVisible());
    EXPECT_TRUE(fig->fileShown().endsWith("Img007.gif"));
    EXPECT_EQ(child<QLabel>(forms::frmImage, "lblCaption")->text(), "No label");
    ASSERT_TRUE(documents::ShowFigure(8, documents::FigureSource::LabBook));
    EXPECT_TRUE(fig->fileShown().endsWith("Img008.BMP"));
    ASSERT_TRUE(documents::ShowFigure(8, documents::FigureSource::Info));
    EXPECT_TRUE(fig->fileShown().endsWith("Img008.jpg"));
    // A figure with no file is reported and leaves the window as it was.
    EXPECT_FALSE(documents::ShowFigure(9, documents::FigureSource::Info));
    EXPECT_EQ(seam.messages().back(),
              "File: " + appState().ImagePath + "Img009 as .gif or .jpg not found.");
    EXPECT_FALSE(documents::ShowFigure(9, documents::FigureSource::LabBook));
    EXPECT_EQ(seam.messages().back(), "File: " + appState().ImagePath + "Img009 not found.");
    EXPECT_TRUE(fig->fileShown().endsWith("Img008.jpg"));
}

TEST_F(Viewers, TheHelpWindowsLoadTheirTextsAndReturn) {
    start();
    appState().HelpFile = shipped("FileHelp.rtf");
    appState().OptionsHelpFile = shipped("OptionsHelp.rtf");
    click(forms::frmMain, "cmdHelp");
    QWidget* help = forms::existing(forms::frmHelp);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    auto* helpText = help->findChild<ScrivoControl*>(QStringLiteral("scrivoHelp"));
    ASSERT_NE(helpText, nullptr);
    EXPECT_TRUE(helpText->ReadOnly());
    EXPECT_GT(helpText->TextLength(), 1000);
    click(forms::frmHelp, "cmdReturn");
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(visible(forms::frmMain));

    click(forms::frmMain, "cmdCVModel");
    forms::show(forms::frmOptions);
    click(forms::frmOptions, "cmdOptionHelp");
    QWidget* optionsHelp = forms::existing(forms::frmOptionHelp);
    ASSERT_NE(optionsHelp, nullptr);
    EXPECT_TRUE(optionsHelp->isVisible());
    EXPECT_EQ(optionsHelp->windowTitle(), "Help for using Model Options");
    auto* o = optionsHelp->findChild<ScrivoControl*>(QStringLiteral("scrivoOptionsHelp"));
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->toPlainText().contains("Iteration"));
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('\n').toStdString();
}

TEST_F(Viewers, TheConceptsDiagramIsDrawnAndReturnHidesIt) {
    start();
    click(forms::frmMain, "cmdConcepts");
    QWidget* c = forms::existing(forms::frmConcepts);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->isVisible());
    EXPECT_TRUE(visible(forms::frmMain));  // the main menu stays
    EXPECT_EQ(c->windowTitle(), "Diagram of Concepts about Cardiovascular System ");
    QWidget* diagram = c->findChild<QWidget*>(QStringLiteral("Image1"));
    ASSERT_NE(diagram, nullptr);
    // The diagram is really drawn: a good share of its pixels are not white.
    const QImage img = diagram->grab().toImage();
    int ink = 0;
    for (int y = 0; y < img.height(); y += 3)
        for (int x = 0; x < img.width(); x += 3) ink += img.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(ink, (img.width() / 3) * (img.height() / 3) / 20);
    click(forms::frmConcepts, "cmdReturn");
    EXPECT_FALSE(c->isVisible());
}
