// The whole course as a learner works through it, in the real windows: a new lab book from the
// shipped template; the name, every prediction and every answer typed key by key, full stops,
// minus signs, commas and brackets included; every restart tag and table button clicked with
// the mouse, top to bottom, with AutoRun ticked on the model window after each restart as the
// book asks; separate heart rates ticked and unticked in Options where Experiment 8 asks, and
// the baroreceptor reflex and its effectors where Experiment 10 asks; the
// plot drawn; the book saved by its tag; the program quit from the main menu, started again, and
// the book opened again. Every field and every table must then hold what was typed and what the
// model window showed.

#include <QCheckBox>
#include <QTimer>

#include "core/TagCodes.h"
#include "labbook/CV_Tags.h"
#include "labbook/LabBookPlay.h"
#include "labbook/TableWalk.h"
#include "model/Vasora_Model_coding.h"
#include "tests/labbook/ShippedBook.h"
#include "workbench/frmPlot.h"

using namespace vasora;
using documents::TagSpan;

namespace {

int kindOf(int code) {
    return code / 10000;
}

class LearnerCourse : public ShippedBook {
  protected:
    void tickAutoRun() {
        auto* box = child<QCheckBox>(forms::frmCVModel, "chkAutoRun");
        ASSERT_NE(box, nullptr);
        if (!box->isChecked())
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        ASSERT_TRUE(box->isChecked());
    }
    void separateHeartRates(bool on) {
        click(forms::frmCVModel, "cmdOptions");
        auto* box = child<QCheckBox>(forms::frmOptions, "chkAV_Block");
        ASSERT_NE(box, nullptr);
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        ASSERT_EQ(box->isChecked(), on);
        click(forms::frmOptions, "cmdReturn");
    }
    // The reflex's boxes clicked as a learner does: the effectors can be changed only while the
    // reflex is ticked, so it is ticked first and, for a reflex switched off, unticked last.
    void reflexAsTheBookSays(int code) {
        model::ReflexOptions want;
        ASSERT_TRUE(labbook::reflexDirective(code, want));
        click(forms::frmCVModel, "cmdOptions");
        auto setBox = [this](const char* name, bool on) {
            auto* box = child<QCheckBox>(forms::frmOptions, name);
            ASSERT_NE(box, nullptr);
            ASSERT_TRUE(box->isEnabled()) << name;
            if (box->isChecked() != on)
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            ASSERT_EQ(box->isChecked(), on) << name;
        };
        setBox("chkReflex", true);
        static constexpr const char* kEffectors[] = {"chkReflexHR", "chkReflexEmax",
                                                     "chkReflexResis", "chkReflexVenous"};
        for (std::size_t e = 0; e < want.effector.size(); ++e)
            setBox(kEffectors[e], want.effector[e]);
        if (!want.on) setBox("chkReflex", false);
        click(forms::frmOptions, "cmdReturn");
        EXPECT_EQ(model::state().Reflex.options, want) << "directive " << code;
    }
    // The text of every output cell of table `table` between its start marker and `button` is
    // what the model window's label for it shows now.
    void expectTableShowsTheModel(const TagSpan& button) {
        const int table = (button.code / 1000) % 10;
        for (TagSpan t = documents::findTag(doc(), button.start, -1, true, 0); t.valid();
             t = documents::findTag(doc(), t.start, -1, true, 0)) {
            if (kindOf(t.code) == labbook::kTagTableStart) break;
            if (kindOf(t.code) != labbook::kTagOutputCell || (t.code / 1000) % 10 != table)
                continue;
            const labbook::OutputCell c = labbook::outputCell((t.code / 10) % 100, t.code % 10);
            const QString shown = c.kind == labbook::OutputCell::Label
                                      ? caption(std::string(c.label).c_str())
                                      : QString();
            EXPECT_EQ(tagText(t), labbook::cellText(shown)) << "cell " << t.code;
        }
    }
};

}  // namespace

