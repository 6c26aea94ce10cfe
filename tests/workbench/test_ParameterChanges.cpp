// The parameter, volume and pressure changes as the dialogs hand them over, on the engine with a
// recording view: the bounds of every row, the volume and pressure tests in order, the ramps.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/Quantities.h"
#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"

using namespace vasora;
using namespace vasora::workbench;
using model::state;
using model::Window;

namespace {

class Changes : public ::testing::Test {
  protected:
    void SetUp() override {
        model::resetState();
        model::setView(&view);
        setRestartHooks({});
        loadModelWindow();
    }
    void TearDown() override { model::setView(nullptr); }

    // Back to the state after the model window's load, with the view's record cleared.
    void reload() {
        view = model::RecordingView{};
        model::resetState();
        loadModelWindow();
    }
    model::Rgb back(Window w, const char* label) { return view.look(w, label).back; }
    bool marked(const char* label) {
        return back(Window::CVModel, label) == model::kColorChanged &&
               back(Window::Layout, label) == model::kColorChanged;
    }

    model::RecordingView view;
};

// The quantities the parameter dialog changes.
std::vector<const model::Quantity*> parameters() {
    std::vector<const model::Quantity*> p;
    for (const model::Quantity& q : model::quantities())
        if (q.change == model::Change::Parameter) p.push_back(&q);
    return p;
}

const model::Quantity& parameter(std::string_view label) {
    const model::Quantity* q = model::parameterByLabel(label);
    EXPECT_NE(q, nullptr) << label;
    return *q;
}

// The value a parameter currently has.
double parameterValue(const model::Quantity& q) {
    const auto& s = state();
    const std::string_view l = q.label;
    const char* comps[] = {"lblCompSysA",  "lblCompSysV",  "lblCompRghtV",
                           "lblCompPulmA", "lblCompPulmV", "lblCompLeftV"};
    for (int i = 1; i <= 6; ++i)
        if (l == comps[i - 1]) return s.Comp[static_cast<std::size_t>(i)];
    if (l == "lblResisSysA") return s.Resis[model::SysA];
    if (l == "lblResisSysV") return s.Resis[model::SysV];
    if (l == "lblResisPulmA") return s.Resis[model::PulmA];
    if (l == "lblResisPulmV") return s.Resis[model::PulmV];
    if (l == "lblEmax_RV") return s.Emax_RV;
    if (l == "lblEmax_LV") return s.Emax_LV;
    if (l == "lblVo_LV") return s.Vo_LV;
    if (l == "lblHR_RV") return s.HrtRate;
    return s.HrtRate_LV;
}

}  // namespace

TEST_F(Changes, EveryRowAcceptsItsBoundsAndRefusesJustPastThem) {
    ASSERT_EQ(parameters().size(), 15u);
    for (const model::Quantity* q : parameters()) {
        const model::Quantity& row = *q;
        const model::ChangeLimits& limits = row.limits;
        SCOPED_TRACE(std::string(row.label));
        const bool leftRate = row.label == "lblHR_LV";
        struct Case {
            double entry;
            bool accepted;
            std::string_view message;
        };
        const Case cases[] = {{limits.upper, true, {}},
                              {limits.upper + 0.01, false, limits.tooLarge},
                              {limits.lower, true, {}},
                              {limits.lower - 0.01, false, limits.tooSmall}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.entry);
            reload();
            if (leftRate) state().AVBlock = 1;
            const double before = parameterValue(row);
            const double time = state().ModelTime;
            const ChangeResult r = changeParameter(row, c.entry);
            if (c.accepted) {
                EXPECT_EQ(r.status, ChangeResult::Applied);
                EXPECT_TRUE(r.message.empty());
                EXPECT_TRUE(marked(std::string(row.label).c_str()));
                EXPECT_NEAR(state().ModelTime, time + 0.1, 1e-9);
                // The run recomputes nothing of these parameters, so the entry is what stays.
                const double expected = limits.percentOfNormal()
                                            ? c.entry * before / 100  // `before` is the normal
                                            : c.entry;
                EXPECT_DOUBLE_EQ(parameterValue(row), expected);
            } else {
                EXPECT_EQ(r.status, ChangeResult::Refused);
                EXPECT_EQ(r.message, c.message);
                EXPECT_EQ(parameterValue(row), before);
                EXPECT_EQ(state().ModelTime, time);
                EXPECT_NE(back(Window::CVModel, std::string(row.label).c_str()),
                          model::kColorChanged);
            }
        }
    }
}

