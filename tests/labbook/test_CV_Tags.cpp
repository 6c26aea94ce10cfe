// The lab book's exchange of values with the model, without windows: both tables cell by cell,
// every error and empty cell with its message, the lab book's own rules for changes, and the
// refusals of values that cannot be applied.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "labbook/CV_Tags.h"
#include "model/Derived.h"
#include "model/Quantities.h"
#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "options/RunOptions.h"
#include "workbench/CVModelActions.h"

using namespace vasora;
using namespace vasora::model;
using labbook::Get_It;
using labbook::LoadPlotCell;
using labbook::Put_It;

namespace {

// A view that also notes the model state when a label is marked as changed, which Put_It does
// just before it runs the model.
class ExchangeView final : public RecordingView {
  public:
    void setBackColor(Window w, std::string_view control, Rgb c) override {
        RecordingView::setBackColor(w, control, c);
        if (w == Window::CVModel && c == state().ColorChanged) {
            marked.emplace_back(control);
            atMark = state();
        }
    }
    std::vector<std::string> marked;
    ModelState atMark;
};

class Exchange : public ::testing::Test {
  protected:
    void SetUp() override {
        resetState();
        setView(&view);
        workbench::loadModelWindow();
        view.messages.clear();
        view.messageTitles.clear();
    }
    void TearDown() override { setView(nullptr); }
    static ModelState& s() { return state(); }
    std::string caption(std::string_view label) { return view.caption(Window::CVModel, label); }

    ExchangeView view;
};

constexpr const char* E = nullptr;  // the table has no such cell: a row error
constexpr const char* kEmptyCell = "";

// The output table of the lab book, rows 0 to 17 by columns 1 to 5, as the course's tables are
// laid out: row 5 is the left ventricle and row 6 the pulmonary veins.
// clang-format off
const char* const kOutputTable[18][5] = {
    /* 0 */ {E, E, E, E, E},
    /* 1 */ {"lblPressSysA", "lblFlowSysA", "lblVstrsSysA", "lblCompSysA", "lblResisSysA"},
    /* 2 */ {"lblPressSysV", "lblFlowSysV", "lblVstrsSysV", "lblCompSysV", "lblResisSysV"},
    /* 3 */ {"lblPressRghtV", "lblFlowRghtV", "lblEDV_RV", "lblCompRghtV", E},
    /* 4 */ {"lblPressPulmA", "lblFlowPulmA", "lblVstrsPulmA", "lblCompPulmA", "lblResisPulmA"},
    /* 5 */ {"lblPressLeftV", "lblFlowLeftV", "lblEDV_LV", "lblCompLeftV", E},
    /* 6 */ {"lblPressPulmV", "lblFlowPulmV", "lblVstrsPulmV", "lblCompPulmV", "lblResisPulmV"},
    /* 7 */ {E, E, E, E, E},
    /* 8 */ {E, E, E, E, E},
    /* 9 */ {E, E, E, E, E},
    /* 10 */ {"lblSystP", "lblDiasP", E, E, E},
    /* 11 */ {"lblSV_RV", "lblESV_RV", "lblEDV_RV", "lblEjectF_RV", "lblEmax_RV"},
    /* 12 */ {"lblSV_LV", "lblESV_LV", "lblEDV_LV", "lblEjectF_LV", "lblEmax_LV"},
    /* 13 */ {E, "lblK2_RV", E, "lblK2_RV", "lblHR_RV"},
    /* 14 */ {"lblVolError", "lblK2_LV", E, "lblK2_LV", "lblHR_LV"},
    /* 15 */ {"lblVstrsTotal", kEmptyCell, "lblVunstrsTotal", E, "lblVtotalBody"},
    /* 16 */ {"lblPra", kEmptyCell, "lblPla", E, "lblPit"},
    /* 17 */ {"lblPmcf", E, E, E, "lblVo_LV"},
};
// clang-format on

int outputCode(int table, int row, int column) {
    return 20000 + table * 1000 + row * 10 + column;
}

}  // namespace

TEST_F(Exchange, EveryOutputCellGivesTheCaptionOfItsLabelOrItsMessage) {
    for (int row : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 42, 99}) {
        for (int column = 0; column <= 9; ++column) {
            SCOPED_TRACE("row " + std::to_string(row) + ", column " + std::to_string(column));
            view.messages.clear();
            const std::string got = Get_It(outputCode(3, row, column));
            if (column < 1 || column > 5) {
                EXPECT_EQ(got, "");
                EXPECT_EQ(view.messages, std::vector<std::string>{"Case on column in Get_It"});
                continue;
            }
            const char* label = row <= 17 ? kOutputTable[row][column - 1] : E;
            if (label == E) {
                EXPECT_EQ(got, "");
                EXPECT_EQ(view.messages, std::vector<std::string>{
                                             "Case on row error (R:" + std::to_string(row) +
                                             ") in C" + std::to_string(column) + " in Get_It"});
            } else if (*label == 0) {
                EXPECT_EQ(got, "");
                EXPECT_TRUE(view.messages.empty());
            } else {
                // A label of the one table of quantities, shown on the model window.
                ASSERT_NE(quantityByLabel(label), nullptr) << label;
                EXPECT_FALSE(caption(label).empty()) << label;
                EXPECT_EQ(got, caption(label));
                EXPECT_TRUE(view.messages.empty());
            }
        }
    }
}