TEST_F(LearnerCourse, TheWholeTemplateWorkedThroughIsThereAfterQuittingAndStartingAgain) {
    newBook("course");
    const QString file = appState().LabBookFile;
    int answers = 0, buttons = 0, restarts = 0, reflexSteps = 0;
    bool plotted = false;
    // The tags are taken again after every step: typing moves everything after it on.
    for (std::size_t i = 0; i < documents::allTags(doc()).size(); ++i) {
        const TagSpan t = documents::allTags(doc())[i];
        if (t.code == 61000) {
            clickAt(t.start + 1);
            // Key by key, with the punctuation of a learner's answer.
            type(QStringLiteral("Answer %1: 93.7 mmHg, -5.2 (about 10%); [check] \"ok\".")
                     .arg(++answers));
            EXPECT_TRUE(tagText(now(t)).contains(QStringLiteral("Answer %1:").arg(answers)))
                << "answer " << answers << " went elsewhere";
        } else if (t.code == 1 || t.code == 2) {
            separateHeartRates(t.code == 1);
        } else if (model::ReflexOptions o; labbook::reflexDirective(t.code, o)) {
            reflexAsTheBookSays(t.code);
            ++reflexSteps;
        } else if (kindOf(t.code) == labbook::kTagRestart) {
            clickTag(t);
            tickAutoRun();
            ++restarts;
        } else if (kindOf(t.code) == labbook::kTagTableButton) {
            seam.shown.clear();
            clickTag(t);
            ++buttons;
            EXPECT_TRUE(seam.messages().isEmpty())
                << tagText(t).toStdString() << ": " << seam.messages().join('\n').toStdString();
            if (t.code == 48000) {
                plotted = true;
                auto* plot = forms::existing<workbench::frmPlot>(forms::frmPlot);
                ASSERT_NE(plot, nullptr);
                EXPECT_TRUE(plot->isVisible());
                EXPECT_EQ(plot->points().size(), 11);
            } else {
                SCOPED_TRACE(tagText(t).toStdString());
                expectTableShowsTheModel(documents::allTags(doc())[i]);
            }
        }
    }
    EXPECT_GE(answers, 30);
    EXPECT_GE(buttons, 60);
    EXPECT_GE(restarts, 9);
    // Experiment 10: the reflex with all four effectors, with each alone, and off again.
    EXPECT_EQ(reflexSteps, 6);
    EXPECT_FALSE(model::state().Reflex.options.on);
    EXPECT_TRUE(plotted);
    // What the book holds now, tag by tag.
    std::vector<std::pair<int, QString>> worked;
    for (const TagSpan& t : documents::allTags(doc())) worked.emplace_back(t.code, tagText(t));

    // Saved by the book's own save tag at its end, then quit from the main menu.
    seam.shown.clear();
    clickTag(tags(54000).back());
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('\n').toStdString();
    EXPECT_FALSE(display()->changedSinceSaved());
    QTimer::singleShot(0, [this] { click(forms::frmLBSave, "cmdSaveLBFile"); });
    click(forms::frmMain, "cmdExit");
    EXPECT_EQ(quits, 1);

    // The next run of the program: the book opened again holds every answer and every value.
    restart();
    fixProjectPaths(project);
    click(forms::frmMain, "cmdLabBook");
    seam.paths.push_back(file);
    click(forms::frmLBUser, "cmdRetrieveFile");
    ASSERT_EQ(appState().LabBookState, 2);
    std::vector<std::pair<int, QString>> reopened;
    for (const TagSpan& t : documents::allTags(doc())) reopened.emplace_back(t.code, tagText(t));
    ASSERT_EQ(reopened.size(), worked.size());
    for (std::size_t i = 0; i < worked.size(); ++i) {
        EXPECT_EQ(reopened[i].first, worked[i].first) << "tag " << i;
        EXPECT_EQ(reopened[i].second, worked[i].second)
            << "tag " << i << " code " << worked[i].first;
    }
    EXPECT_TRUE(doc().toPlainText().contains(
        QStringLiteral("Answer %1: 93.7 mmHg, -5.2 (about 10%); [check] \"ok\".").arg(answers)));
}
