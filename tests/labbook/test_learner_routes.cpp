// The shipped books reached as a learner reaches them: every route of the main menu into the
// lab book, its links into the information text, the look of its links after typing, reflow,
// saving and reopening, and the commands of its tags (restart, the plot of the heart-rate curve).

#include <QCheckBox>
#include <QTextBlock>
#include <QTextCursor>

#include "core/TagCodes.h"
#include "documents/frmInfo.h"
#include "model/Vasora_Model_coding.h"
#include "tests/labbook/ShippedBook.h"
#include "workbench/frmPlot.h"

using namespace vasora;
using documents::TagSpan;

namespace {

bool isLink(int code) {
    return code / 1000 == 51;
}

class LearnerRoutes : public ShippedBook {
  protected:
    documents::frmInfo* info() { return forms::existing<documents::frmInfo>(forms::frmInfo); }
    // Follows the first link of the lab book: the information text must show its anchor.
    void followFirstLink() {
        TagSpan link;
        for (const TagSpan& t : documents::allTags(doc()))
            if (isLink(t.code)) {
                link = t;
                break;
            }
        ASSERT_TRUE(link.valid());
        seam.shown.clear();
        clickTag(link);
        EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('\n').toStdString();
        ASSERT_NE(info(), nullptr);
        EXPECT_TRUE(info()->isVisible());
        EXPECT_GT(info()->findChild<documents::ScrivoControl*>("scrivoInfo")->TextLength(), 10000);
    }
    // The underlined looks drawn over the text in view, as spans.
    std::vector<std::pair<int, int>> underlined() {
        QApplication::processEvents();
        std::vector<std::pair<int, int>> out;
        for (const QTextEdit::ExtraSelection& s : text().extraSelections())
            if (s.format.fontUnderline() ||
                s.format.underlineStyle() != QTextCharFormat::NoUnderline)
                out.emplace_back(s.cursor.selectionStart(), s.cursor.selectionEnd());
        return out;
    }
    // Every link in view is underlined on exactly its own words, and nothing else is.
    void expectLinksLookLikeLinks(const char* when) {
        SCOPED_TRACE(when);
        std::vector<TagSpan> links;
        for (const TagSpan& t : documents::allTags(doc()))
            if (isLink(t.code) || t.code / 1000 == 53) links.push_back(t);
        ASSERT_GT(links.size(), 20u);
        // First those in view as the learner left it, then others scrolled to.
        std::vector<TagSpan> inView;
        const QRect view = text().viewport()->rect();
        for (const TagSpan& l : links)
            if (view.contains(test::characterPoint(text(), now(l).start))) inView.push_back(l);
        for (std::size_t i = 0; i < links.size(); i += 7) inView.push_back(links[i]);
        bool scrolled = false;
        for (const TagSpan& link : inView) {
            const TagSpan t = now(link);
            if (!view.contains(test::characterPoint(text(), t.start))) {
                test::pointInView(text(), t.start);
                scrolled = true;
            }
            const auto looks = underlined();
            EXPECT_NE(std::find(looks.begin(), looks.end(), std::make_pair(t.start, t.end())),
                      looks.end())
                << "link \"" << tagText(t).toStdString() << "\" is not drawn as a link";
            for (const auto& [from, to] : looks) {
                const TagSpan under = documents::tagAt(doc(), from);
                EXPECT_TRUE(under.valid() && under.start == from && under.end() == to)
                    << "a look over " << from << ".." << to << " belongs to no link";
            }
        }
        EXPECT_TRUE(scrolled);
    }
};

}  // namespace

// Main menu -> Lab Book -> Explore; -> Save New File; -> Retrieve File; File Help -> Explore;
// Information and Help -> Return -> Explore. Each in a new run of the program, each then
// follows a link of the book into the information text, whose file the lab book user window
// names "finalNT.rtf" and the folder holds as "FinalNT.rtf".
TEST_F(LearnerRoutes, EveryRouteOfTheMainMenuLeadsToABookWhoseLinksWork) {
    newBook("earlier");
    const QString earlier = appState().LabBookFile;
    const std::vector<std::pair<const char*, std::function<void()>>> routes = {
        {"Lab Book, Explore",
         [&] {
             click(forms::frmMain, "cmdLabBook");
             click(forms::frmLBUser, "cmdExplore");
         }},
        {"Lab Book, Save New File", [&] { newBook("second"); }},
        {"Lab Book, Retrieve File",
         [&] {
             click(forms::frmMain, "cmdLabBook");
             seam.paths.push_back(earlier);
             click(forms::frmLBUser, "cmdRetrieveFile");
         }},
        {"File Help, Explore",
         [&] {
             click(forms::frmMain, "cmdHelp");
             click(forms::frmLBUser, "cmdExplore");
         }},
        {"Information, Return, Explore",
         [&] {
             click(forms::frmMain, "cmdInfo");
             click(forms::frmInfo, "cmdReturn");
             click(forms::frmLBUser, "cmdExplore");
         }},
    };
    for (const auto& [name, route] : routes) {
        SCOPED_TRACE(name);
        restart();
        fixProjectPaths(project);
        seam.shown.clear();
        route();
        ASSERT_NE(display(), nullptr);
        ASSERT_EQ(appState().LabBookState, 2);
        EXPECT_TRUE(display()->isVisible());
        followFirstLink();
    }
}