TEST_F(Changes, TheDialogsShowTheCurrentValueInTheRowsFormats) {
    EXPECT_EQ(model::parameterByLabel("lblVtotalBody"), nullptr);
    EXPECT_TRUE(isChangeLabel("lblVtotalBody"));
    EXPECT_FALSE(isChangeLabel("lblPressSysA"));

    const DialogTexts t = paramDialogTexts(parameter("lblHR_RV"));
    EXPECT_EQ(t.segment, " Right Ventricle ");
    EXPECT_EQ(t.parameter, "Heart Rate");
    EXPECT_EQ(t.value, "  72.0");
    EXPECT_EQ(t.units, "beats/min");
    EXPECT_EQ(t.percentNormal, "  100.0");
    EXPECT_EQ(t.unit, " b/min");
    state().Comp[model::SysA] = 3;
    const DialogTexts c = paramDialogTexts(parameter("lblCompSysA"));
    EXPECT_EQ(c.value, "3.0");
    EXPECT_EQ(c.percentNormal, " 150.0");
    // The units caption is the quantity's unit, but for Vo's own.
    EXPECT_EQ(c.units, "ml/mmHg");
    EXPECT_EQ(paramDialogTexts(parameter("lblResisPulmA")).units, "mmHg/(ml/min)");
    EXPECT_EQ(paramDialogTexts(parameter("lblVo_LV")).units, " ml ");

    state().VtotalBody = 5250;
    state().VtotalBody_N = 5000;
    EXPECT_EQ(bloodVolumeDialogTexts().value, " 5250.");
    EXPECT_EQ(bloodVolumeDialogTexts().percentNormal, " 105.0");
    EXPECT_EQ(unstressedDialogTexts().parameter, "Unstressed V");
    EXPECT_EQ(pitDialogValue(), " -4.0");
}

TEST_F(Changes, TheEdgeCasesOfTheParameterRows) {
    const model::Quantity& comp = parameter("lblCompSysA");
    EXPECT_EQ(changeParameter(comp, 29).status, ChangeResult::Applied);
    EXPECT_EQ(changeParameter(comp, 28.9).message, comp.limits.tooSmall);
    EXPECT_EQ(changeParameter(comp, 301).status, ChangeResult::Applied);
    EXPECT_EQ(changeParameter(comp, 301.01).message, comp.limits.tooLarge);

    EXPECT_EQ(changeParameter(parameter("lblResisPulmA"), 33).status, ChangeResult::Refused);
    EXPECT_EQ(changeParameter(parameter("lblResisPulmV"), 33).status, ChangeResult::Refused);
    EXPECT_EQ(changeParameter(parameter("lblResisSysA"), 33).status, ChangeResult::Applied);
    // A resistance is accepted up to 501 %, beside a message that rounds to 500%.
    const model::Quantity& resis = parameter("lblResisSysV");
    EXPECT_EQ(changeParameter(resis, 501).status, ChangeResult::Applied);
    EXPECT_EQ(changeParameter(resis, 501.01).message,
              "Value too large.  Please retry with R less than 500% ");

    const model::Quantity& vo = parameter("lblVo_LV");
    EXPECT_EQ(changeParameter(vo, -10.1).status, ChangeResult::Applied);
    EXPECT_EQ(changeParameter(vo, -10.2).message, vo.limits.tooSmall);
    EXPECT_EQ(changeParameter(vo, 101).status, ChangeResult::Applied);
    // -1 ml is a volume intercept like any other once it was typed.
    EXPECT_EQ(changeParameter(vo, -1).status, ChangeResult::Applied);
    EXPECT_EQ(state().Vo_LV, -1);

    const model::Quantity& hr = parameter("lblHR_RV");
    EXPECT_EQ(changeParameter(hr, 249.5).status, ChangeResult::Applied);
    EXPECT_EQ(changeParameter(hr, 249.6).message,
              "Heart rate too high. No time for filling. Use < 249.5 beat/min");
}

TEST_F(Changes, PercentEntriesReferToTheNormalValue) {
    const model::Quantity& r = parameter("lblResisSysV");
    const double normal = state().Resis_N[model::SysV];
    changeParameter(r, 50);
    changeParameter(r, 300);
    EXPECT_DOUBLE_EQ(state().Resis[model::SysV], 3 * normal);
    changeParameter(r, 100);
    EXPECT_DOUBLE_EQ(state().Resis[model::SysV], normal);
    // The normal reference itself never moves with the changes.
    EXPECT_EQ(state().Resis_N[model::SysV], normal);
    EXPECT_EQ(view.caption(Window::CVModel, "lblResisSysV"), "100.0");
}