TEST_F(Exchange, RowsFiveAndSixAreTheLeftVentricleAndThePulmonaryVeins) {
    EXPECT_EQ(Get_It(21051), caption("lblPressLeftV"));
    EXPECT_EQ(Get_It(21061), caption("lblPressPulmV"));
    EXPECT_NE(Get_It(21051), Get_It(21061));
    EXPECT_NE(Get_It(21053), Get_It(21063));
    EXPECT_EQ(Get_It(21033), Get_It(21113));  // both the right ventricle's EDV
    EXPECT_EQ(Get_It(21053), Get_It(21123));  // both the left ventricle's EDV
    // An input cell of row 5 changes the left ventricle, and its output cell shows it.
    Put_It(31054, "50");
    EXPECT_EQ(view.marked, std::vector<std::string>{"lblCompLeftV"});
    EXPECT_DOUBLE_EQ(s().Comp[LeftV], 0.5 * s().Comp_N[LeftV]);
    EXPECT_EQ(s().Comp[PulmV], s().Comp_N[PulmV]);
    EXPECT_EQ(Get_It(21054), caption("lblCompLeftV"));
    EXPECT_NE(Get_It(21054), Get_It(21064));
}

TEST_F(Exchange, AnOutputCellCopiesWhatTheModelWindowShowsInPercentToo) {
    workbench::clickPercent();
    EXPECT_EQ(Get_It(20011), caption("lblPressSysA"));
    EXPECT_NE(caption("lblPressSysA").find("100"), std::string::npos);
}

TEST_F(Exchange, WrongCodesAreReportedAndGiveNothing) {
    EXPECT_EQ(Get_It(31011), "");
    EXPECT_EQ(view.messages, std::vector<std::string>{"Tag error in Get_It: 31011"});
    view.messages.clear();
    EXPECT_EQ(Get_It(100000), "");
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Try again; Split tag error: 100000",
                                                       "Tag error in Get_It: 100000"}));
    view.messages.clear();
    Put_It(21011, "50");
    EXPECT_EQ(view.messages, std::vector<std::string>{"Tag error in Put_It: 21011"});
    view.messages.clear();
    Put_It(-1, "50");
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Try again; Split tag error: -1",
                                                       "Tag error in Put_It: -1"}));
    EXPECT_TRUE(view.marked.empty());
}

namespace {

struct InputCase {
    int code;
    const char* text;
    const char* label;  ///< the label marked
    std::function<void(const ModelState&)> check;
};

}  // namespace