TEST_F(LearnerRoutes, LinksLookLikeLinksAfterTypingReflowSavingAndReopening) {
    newBook("links");
    expectLinksLookLikeLinks("as opened");
    // Typing in the first answer, above every link, moves them all on.
    const TagSpan answer = tags(61000).at(0);
    clickAt(answer.start + 1);
    type(QStringLiteral("A. Learner, 9 December"));
    expectLinksLookLikeLinks("after typing");
    click(forms::frmDisplay, "cmdSHContents");
    display()->resize(display()->width() + 300, display()->height());
    expectLinksLookLikeLinks("after the text flowed anew");
    // Saved by its tag, then opened again in the next run of the program.
    seam.shown.clear();
    clickTag(tags(54000).at(0));
    ASSERT_TRUE(seam.messages().isEmpty()) << seam.messages().join('\n').toStdString();
    const QString file = appState().LabBookFile;
    restart();
    fixProjectPaths(project);
    click(forms::frmMain, "cmdLabBook");
    seam.paths.push_back(file);
    click(forms::frmLBUser, "cmdRetrieveFile");
    ASSERT_EQ(appState().LabBookState, 2);
    EXPECT_TRUE(doc().toPlainText().contains("A. Learner, 9 December"));
    expectLinksLookLikeLinks("after saving and reopening");
}

TEST_F(LearnerRoutes, TheRestartTagLeavesTheModelWindowAsItsRestartDoes) {
    newBook("restart");
    auto* autoRun = child<QCheckBox>(forms::frmCVModel, "chkAutoRun");
    ASSERT_NE(autoRun, nullptr);
    QTest::mouseClick(autoRun, Qt::LeftButton, {}, QPoint(8, autoRun->height() / 2));
    ASSERT_TRUE(autoRun->isChecked());
    ASSERT_EQ(model::state().AutoRunOn, 1);
    clickTag(tags(70000).at(0));
    EXPECT_EQ(model::state().AutoRunOn, 0);
    EXPECT_FALSE(autoRun->isChecked());
}

// Experiment 7: each row applies a heart rate and records what follows; "Plot the curve" draws it.
TEST_F(LearnerRoutes, ThePlotTableDrawsItsCurveAndItsCellsShowOnlyTheirValues) {
    newBook("curve");
    click(forms::frmCVModel, "chkAutoRun");
    const auto applies = tags(46000), records = tags(47000);
    ASSERT_EQ(applies.size(), records.size());
    ASSERT_GE(applies.size(), 5u);
    for (std::size_t i = 0; i < applies.size(); ++i) {
        clickTag(now(applies[i]));
        clickTag(now(records[i]));
    }
    clickTag(tags(48000).at(0));
    auto* plot = forms::existing<workbench::frmPlot>(forms::frmPlot);
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->isVisible());
    const QList<QPointF> points = plot->points();
    ASSERT_EQ(points.size(), 11);
    // The curve holds what the table holds: the rates, and the outputs in L/min.
    const int from = tags(80000).at(0).start, to = tags(48000).at(0).start;
    std::vector<TagSpan> outputs;
    for (const TagSpan& t : tags(27052))
        if (t.start > from && t.start < to) outputs.push_back(t);
    ASSERT_EQ(outputs.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(points[i].x(), tagText(now(tags(36135).at(std::size_t(i)))).trimmed().toDouble());
        const QString co = tagText(outputs[std::size_t(i)]).trimmed();
        EXPECT_GT(co.toDouble(), 1000) << co.toStdString();
        EXPECT_NEAR(points[i].y(), co.toDouble() / 100, 1e-9);
    }
    // A cardiac output cell shows its value and nothing before it.
    QTextCursor c(&doc());
    c.setPosition(outputs.back().start);
    const QString cellLine = c.block().text();
    EXPECT_FALSE(cellLine.contains(QChar(0x00B7))) << cellLine.toStdString();
}
