// Table buttons on the document itself, as the display's tag event and the headless play click
// them: which cells a button reaches, in which order, what it writes, and the plot table.

#include <gtest/gtest.h>

#include <QTextDocument>

#include "labbook/TableWalk.h"
#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "tests/labbook/LabBookDocs.h"
#include "workbench/CVModelActions.h"
#include "workbench/UndoHistory.h"

using namespace vasora;
using namespace vasora::model;
using labbook::cellText;
using labbook::clickTableButton;
using test::cellOf;
using test::compileBook;
using test::tagsWithCode;

namespace {

// Notes which parameter labels are marked as changed, in order, and the steps run by then.
class OrderView final : public RecordingView {
  public:
    void setBackColor(Window w, std::string_view control, Rgb c) override {
        RecordingView::setBackColor(w, control, c);
        if (w == Window::CVModel && c == state().ColorChanged) {
            marked.emplace_back(control);
            stepsAtMark.push_back(state().StepCount);
        }
    }
    std::vector<std::string> marked;
    std::vector<int> stepsAtMark;
};

class Walk : public ::testing::Test {
  protected:
    void SetUp() override {
        resetState();
        setView(&view);
        workbench::loadModelWindow();
    }
    void TearDown() override { setView(nullptr); }
    QString caption(std::string_view label) {
        return QString::fromStdString(view.caption(Window::CVModel, label));
    }
    documents::TagSpan button(const QTextDocument& doc, int code, std::size_t nth = 0) {
        return tagsWithCode(doc, code).at(nth);
    }
    OrderView view;
};

}  // namespace

TEST(CellText, TrimmedCutToSixAndPaddedToSeven) {
    EXPECT_EQ(cellText("  93.7 "), "93.7   ");
    EXPECT_EQ(cellText("93.7"), "93.7   ");
    EXPECT_EQ(cellText(" 12345678"), "123456 ");
    EXPECT_EQ(cellText("5500."), "5500.  ");
    EXPECT_EQ(cellText(""), "       ");
    EXPECT_EQ(cellText("     "), "       ");
}

TEST_F(Walk, AnOutputTableGetsTheModelWindowsCaptionsAndTheRestIsUntouched) {
    auto doc = compileBook(test::courseSource());
    const QString before = doc->toPlainText();
    const labbook::TableClick c = clickTableButton(*doc, button(*doc, 41000));
    EXPECT_EQ(c.table, 1);
    EXPECT_EQ(c.name, "Table 1");
    EXPECT_EQ(c.outputs, 3);
    EXPECT_EQ(c.inputs, 0);
    EXPECT_EQ(cellOf(*doc, 21011), cellText(caption("lblPressSysA")));
    EXPECT_EQ(cellOf(*doc, 21052), cellText(caption("lblFlowLeftV")));
    EXPECT_EQ(cellOf(*doc, 21053), cellText(caption("lblEDV_LV")));
    EXPECT_EQ(cellOf(*doc, 21011).size(), 7);
    // Bottom to top.
    ASSERT_EQ(c.cells.size(), 3u);
    EXPECT_EQ(c.cells[0].code, 21053);
    EXPECT_EQ(c.cells[2].code, 21011);
    // Nothing outside the cells changed, and the cells keep their codes.
    EXPECT_EQ(tagsWithCode(*doc, 21011).size(), 1u);
    EXPECT_EQ(doc->toPlainText().size(), before.size());
    EXPECT_EQ(cellOf(*doc, 22011), "       ");
    EXPECT_EQ(cellOf(*doc, 32015), "  200  ");
}

TEST_F(Walk, AButtonReachesOnlyItsOwnTableAndStopsAtTheNearestStartMarker) {
    auto doc =
        compileBook(QStringLiteral("[[10000|Outer]]\n"
                                   "| [[23011|  old  ]] | [[24011|  old  ]] |\n"
                                   "[[10000|Inner]]\n"
                                   "| [[23052|  old  ]] | [[24052|  old  ]] | [[23011|  old  ]] |\n"
                                   "[[43000|Fill table 3]]\n"));
    const labbook::TableClick c = clickTableButton(*doc, button(*doc, 43000));
    EXPECT_EQ(c.name, "Inner");
    EXPECT_EQ(c.outputs, 2);
    EXPECT_EQ(cellOf(*doc, 23052), cellText(caption("lblFlowLeftV")));
    EXPECT_EQ(cellOf(*doc, 23011, 1), cellText(caption("lblPressSysA")));
    // Table 4 between them, and table 3 above the marker, stay as they were.
    EXPECT_EQ(cellOf(*doc, 24052), "  old  ");
    EXPECT_EQ(cellOf(*doc, 23011, 0), "  old  ");
    EXPECT_EQ(cellOf(*doc, 24011), "  old  ");
}