TEST_F(Changes, TheLeftRateFollowsTheRightOneUnlessTheVentriclesAreBlocked) {
    const model::Quantity& rv = parameter("lblHR_RV");
    const model::Quantity& lv = parameter("lblHR_LV");

    // No AV block: the left label does nothing at all, and the left rate follows the right.
    const double time = state().ModelTime;
    EXPECT_EQ(changeParameter(lv, 90).status, ChangeResult::Ignored);
    EXPECT_EQ(changeByText("lblHR_LV", "90").status, ChangeResult::Ignored);
    EXPECT_EQ(state().HrtRate_LV, 72);
    EXPECT_EQ(state().ModelTime, time);
    EXPECT_NE(back(Window::CVModel, "lblHR_LV"), model::kColorChanged);
    changeParameter(rv, 150);
    EXPECT_EQ(state().HrtRate_LV, 150);
    EXPECT_NEAR(state().K2_RV, 0.923, 0.001);
    EXPECT_EQ(state().K2_LV, state().K2_RV);

    // With AV block each ventricle keeps its own rate and filling.
    reload();
    state().AVBlock = 1;
    EXPECT_EQ(changeParameter(lv, 200).status, ChangeResult::Applied);
    EXPECT_TRUE(marked("lblHR_LV"));
    EXPECT_EQ(state().HrtRate_LV, 200);
    EXPECT_NEAR(state().K2_LV, 0.526, 0.001);
    changeParameter(rv, 100);
    EXPECT_EQ(state().HrtRate, 100);
    EXPECT_EQ(state().HrtRate_LV, 200);
    EXPECT_NEAR(state().K2_LV, 0.526, 0.001);
}

TEST_F(Changes, TypedTextsUseTheOneNumberReader) {
    // A decimal comma is refused, never read as a different number.
    const double before = state().Comp[model::SysA];
    const ChangeResult r = changeByText("lblCompSysA", "50,5");
    EXPECT_EQ(r.status, ChangeResult::Refused);
    EXPECT_EQ(r.message, "Please enter a numeric value");
    EXPECT_EQ(state().Comp[model::SysA], before);
    EXPECT_EQ(changeByText("lblCompSysA", "").message, "New parameter value cannot be blank");
    // The dialogs' no-change answers change nothing, as in the dialogs.
    EXPECT_EQ(changeByText("lblVo_LV", "-1").status, ChangeResult::NoChange);
    EXPECT_EQ(changeByText("lblVtotalBody", "-9999").status, ChangeResult::NoChange);
    EXPECT_EQ(changeByText("lblPit", "-99").status, ChangeResult::NoChange);
    EXPECT_EQ(state().Vo_LV, 4.3);
    EXPECT_EQ(state().Pit, -4);
    EXPECT_EQ(state().VolChangeRate, 0);
    EXPECT_EQ(changeByText("lblVtotalBody", " ").message, "Volume change cannot be BLANK");
    EXPECT_EQ(changeByText("lblPit", "").message, "New pressure value cannot be blank");
    EXPECT_EQ(changeByText("lblPit", "-2,5").message, "Please enter a numeric value");
}

// The blood-volume tests, each at its bound and just past it, with the totals set exactly.
TEST_F(Changes, BloodVolumeBoundsInOrder) {
    const std::string kClickOk = "\r\n       Click OK to continue";
    const std::string hemorrhage =
        "Warning: This hemorrhage is too large.\r\nMinimum total stressed volume 250 ml." +
        kClickOk;
    const std::string transfusion =
        "Warning: This transfusion too large.\r\nMax reasonable Total Stressed Volume is 3800 "
        "ml." +
        kClickOk;
    const std::string dangerous =
        "A total blood volume greater than 7500 ml is dangerous.\r\nUse a smaller "
        "transfusion." +
        kClickOk;
    struct Case {
        double vstrs, vtotal, dV;
        std::string message;  // empty: accepted
    };
    const Case cases[] = {
        {1400, 5000, -1151, {}},         {1400, 5000, -1151.1, hemorrhage},
        {1400, 5000, 2401, {}},          {1400, 5000, 2401.1, transfusion},
        {1400, 7000, 501, {}},           {1400, 7000, 501.1, dangerous},
        {1400, 7000, 2500, transfusion},  // both later tests fail: the first one speaks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dV);
        reload();
        state().VstrsTotal = c.vstrs;
        state().VtotalBody = c.vtotal;
        const double time = state().ModelTime;
        const ChangeResult r = changeBloodVolume(c.dV);
        if (c.message.empty()) {
            EXPECT_EQ(r.status, ChangeResult::Applied);
            EXPECT_EQ(state().VolChangeKind, 1);
            EXPECT_TRUE(marked("lblVtotalBody"));
            EXPECT_NEAR(state().ModelTime, time + 0.1, 1e-9);
        } else {
            EXPECT_EQ(r.message, c.message);
            EXPECT_EQ(state().VolChangeRate, 0);
            EXPECT_EQ(state().VolChangeTarget, 0);
            EXPECT_EQ(state().ModelTime, time);
            EXPECT_EQ(back(Window::CVModel, "lblVtotalBody"), model::kParamNormal);
        }
    }
}

