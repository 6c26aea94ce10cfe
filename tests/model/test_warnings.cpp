// The warnings posted at the end of every complete run: each limit, strictness, colours and the
// order in which later tests overwrite earlier ones on the same label.
//
// Most cases shape the state for a single Euler step. The warnings read the state after the
// step; cardiac output and arterial pressure are computed from the volumes before it, so exact
// binary values put them exactly on a limit: with P(SysA) = Vstrs(SysA) / 2, ESV_LV =
// P(SysA) / 4 + 5 and a heart rate of 100, CO = 100 x (Vstrs(LeftV) - ESV_LV).

#include "ModelTestSupport.h"

namespace vasora::model::test {
namespace {

using namespace palette;

class Warnings : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        load();
    }

    /// Arterial pressure `psa` mmHg and cardiac output `co` ml/min for the next step.
    static void shape(double psa, double co) {
        ModelState& m = s();
        m.HrtRate = 100;
        m.Comp[SysA] = 2;
        m.Vstrs[SysA] = 2 * psa;
        m.Emax_LV = 4;
        m.Vo_LV = 5;
        m.Vstrs[LeftV] = psa / 4 + 5 + co / 100;
    }

    /// Pulmonary venous volume that puts P(PulmV) on P(LeftV), so the left ventricle keeps
    /// about its volume through one step.
    static void balanceLeftInflow() {
        ModelState& m = s();
        const double v = m.Vstrs[LeftV];
        double p = v / m.Comp[LeftV] + m.Pit;
        if (v > 175) p += (v - 175) / (0.33 * m.Comp[LeftV]);
        m.Vstrs[PulmV] = (p - m.Pit) * m.Comp[PulmV];
    }

    void expectWarning(const char* label, const char* caption, Rgb fore, Rgb back) {
        EXPECT_EQ(cap(label), caption) << label;
        EXPECT_EQ(look(label).fore, fore) << label << " text colour";
        EXPECT_EQ(look(label).back, back) << label << " background";
    }
    void expectQuiet(const char* label) {
        EXPECT_EQ(cap(label), "") << label;
        if (std::string_view(label) <= "lblWarning3") {
            EXPECT_EQ(look(label).back, BrightWhite) << label;
        }
    }
};

TEST_F(Warnings, NormalCirculationWarnsOfNothing) {
    for (int run = 0; run < 5; ++run) {
        RunModel();
        for (const char* w :
             {"lblWarning1", "lblWarning2", "lblWarning3", "lblWarning4", "lblWarning5"})
            expectQuiet(w);
    }
}

TEST_F(Warnings, CardiacOutputLimitsAreStrict) {
    shape(100, 999);
    runOneStep();
    expectWarning("lblWarning1", "DEATH IMMINENT CO < 1000", LightBlue, LightYellow);

    shape(100, 1000);
    runOneStep();
    ASSERT_EQ(s().Flow[LeftV], 1000);
    expectWarning("lblWarning1", "HURRY Patient in Shock!", LightRed, LightYellow);

    shape(100, 1999);
    runOneStep();
    expectWarning("lblWarning1", "HURRY Patient in Shock!", LightRed, LightYellow);

    shape(100, 2000);
    runOneStep();
    ASSERT_EQ(s().Flow[LeftV], 2000);
    expectQuiet("lblWarning1");

    shape(100, 25000);
    runOneStep();
    ASSERT_EQ(s().Flow[LeftV], 25000);
    expectQuiet("lblWarning1");

    shape(100, 25050);
    runOneStep();
    expectWarning("lblWarning1", "CONGRATULATIONS CO >25 L/min", LightRed, kColorChanged);
}

TEST_F(Warnings, ExamplesOfLowOutput) {
    shape(100, 800);
    runOneStep();
    expectWarning("lblWarning1", "DEATH IMMINENT CO < 1000", LightBlue, LightYellow);
    shape(100, 1500);
    runOneStep();
    expectWarning("lblWarning1", "HURRY Patient in Shock!", LightRed, LightYellow);
}

TEST_F(Warnings, ArterialPressureLimits) {
    shape(200, 5000);
    runOneStep();
    ASSERT_EQ(s().Press[SysA], 200);
    expectQuiet("lblWarning1");
    expectQuiet("lblWarning2");

    shape(200.5, 5000);
    runOneStep();
    // The rupture test leaves the background as it was: white after the run's clearing.
    expectWarning("lblWarning1", "RUPTURED artery likely", LightRed, BrightWhite);

    shape(60, 5000);
    runOneStep();
    expectQuiet("lblWarning2");

    shape(50, 5000);
    runOneStep();
    expectWarning("lblWarning2", "Patient Hypotensive", LightMagenta, BrightWhite);

    shape(35, 5000);
    runOneStep();
    ASSERT_EQ(s().Press[SysA], 35);
    expectWarning("lblWarning2", "Patient Hypotensive", LightMagenta, BrightWhite);

    shape(30, 5000);
    runOneStep();
    expectWarning("lblWarning2", "Death Soon Psa < 35", Black, LightYellow);
}

TEST_F(Warnings, RuptureOverwritesLowOutputButKeepsItsBackground) {
    shape(201, 500);
    runOneStep();
    expectWarning("lblWarning1", "RUPTURED artery likely", LightRed, LightYellow);
    shape(201, 30000);
    runOneStep();
    expectWarning("lblWarning1", "RUPTURED artery likely", LightRed, kColorChanged);
}