TEST_F(Walk, AnInputTableIsAppliedBottomToTopWithOneRunPerCell) {
    auto doc = compileBook(test::courseSource());
    const int steps = state().StepCount;
    const labbook::TableClick c = clickTableButton(*doc, button(*doc, 42000, 0));
    EXPECT_EQ(c.name, "Table 2a");
    EXPECT_EQ(c.inputs, 2);
    // The resistance, in the last row, is applied and run first.
    EXPECT_EQ(view.marked, (std::vector<std::string>{"lblResisSysA", "lblCompSysA"}));
    EXPECT_EQ(view.stepsAtMark, (std::vector<int>{steps, steps + 100}));
    EXPECT_EQ(state().StepCount, steps + 200);
    EXPECT_DOUBLE_EQ(state().Resis[SysA], 2 * state().Resis_N[SysA]);
    // Each cell reminds the learner to run on to equilibrium.
    EXPECT_EQ(view.messages.size(), 2u);
    // The cells keep the learner's text.
    EXPECT_EQ(cellOf(*doc, 32015), "  200  ");
    // The second button of table 2 walks to its own marker and fills the results.
    const labbook::TableClick results = clickTableButton(*doc, button(*doc, 42000, 1));
    EXPECT_EQ(results.name, "Table 2b");
    EXPECT_EQ(results.inputs, 0);
    EXPECT_EQ(results.outputs, 2);
    EXPECT_EQ(cellOf(*doc, 22011), cellText(caption("lblPressSysA")));
}

TEST_F(Walk, OneClickOfAnInputTableIsOneStepForUndo) {
    auto doc = compileBook(test::courseSource());
    workbench::forgetUndo();
    const double resis = state().Resis[SysA], comp = state().Comp[SysA];
    const double time = state().ModelTime;
    clickTableButton(*doc, button(*doc, 42000, 0));
    EXPECT_EQ(workbench::undoSteps(), 1u);  // two cells, one click
    ASSERT_TRUE(workbench::undoLastChange());
    EXPECT_EQ(state().Resis[SysA], resis);
    EXPECT_EQ(state().Comp[SysA], comp);
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_FALSE(workbench::canUndo());
}

TEST_F(Walk, CellsTheTableDoesNotHaveAreReportedAndTheWalkGoesOn) {
    auto doc =
        compileBook(QStringLiteral("[[10000|T]]\n| [[25011|  x  ]] | [[25071|  x  ]] | "
                                   "[[35099|  5  ]] |\n[[45000|Go]]\n"));
    clickTableButton(*doc, button(*doc, 45000));
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Case on column in Put_It",
                                                       "Case on row error (R:7) in C1 in Get_It"}));
    // An error cell is written as blanks; the good one gets its value.
    EXPECT_EQ(cellOf(*doc, 25071), "       ");
    EXPECT_EQ(cellOf(*doc, 25011), cellText(caption("lblPressSysA")));
}

namespace {
QString box(RecordingView& v, char axis, int i) {
    return QString::fromStdString(
        v.caption(Window::Plot, std::string("txt") + axis + "(" + std::to_string(i) + ")"));
}
}  // namespace

TEST_F(Walk, ThePlotTableLoadsElevenRowsIntoTheChartWindowTheLastRowAtIndexTen) {
    auto doc = compileBook(test::plotSource(11, true));
    const labbook::TableClick c = clickTableButton(*doc, button(*doc, 48000));
    EXPECT_TRUE(c.plot());
    EXPECT_EQ(c.name, "Heart rate curve");
    EXPECT_EQ(c.plotCells, 33);
    EXPECT_TRUE(view.messages.empty());
    for (int i = 0; i <= 10; ++i) {
        SCOPED_TRACE(i);
        // The heart rate is the row's input cell, kept as it stands; the outputs as filled.
        EXPECT_EQ(box(view, 'X', i), QStringLiteral("  %1  ").arg(30 + 20 * i));
        EXPECT_EQ(box(view, 'Y', i), QString::number(1000 + i));
        EXPECT_EQ(box(view, 'Z', i), QString::number(50 + i));
    }
    // Nothing was applied: the plot button only reads the table.
    EXPECT_TRUE(view.marked.empty());
}

TEST_F(Walk, ATwelfthRowOfThePlotTableIsALayoutErrorAndTheRowsBelowItStay) {
    auto doc = compileBook(test::plotSource(12, true));
    const labbook::TableClick c = clickTableButton(*doc, button(*doc, 48000));
    EXPECT_EQ(view.messages, std::vector<std::string>{"Plot layout error"});
    EXPECT_EQ(c.plotCells, 33);
    EXPECT_EQ(box(view, 'X', 0), QStringLiteral("  50  "));    // the second row
    EXPECT_EQ(box(view, 'X', 10), QStringLiteral("  250  "));  // the last
    // Cells not yet filled are plotted as 0.
    auto empty = compileBook(test::plotSource(3, false));
    clickTableButton(*empty, button(*empty, 48000));
    EXPECT_EQ(box(view, 'Y', 10), "0");
    EXPECT_EQ(box(view, 'X', 8), QStringLiteral("  30  "));
}

TEST_F(Walk, APlotRowsButtonsApplyItsHeartRateAndRecordItsOutputs) {
    auto doc = compileBook(test::plotSource(2, false));
    // The second row: 50 beats/min applied, then its cardiac output and stroke volume.
    clickTableButton(*doc, button(*doc, 46000, 1));
    EXPECT_EQ(view.marked, std::vector<std::string>{"lblHR_RV"});
    EXPECT_EQ(state().HrtRate, 50);
    const labbook::TableClick rec = clickTableButton(*doc, button(*doc, 47000, 1));
    EXPECT_EQ(rec.outputs, 2);
    EXPECT_EQ(cellOf(*doc, 27052, 1), cellText(caption("lblFlowLeftV")));
    EXPECT_EQ(cellOf(*doc, 27121, 1), cellText(caption("lblSV_LV")));
    // The first row is not reached.
    EXPECT_EQ(cellOf(*doc, 27052, 0), "       ");
}