TEST_F(Exchange, EveryInputCellAppliesItsChangeMarksItsLabelAndRunsOnce) {
    const ModelState n = s();  // the normal reference is stored after the first run
    auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-12 * std::fabs(b); };
    const std::vector<InputCase> cases = {
        {30014, "50", "lblCompSysA",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Comp[SysA], 0.5 * n.Comp_N[SysA])); }},
        {30024, "150", "lblCompSysV",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Comp[SysV], 1.5 * n.Comp_N[SysV])); }},
        {30034, "80", "lblCompRghtV",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Comp[RghtV], 0.8 * n.Comp_N[RghtV])); }},
        {30044, "120", "lblCompPulmA",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Comp[PulmA], 1.2 * n.Comp_N[PulmA])); }},
        {30054, "70", "lblCompLeftV",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Comp[LeftV], 0.7 * n.Comp_N[LeftV])); }},
        {30064, "90", "lblCompPulmV",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Comp[PulmV], 0.9 * n.Comp_N[PulmV])); }},
        {30015, "200", "lblResisSysA",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Resis[SysA], 2 * n.Resis_N[SysA])); }},
        {30025, "60", "lblResisSysV",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Resis[SysV], 0.6 * n.Resis_N[SysV])); }},
        {30045, "300", "lblResisPulmA",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Resis[PulmA], 3 * n.Resis_N[PulmA])); }},
        {30065, "250", "lblResisPulmV",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Resis[PulmV], 2.5 * n.Resis_N[PulmV])); }},
        {30115, "150", "lblEmax_RV",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Emax_RV, 1.5 * n.Emax_RV_N)); }},
        {30125, "30", "lblEmax_LV",
         [&](const ModelState& m) { EXPECT_TRUE(near(m.Emax_LV, 0.3 * n.Emax_LV_N)); }},
        {30135, " 90 ", "lblHR_RV", [&](const ModelState& m) { EXPECT_EQ(m.HrtRate, 90); }},
        {30155, "500", "lblVtotalBody",
         [&](const ModelState& m) {
             // A transfusion of 500 ml at 500 ml/min, started even while another runs.
             EXPECT_EQ(m.VolChangeTarget, 500);
             EXPECT_EQ(m.VolChangeRate, 500);
             EXPECT_EQ(m.VolChangeKind, 1);
         }},
        {30153, "-2000", "lblVunstrsTotal",
         [&](const ModelState& m) {
             EXPECT_EQ(m.VunstrsChangeTarget, -2000);
             EXPECT_EQ(m.VunstrsChangeRate, 1000);  // half as fast beyond 999 ml
             EXPECT_EQ(m.VolChangeKind, 0);
         }},
        {30153, "500", "lblVunstrsTotal",
         [&](const ModelState& m) { EXPECT_EQ(m.VunstrsChangeRate, -500); }},
        {30165, "-8", "lblPit", [&](const ModelState& m) { EXPECT_EQ(m.Pit, -8); }},
        // No limits: the model window's dialog would refuse an intrathoracic pressure of +20.
        {30165, "20", "lblPit", [&](const ModelState& m) { EXPECT_EQ(m.Pit, 20); }},
        {30175, "2.5", "lblVo_LV", [&](const ModelState& m) { EXPECT_EQ(m.Vo_LV, 2.5); }},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + c.text);
        SetUp();
        const int steps = s().StepCount;
        Put_It(c.code, c.text);
        ASSERT_EQ(view.marked, std::vector<std::string>{c.label});
        c.check(view.atMark);
        EXPECT_EQ(view.look(Window::Layout, c.label).back, s().ColorChanged);
        // One run of one display interval, then the reminder to run on.
        EXPECT_EQ(s().StepCount, steps + 100);
        EXPECT_TRUE(view.visible(Window::CVModel));
        EXPECT_TRUE(view.visible(Window::PlotData));
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.messageTitles[0], "  Warning:  Run until equilibrium!");
        EXPECT_EQ(view.messages[0],
                  "Please click RUN MODEL or AutoRun\r\n   until flows from compartments are "
                  "equal.\r\n   Click OK to continue.  ");
        EXPECT_EQ(view.focused, "cmdRun");
        EXPECT_EQ(caption("cmdPercent"), " Show % Normal");
        EXPECT_EQ(s().ShowUnits, 1);
        view.marked.clear();
    }
}

TEST_F(Exchange, PercentCellsTakePercentOfNormalNotOfTheCurrentValue) {
    Put_It(30015, "200");
    Put_It(30015, "200");
    EXPECT_DOUBLE_EQ(s().Resis[SysA], 2 * s().Resis_N[SysA]);
    Put_It(30015, "100");
    EXPECT_DOUBLE_EQ(s().Resis[SysA], s().Resis_N[SysA]);
}

TEST_F(Exchange, HeartRatesTakeTheLabBooksOwnFillingTimeUntilTheRunRecomputesIt) {
    Put_It(30135, "120");
    EXPECT_DOUBLE_EQ(view.atMark.FillTime_RV, labBookFillTime(120));
    EXPECT_DOUBLE_EQ(view.atMark.FillTime_RV, 1.0 / 120 - (0.00885 - 2.8e-5 * 120));
    EXPECT_DOUBLE_EQ(view.atMark.K2_RV,
                     1 - std::exp(-view.atMark.Kfill_RV * view.atMark.FillTime_RV));
    // The run then fills with its own constants, and without AV block the left ventricle
    // follows the right.
    EXPECT_DOUBLE_EQ(s().FillTime_RV, fillTime(120));
    EXPECT_EQ(s().HrtRate_LV, 120);

    options::setAVBlock(true);
    view.marked.clear();
    Put_It(30145, "50");
    ASSERT_EQ(view.marked, std::vector<std::string>{"lblHR_LV"});
    EXPECT_EQ(view.atMark.HrtRate_LV, 50);
    EXPECT_DOUBLE_EQ(view.atMark.FillTime_LV, labBookFillTime(50));
    EXPECT_EQ(s().HrtRate_LV, 50);
    EXPECT_EQ(s().HrtRate, 120);
}

TEST_F(Exchange, WithAutoRunOnACellRunsToEquilibriumWithoutTheReminder) {
    s().AutoRunOn = 1;
    Put_It(30015, "150");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(caption("lblFlowError"), "");
}