TEST_F(Changes, UnstressedVolumeBoundsInOrder) {
    const std::string kClickOk = "\r\n       Click OK to continue";
    const std::string constriction =
        "Venoconstriction of unstressed volume to < 1400 ml unreasonable\r\nEnter a less "
        "negative volume" +
        kClickOk;
    const std::string dilation =
        "Venodilation of unstressed volume to > 4600 ml too much\r\nEnter a smaller expansion." +
        kClickOk;
    const std::string tooSmall =
        "Total stressed volume < 275 ml is too small.\r\nEnter a smaller venodilation." + kClickOk;
    const std::string tooLarge =
        "Total stressed volume > 3800 ml is unreasonable\r\nEnter a smaller venoconstriction" +
        kClickOk;
    struct Case {
        double vunstrs, vstrs, dU;
        std::string message;
    };
    const Case cases[] = {
        {3600, 1400, -1401, {}},      {3600, 1400, -1401.1, constriction},
        {3600, 1400, 1001, {}},       {3600, 1400, 1001.1, dilation},
        {3000, 1400, 1125, {}},       {3000, 1400, 1125.1, tooSmall},
        {4601, 1400, -2401, {}},      {4601, 1400, -2401.1, tooLarge},
        {3600, 1400, 1200, dilation},  // also leaves too little stressed volume
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dU);
        reload();
        state().VunstrsTotal = c.vunstrs;
        state().VstrsTotal = c.vstrs;
        const double time = state().ModelTime;
        const ChangeResult r = changeUnstressedVolume(c.dU);
        if (c.message.empty()) {
            EXPECT_EQ(r.status, ChangeResult::Applied);
            EXPECT_EQ(state().VolChangeKind, 0);
            EXPECT_TRUE(marked("lblVunstrsTotal"));
        } else {
            EXPECT_EQ(r.message, c.message);
            EXPECT_EQ(state().VunstrsChangeRate, 0);
            EXPECT_EQ(state().VunstrsChangeTarget, 0);
            EXPECT_EQ(state().ModelTime, time);
            EXPECT_EQ(back(Window::CVModel, "lblVunstrsTotal"), model::kParamNormal);
        }
    }
}

TEST_F(Changes, IntrathoracicPressureBounds) {
    EXPECT_EQ(changePit(15.1).message,
              "This value is dangerous.\r\nPlease enter a value <= 15 mmHg \r\n       Click OK "
              "to continue");
    EXPECT_EQ(changePit(-15.1).message,
              "This value is dangerous.\r\n Please enter a value >= -15 mm Hg\r\n       Click "
              "OK to continue");
    EXPECT_EQ(state().Pit, -4);
    EXPECT_EQ(back(Window::CVModel, "lblPit"), model::kParamNormal);
    EXPECT_EQ(changePit(15).status, ChangeResult::Applied);
    EXPECT_EQ(state().Pit, 15);
    EXPECT_EQ(changePit(-15).status, ChangeResult::Applied);
    EXPECT_EQ(state().Pit, -15);
    EXPECT_TRUE(marked("lblPit"));
    EXPECT_EQ(view.caption(Window::CVModel, "lblPit"), "-15.0");
}

