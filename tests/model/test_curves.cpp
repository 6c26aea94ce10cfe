// Guyton's curves and the pressure-volume loops against the model's own runs: the crossing of
// the curves against the equilibrium the model window shows, and each curve against runs of
// the engine's own steps with the right atrial pressure held, in circulations far from normal.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>

#include "ModelTestSupport.h"
#include "model/Curves.h"
#include "model/Derived.h"
#include "model/ModelState.h"
#include "model/Quantities.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"

namespace vasora::model::test {
namespace {

struct Scenario {
    const char* name;
    std::function<void()> change;
};

void changeLabel(const char* label, double entry) {
    const auto r = workbench::changeParameter(*parameterByLabel(label), entry);
    ASSERT_EQ(r.status, workbench::ChangeResult::Applied) << label << ": " << r.message;
}

std::vector<Scenario> scenarios() {
    return {
        {"normal", [] {}},
        {"hemorrhage 1000 ml",
         [] {
             ASSERT_EQ(workbench::changeBloodVolume(-1000).status,
                       workbench::ChangeResult::Applied);
         }},
        {"systemic arterial resistance 200 %", [] { changeLabel("lblResisSysA", 200); }},
        {"left Emax 50 %", [] { changeLabel("lblEmax_LV", 50); }},
        {"heart rate 40", [] { changeLabel("lblHR_RV", 40); }},
        {"heart rate 180", [] { changeLabel("lblHR_RV", 180); }},
        {"AV block, left ventricle at 40",
         [] {
             state().AVBlock = 1;
             showChangeableLabels();
             changeLabel("lblHR_LV", 40);
         }},
    };
}

class CurvesTest : public EngineTest {
  protected:
    // The model window's load, the change, then runs until the flows agree and no ramp moves.
    void settle(const Scenario& sc) {
        load();
        sc.change();
        ModelState& m = s();
        for (int i = 0; i < 1200; ++i) {
            RunModel();
            const bool ramp = m.VolChangeRate != 0 || m.VunstrsChangeRate != 0;
            if (i > 5 && !ramp && std::fabs(m.FlowMax - m.FlowMin) < 0.01) break;
        }
        ASSERT_LT(std::fabs(m.FlowMax - m.FlowMin), 0.01) << sc.name << " did not settle";
    }
};

double relative(double a, double b) {
    return std::fabs(a - b) / std::max(std::fabs(b), 1e-9);
}

TEST_F(CurvesTest, CurvesCrossAtTheEquilibriumTheModelWindowShows) {
    for (const Scenario& sc : scenarios()) {
        SCOPED_TRACE(sc.name);
        settle(sc);
        const ModelState& m = s();
        const Crossing c = curvesCrossing(m);
        ASSERT_TRUE(c.found);
        const double pra = rightAtrialPressure(m);
        EXPECT_LT(relative(c.flow, m.Flow[LeftV]), 0.01) << c.flow << " vs " << m.Flow[LeftV];
        // Within 1 % of the pressure, or of a tenth of a mmHg where it is near zero.
        EXPECT_LT(std::fabs(c.pra - pra), std::max(0.01 * std::fabs(pra), 0.001))
            << c.pra << " vs " << pra;
        // Both curves pass through the operating point at an equilibrium.
        EXPECT_LT(relative(venousReturn(m, pra), m.Flow[SysV]), 0.01);
        EXPECT_LT(relative(cardiacFunction(m, pra), m.Flow[LeftV]), 0.01);
        std::cout << sc.name << ": crossing " << c.pra << " mmHg " << c.flow << " ml/min; model "
                  << pra << " mmHg " << m.Flow[LeftV] << " ml/min\n";
    }
}

TEST_F(CurvesTest, EngineRunsWithTheRightAtriumHeldSettleOnBothCurves) {
    for (const Scenario& sc : scenarios()) {
        SCOPED_TRACE(sc.name);
        settle(sc);
        const ModelState m = s();
        const Crossing c = curvesCrossing(m);
        const double pmsf = meanSystemicFillingPressure(m);
        for (int i = 0; i < 5; ++i) {
            // Venous return: from 4 mmHg below the crossing (but above the pressure where the
            // veins collapse, below which the held run hovers about the collapse and never
            // stands still) up to well short of Pmsf, where the flow is still large enough
            // for a relative comparison.
            const double low = std::max(c.pra - 4, veinCollapsePressure(m) + 0.5);
            const double praV = low + (pmsf - 1.5 - low) * i / 4;
            const HeldRun v = heldRun(m, HeldPart::HeartAndLungs, praV);
            ASSERT_TRUE(v.settled) << "venous return at " << praV;
            EXPECT_LT(relative(v.flow, venousReturn(m, v.pra)), 0.01)
                << "venous return at " << v.pra << ": run " << v.flow << ", curve "
                << venousReturn(m, v.pra);
            // Cardiac function: from just above where the heart starts to eject to 4 mmHg
            // above the crossing.
            const double start = cardiacFunctionPressure(m, 0);
            const double praH = start + 0.5 + (c.pra + 4 - start - 0.5) * i / 4;
            const HeldRun h = heldRun(m, HeldPart::Systemic, praH);
            ASSERT_TRUE(h.settled) << "cardiac function at " << praH;
            EXPECT_LT(relative(h.flow, cardiacFunction(m, h.pra)), 0.01)
                << "cardiac function at " << h.pra << ": run " << h.flow << ", curve "
                << cardiacFunction(m, h.pra);
            std::cout << sc.name << ": VR Pra " << v.pra << " run " << v.flow << " curve "
                      << venousReturn(m, v.pra) << "; CF Pra " << h.pra << " run " << h.flow
                      << " curve " << cardiacFunction(m, h.pra) << "\n";
        }
    }
}

TEST_F(CurvesTest, VenousReturnReachesZeroAtTheSystemicNotTheCirculatoryFillingPressure) {
    load();
    const ModelState& m = s();
    const double pmsf = meanSystemicFillingPressure(m);
    EXPECT_NEAR(venousReturn(m, pmsf), 0, 1e-9);
    // The whole circulation's filling pressure is another number, and the curve is not zero
    // there.
    EXPECT_GT(std::fabs(m.Pmcf - pmsf), 0.1);
    EXPECT_GT(std::fabs(venousReturn(m, m.Pmcf)), 50);
    // The slope is -1/RVR, and RVR lies between the venous resistance and the sum of both.
    const double rvr = resistanceToVenousReturn(m);
    EXPECT_NEAR((venousReturn(m, 0) - venousReturn(m, 2)) / 2, 1 / rvr, 1e-6);
    EXPECT_GT(rvr, m.Resis[SysV]);
    EXPECT_LT(rvr, m.Resis[SysV] + m.Resis[SysA]);
    // Below the collapse pressure the model's veins recruit volume: the curve is continuous
    // there and keeps rising, with the steeper slope 1/Rv.
    const double pc = veinCollapsePressure(m);
    EXPECT_NEAR(venousReturn(m, pc - 1e-9), venousReturn(m, pc + 1e-9), 1e-3);
    EXPECT_NEAR(venousReturn(m, pc - 1) - venousReturn(m, pc - 2), -1 / m.Resis[SysV], 1e-6);
}

TEST_F(CurvesTest, HemorrhageLowersPmsfAndKeepsTheResistanceToVenousReturn) {
    load();
    const ModelState normal = s();
    settle(scenarios()[1]);
    EXPECT_LT(meanSystemicFillingPressure(s()), meanSystemicFillingPressure(normal) - 1);
    EXPECT_DOUBLE_EQ(resistanceToVenousReturn(s()), resistanceToVenousReturn(normal));
    EXPECT_LT(curvesCrossing(s()).flow, curvesCrossing(normal).flow - 500);
}

TEST_F(CurvesTest, CardiacFunctionRisesWithContractilityAndHeartRate) {
    load();
    const ModelState normal = s();
    const double pra = rightAtrialPressure(normal);
    ModelState stronger = normal;
    stronger.Emax_LV *= 1.5;
    stronger.Emax_RV *= 1.5;
    EXPECT_GT(cardiacFunction(stronger, pra), cardiacFunction(normal, pra) * 1.02);
    ModelState faster = normal;
    faster.HrtRate = 100;
    // The filling time of the new rate is the run's, not the stale one of the state.
    EXPECT_GT(cardiacFunction(faster, pra), cardiacFunction(normal, pra) * 1.02);
    EXPECT_EQ(cardiacFunction(normal, cardiacFunctionPressure(normal, 0) - 1), 0);
}

TEST_F(CurvesTest, DiagramSamplesTheRangeThatHoldsTheCrossing) {
    load();
    const GuytonDiagram d = guytonDiagram(s(), 200);
    ASSERT_EQ(d.venousReturn.size(), 200u);
    ASSERT_EQ(d.cardiacFunction.size(), 200u);
    EXPECT_LE(d.praFrom, d.crossing.pra);
    EXPECT_GE(d.praTo, d.pmsf);
    for (std::size_t i = 1; i < 200; ++i) {
        EXPECT_LE(d.venousReturn[i].y, d.venousReturn[i - 1].y);
        EXPECT_GE(d.cardiacFunction[i].y, d.cardiacFunction[i - 1].y);
    }
}

TEST_F(CurvesTest, LoopsHaveTheModelsCornersAndTheStiffBranch) {
    load();
    const ModelState& m = s();
    for (int v : {RghtV, LeftV}) {
        SCOPED_TRACE(v);
        const PressureVolumeLoop l = pressureVolumeLoop(m, v);
        const auto k = std::size_t(v);
        EXPECT_DOUBLE_EQ(l.edv, m.Vstrs[k]);
        EXPECT_DOUBLE_EQ(l.edp, m.Press[k]);
        EXPECT_NEAR(l.esv, v == LeftV ? m.ESV_LV : m.ESV_RV, 1e-9);
        // The end of systole lies on the end-systolic line within the last step's change.
        EXPECT_NEAR(l.emax * (l.esv - l.vo), l.esp, 0.05);
        ASSERT_GE(l.outline.size(), 4u);
        EXPECT_DOUBLE_EQ(l.outline.front().x, l.outline.back().x);
        EXPECT_DOUBLE_EQ(l.outline.front().y, l.outline.back().y);
        // The loop's area lies between the work of ejecting the stroke volume against the
        // opening pressure and against the systolic pressure, less the filling pressure.
        EXPECT_GT(l.strokeWork, l.sv * (std::min(l.opening, l.esp) - l.edp) * 0.95);
        EXPECT_LT(l.strokeWork, l.sv * (l.systolic - l.relaxed) * 1.01);
    }
    const PressureVolumeLoop left = pressureVolumeLoop(m, LeftV);
    double peak = 0;
    for (double u = 0; u <= 1; u += 0.001) peak = std::max(peak, left.ejectionPressure(u));
    EXPECT_NEAR(peak, m.SystP, 0.05);
    // Above 175 ml the diastolic relation is 1 + 1/0.33, about four times as steep.
    const double c = m.Comp[LeftV];
    const double below =
        ventricleDiastolicPressure(170, c, 0) - ventricleDiastolicPressure(160, c, 0);
    const double above =
        ventricleDiastolicPressure(190, c, 0) - ventricleDiastolicPressure(180, c, 0);
    EXPECT_NEAR(above / below, 1 + 1 / 0.33, 1e-9);
    EXPECT_NEAR(strokeWorkMillijoules(1000), 133.322, 1e-9);
}

TEST_F(CurvesTest, CsvHoldsEverySeriesAsNumbers) {
    load();
    const std::string csv = diagramCsv(diagramData(s()));
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "series,x,y");
    int venous = 0, rows = 0;
    while (std::getline(in, line)) {
        ++rows;
        const auto c2 = line.rfind(',');
        const auto c1 = line.rfind(',', c2 - 1);
        ASSERT_NE(c1, std::string::npos) << line;
        std::size_t used = 0;
        EXPECT_NO_THROW((void)std::stod(line.substr(c1 + 1, c2 - c1 - 1), &used)) << line;
        EXPECT_NO_THROW((void)std::stod(line.substr(c2 + 1))) << line;
        if (line.starts_with("venous return")) ++venous;
    }
    EXPECT_EQ(venous, 200);
    EXPECT_GT(rows, 500);
}

}  // namespace
}  // namespace vasora::model::test