TEST_F(Warnings, PulmonaryCongestion) {
    s().Vstrs[PulmV] = 406;  // 406 / 14 - 4 = 25 mmHg exactly
    runOneStep();
    ASSERT_EQ(s().Press[PulmV], 25);
    expectQuiet("lblWarning2");

    s().Vstrs[PulmV] = 420;
    runOneStep();
    expectWarning("lblWarning2", "GASP! Ppv >25 mmHg", LightRed, LightYellow);

    // Congestion is tested last on its label and so overwrites the arterial warnings.
    shape(30, 5000);
    s().Vstrs[PulmV] = 420;
    runOneStep();
    expectWarning("lblWarning2", "GASP! Ppv >25 mmHg", LightRed, LightYellow);
}

TEST_F(Warnings, DilatedRightVentricleThatEjectsAndThatDoesNot) {
    s().Vstrs[RghtV] = 200;
    runOneStep();
    ASSERT_GT(s().Vstrs[RghtV], 175);
    ASSERT_GT(s().SV_RV, 0);
    expectWarning("lblWarning4", "Right EDV >175ml", LightMagenta, BrightWhite);

    // The same ventricle, too weak to eject against the pulmonary pressure.
    s().Vstrs[RghtV] = 200;
    s().Emax_RV = 0.001;
    runOneStep();
    ASSERT_EQ(s().SV_RV, 0);
    expectWarning("lblWarning4", "No RIGHT heart output!", Black, BrightWhite);
}

TEST_F(Warnings, DilatedLeftVentricleThatEjectsAndThatDoesNot) {
    s().Vstrs[LeftV] = 260;
    balanceLeftInflow();
    runOneStep();
    ASSERT_GT(s().Vstrs[LeftV], 175);
    ASSERT_GT(s().SV_LV, 0);
    expectWarning("lblWarning5", "Left EDV > 175 ml", LightMagenta, BrightWhite);

    s().Vstrs[LeftV] = 260;
    s().Emax_LV = 0.001;
    balanceLeftInflow();
    runOneStep();
    ASSERT_EQ(s().SV_LV, 0);
    expectWarning("lblWarning5", "No LEFT heart output!", Black, BrightWhite);
}

TEST_F(Warnings, NoOutputHoldsAfterAWholeRunOfClampedSteps) {
    // After the volume update the clamped ESV no longer equals the new volume; the warning
    // must still hold because the last step ejected nothing.
    s().Emax_RV = 0.001;
    RunModel();
    ASSERT_EQ(s().SV_RV, 0);
    ASSERT_NE(s().ESV_RV, s().Vstrs[RghtV]);
    expectWarning("lblWarning4", "No RIGHT heart output!", Black, BrightWhite);
    // Once the ventricle ejects again the warning goes.
    s().Emax_RV = 0.3784;
    RunModel();
    ASSERT_GT(s().SV_RV, 0);
    expectQuiet("lblWarning4");
}

TEST_F(Warnings, VenousVolume) {
    s().Vstrs[SysV] = -20;
    runOneStep();
    ASSERT_LT(s().Vstrs[SysV], 1.0);
    expectWarning("lblWarning3", "Veins COLLAPSING!", LightBlue, LightYellow);
    // Vein collapse is the last test of lblWarning5.
    expectWarning("lblWarning5", "0.2 ml collapse", Black, BrightWhite);

    // Too much volume is tested after the collapse of the veins and overwrites it.
    s().Vstrs[SysV] = -20;  // about 716 ml taken out of the body
    s().Vunstrs[SysA] += 2900;
    runOneStep();
    ASSERT_GT(s().VtotalBody, 7000);
    expectWarning("lblWarning3", "Too much volume!", Red, LightYellow);
}

TEST_F(Warnings, TotalVolumeLimit) {
    s().Vunstrs[SysA] += 1990;  // about 6990 ml
    runOneStep();
    ASSERT_LT(s().VtotalBody, 7000);
    expectQuiet("lblWarning3");
    s().Vunstrs[SysA] += 20;
    runOneStep();
    ASSERT_GT(s().VtotalBody, 7000);
    expectWarning("lblWarning3", "Too much volume!", Red, LightYellow);
}

TEST_F(Warnings, CollapseOverwritesTheLeftVentricleWarning) {
    s().Vstrs[LeftV] = 260;
    s().Emax_LV = 0.001;
    balanceLeftInflow();
    s().CollapseVol = 3.14;  // the veins hold volume: one refilling step returns 0.1 ml
    runOneStep();
    expectWarning("lblWarning5", "3.0 ml collapse", Black, BrightWhite);
}

TEST_F(Warnings, EveryRunStartsClear) {
    shape(30, 500);
    s().Vunstrs[SysA] += 2500;
    runOneStep();
    ASSERT_NE(cap("lblWarning1"), "");
    ASSERT_NE(cap("lblWarning2"), "");
    ASSERT_NE(cap("lblWarning3"), "");
    load();
    for (const char* w :
         {"lblWarning1", "lblWarning2", "lblWarning3", "lblWarning4", "lblWarning5"})
        expectQuiet(w);
}

}  // namespace
}  // namespace vasora::model::test