TEST_F(Changes, RampRatesAreGradedBySizeOfTheChange) {
    EXPECT_DOUBLE_EQ(bloodVolumeRate(99), 20 * 99);
    EXPECT_DOUBLE_EQ(bloodVolumeRate(100), 4 * 100);
    EXPECT_DOUBLE_EQ(bloodVolumeRate(499), 4 * 499);
    EXPECT_DOUBLE_EQ(bloodVolumeRate(500), 0.666 * 500);
    EXPECT_DOUBLE_EQ(bloodVolumeRate(-500), 0.666 * -500);
    EXPECT_DOUBLE_EQ(bloodVolumeRate(-99), 20 * -99);
    EXPECT_DOUBLE_EQ(unstressedRate(99), -10 * 99);
    EXPECT_DOUBLE_EQ(unstressedRate(100), -3 * 100);
    EXPECT_DOUBLE_EQ(unstressedRate(-499), -3 * -499);
    EXPECT_DOUBLE_EQ(unstressedRate(-500), -0.666 * -500);

    // Through the change itself: the middle and large ones are still under way after the first
    // 0.1 minute, at their rate; a small one is done in 0.05 minute.
    for (double dV : {500.0, 499.0, 100.0}) {
        reload();
        changeBloodVolume(dV);
        EXPECT_DOUBLE_EQ(state().VolChangeRate, bloodVolumeRate(dV)) << dV;
    }
    reload();
    changeBloodVolume(99);
    EXPECT_EQ(state().VolChangeRate, 0);
    EXPECT_NEAR(state().VolAdded, 99, 20 * 99 * 0.001);
    // A change of 0 ml is accepted, marks the label, and leaves the label free at once.
    reload();
    EXPECT_EQ(changeBloodVolume(0).status, ChangeResult::Applied);
    EXPECT_TRUE(marked("lblVtotalBody"));
    EXPECT_TRUE(bloodVolumeBusyMessage().empty());
}

TEST_F(Changes, ASecondChangeOfTheSameKindIsRefusedWhileTheFirstRuns) {
    ASSERT_EQ(changeByText("lblVtotalBody", "600").status, ChangeResult::Applied);
    const double rate = state().VolChangeRate;
    const ChangeResult again = changeByText("lblVtotalBody", "100");
    EXPECT_EQ(again.status, ChangeResult::Refused);
    EXPECT_EQ(again.message,
              "Do not attempt another change in blood volume\r\nuntil the first is finished.");
    EXPECT_EQ(state().VolChangeRate, rate);
    // Even a blank or wrong entry is not asked for: the dialog would not open.
    EXPECT_EQ(changeByText("lblVtotalBody", "x").message, again.message);

    ASSERT_EQ(changeByText("lblVunstrsTotal", "-300").status, ChangeResult::Applied);
    EXPECT_EQ(changeByText("lblVunstrsTotal", "-100").message,
              "Do not attempt another change the untressed volume\r\nuntil the first is "
              "finished.\r\n       Click OK to continue");
}

TEST_F(Changes, BothRampKindsStartedOneAfterTheOtherEachEnd) {
    const double unstressed = state().VunstrsTotal;
    ASSERT_EQ(changeBloodVolume(600).status, ChangeResult::Applied);
    // The unstressed change starts while the transfusion still runs, and becomes the kind
    // started last.
    ASSERT_EQ(changeUnstressedVolume(-400).status, ChangeResult::Applied);
    EXPECT_NE(state().VolChangeRate, 0);
    EXPECT_EQ(state().VolChangeKind, 0);
    for (int i = 0; i < 40 && (state().VolChangeRate != 0 || state().VunstrsChangeRate != 0); ++i)
        clickRun();
    EXPECT_EQ(state().VolChangeRate, 0);
    EXPECT_EQ(state().VolChangeTarget, 0);
    EXPECT_EQ(state().VunstrsChangeRate, 0);
    EXPECT_EQ(state().VunstrsChangeTarget, 0);
    // Each moved its whole amount, give or take the last step.
    EXPECT_NEAR(state().VolAdded, 600, 0.666 * 600 * 0.001 + 1e-9);
    EXPECT_NEAR(state().VunstrsTotal, unstressed - 400, 3 * 400 * 0.001 + 1e-9);
    EXPECT_TRUE(bloodVolumeBusyMessage().empty());
    EXPECT_TRUE(unstressedBusyMessage().empty());

    // And the other way round.
    reload();
    ASSERT_EQ(changeUnstressedVolume(300).status, ChangeResult::Applied);
    ASSERT_EQ(changeBloodVolume(-700).status, ChangeResult::Applied);
    for (int i = 0; i < 40 && (state().VolChangeRate != 0 || state().VunstrsChangeRate != 0); ++i)
        clickRun();
    EXPECT_EQ(state().VolChangeRate, 0);
    EXPECT_EQ(state().VunstrsChangeRate, 0);
    EXPECT_NEAR(state().VolAdded, -700, 0.666 * 700 * 0.001 + 1e-9);
}