TEST_F(Exchange, EveryCellOutsideTheInputTableGivesItsMessageAndChangesNothing) {
    const ModelState before = s();
    auto expectUnchanged = [&] {
        EXPECT_EQ(s().Comp, before.Comp);
        EXPECT_EQ(s().Resis, before.Resis);
        EXPECT_EQ(s().StepCount, before.StepCount);
        EXPECT_TRUE(view.marked.empty());
    };
    for (int column = 0; column <= 9; ++column) {
        for (int row = 0; row <= 99; ++row) {
            const bool ok = (column == 3 && row == 15) || (column == 4 && row >= 1 && row <= 6) ||
                            (column == 5 && (row == 1 || row == 2 || row == 4 || row == 6 ||
                                             (row >= 11 && row <= 17)));
            if (ok) continue;
            view.messages.clear();
            Put_It(30000 + row * 10 + column, "100");
            const std::string want = column < 3 || column > 5
                                         ? std::string("Case on column in Put_It")
                                         : "Case on row error (R:" + std::to_string(row) +
                                               ") in C" + std::to_string(column) + " in Put_It";
            ASSERT_EQ(view.messages, std::vector<std::string>{want}) << row << " " << column;
        }
    }
    expectUnchanged();
}

TEST_F(Exchange, ATextThatIsNoNumberIsRefusedNamingTheCell) {
    const ModelState before = s();
    for (const char* text : {"", "   ", "abc", "1,5", "50%", "12abc"}) {
        SCOPED_TRACE(text);
        view.messages.clear();
        Put_It(32015, text);
        ASSERT_EQ(view.messages.size(), 1u);
        const std::string& m = view.messages[0];
        EXPECT_EQ(m.rfind("Table 2, row 1, column 5", 0), 0u) << m;
        EXPECT_NE(m.find("Nothing was changed"), std::string::npos) << m;
        EXPECT_EQ(view.messageTitles[0], "");
        if (std::string(text) == "1,5") {
            EXPECT_NE(m.find("period"), std::string::npos) << m;
        }
    }
    EXPECT_EQ(s().Resis, before.Resis);
    EXPECT_EQ(s().StepCount, before.StepCount);
    EXPECT_TRUE(view.marked.empty());
}

TEST_F(Exchange, AValueTheRunWouldDivideByIsRefused) {
    options::setAVBlock(true);
    const ModelState before = s();
    for (int code : {30014, 30034, 30054, 30015, 30065, 30115, 30125, 30135, 30145}) {
        SCOPED_TRACE(code);
        view.messages.clear();
        Put_It(code, "0");
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].find("cannot be 0"), std::string::npos) << view.messages[0];
        EXPECT_NE(view.messages[0].find("Nothing was changed"), std::string::npos);
    }
    EXPECT_EQ(s().Comp, before.Comp);
    EXPECT_EQ(s().Resis, before.Resis);
    EXPECT_EQ(s().Emax_LV, before.Emax_LV);
    EXPECT_EQ(s().HrtRate, before.HrtRate);
    EXPECT_EQ(s().StepCount, before.StepCount);
    // Zero is a fine change of volume or pressure, and other values keep having no limits.
    view.messages.clear();
    Put_It(30155, "0");
    Put_It(30165, "0");
    Put_It(30015, "900");
    EXPECT_EQ(view.marked, (std::vector<std::string>{"lblVtotalBody", "lblPit", "lblResisSysA"}));
}

TEST_F(Exchange, TheLeftHeartRateWithoutSeparateRatesIsRefusedSayingWhatToTick) {
    Put_It(30145, "50");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("Tick \"separate RV and LV Heart Rates\" in Options"),
              std::string::npos)
        << view.messages[0];
    EXPECT_TRUE(view.marked.empty());
    EXPECT_EQ(s().HrtRate_LV, 72);
}

TEST_F(Exchange, PlotCellsGoIntoTheChartWindowsBoxes) {
    LoadPlotCell("72", 3, 0);
    LoadPlotCell("  5500. ", 3, 1);
    LoadPlotCell("76.4", 10, 2);
    LoadPlotCell("abc", 0, 1);
    LoadPlotCell("", 0, 2);
    EXPECT_EQ(view.caption(Window::Plot, "txtX(3)"), "72");
    EXPECT_EQ(view.caption(Window::Plot, "txtY(3)"), "  5500. ");
    EXPECT_EQ(view.caption(Window::Plot, "txtZ(10)"), "76.4");
    EXPECT_EQ(view.caption(Window::Plot, "txtY(0)"), "0");
    EXPECT_EQ(view.caption(Window::Plot, "txtZ(0)"), "0");
    EXPECT_TRUE(view.messages.empty());
    for (int axis : {-1, 3}) {
        LoadPlotCell("5", 2, std::int16_t(axis));
        EXPECT_EQ(view.messages.back(), "Data Plot load error");
    }
    EXPECT_EQ(view.caption(Window::Plot, "txtX(2)"), "");
}
