// The numbers behind the data figures: they come from the engine, they agree with the model
// window's normal values, they are physiologically sound, and computing them leaves the
// engine exactly as it was.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <sstream>

#include "figures/FigureData.h"
#include "figures/Figures.h"
#include "figures/ModelRuns.h"
#include "figures/VesselPhysics.h"
#include "model/Curves.h"
#include "model/Derived.h"
#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"

namespace vasora::figures {
namespace {

using namespace vasora::model;

const ModelState& normal() {
    static const ModelState n = normalCirculation();
    return n;
}

void expectAllSettled(const std::vector<Settled>& series) {
    for (const Settled& s : series) {
        EXPECT_TRUE(s.applied) << "refused at " << s.x;
        EXPECT_TRUE(s.settled) << "not settled at " << s.x;
        EXPECT_LE(std::fabs(s.s.FlowMax - s.s.FlowMin), 0.3) << s.x;
    }
}

const Settled& at(const std::vector<Settled>& series, double x) {
    const auto it =
        std::find_if(series.begin(), series.end(), [x](const Settled& s) { return s.x == x; });
    if (it == series.end()) throw std::runtime_error("no point at " + std::to_string(x));
    return *it;
}

TEST(ModelRuns, TheNormalCirculationIsTheModelWindowsAfterItsLoad) {
    const ModelState& n = normal();
    EXPECT_NEAR(n.Flow[LeftV], 5500, 1);
    EXPECT_NEAR(n.Press[SysA], 93.7, 0.05);
    EXPECT_NEAR(n.Pmcf, 1400.0 / 165, 0.01);
    EXPECT_EQ(n.NormalSaved, 1);
    EXPECT_EQ(n.SV_LV, n.SV_LV_N) << "the reference is the state after the first run";
}

TEST(HeartRate, The72PointIsTheNormalStrokeVolumeAndOutput) {
    const std::vector<Settled> series = heartRateSeries();
    expectAllSettled(series);
    ASSERT_EQ(series.size(), heartRates().size());
    const Settled& n = at(series, 72);
    EXPECT_NEAR(n.s.SV_LV, normal().SV_LV, 0.05);
    EXPECT_NEAR(n.s.Flow[LeftV], 5500, 1);
    for (const Settled& s : series) {
        EXPECT_EQ(s.s.HrtRate, s.x);
        EXPECT_EQ(s.s.HrtRate_LV, s.x) << "without AV block both ventricles follow";
        EXPECT_NEAR(s.s.Flow[LeftV], s.s.HrtRate * s.s.SV_LV, 1e-6);
    }
}

TEST(HeartRate, StrokeVolumeFallsAndOutputPeaksWhereFillingIsCutShort) {
    const std::vector<Settled> series = heartRateSeries();
    for (std::size_t i = 1; i < series.size(); ++i)
        EXPECT_LT(series[i].s.SV_LV, series[i - 1].s.SV_LV) << series[i].x;
    const auto best = std::max_element(series.begin(), series.end(), [](auto& a, auto& b) {
        return a.s.Flow[LeftV] < b.s.Flow[LeftV];
    });
    EXPECT_GE(best->x, 130);
    EXPECT_LE(best->x, 170);
    EXPECT_GT(best->s.Flow[LeftV], 6000);
    EXPECT_LT(at(series, 240).s.Flow[LeftV], 2000) << "almost no time left to fill";
    EXPECT_LT(at(series, 30).s.Flow[LeftV], 4000) << "slow rates lower the output too";
}

TEST(FrankStarling, StrokeVolumeRisesWithFillingAndTheStiffVentricleFillsLess) {
    const std::vector<Settled> series = bloodVolumeSeries();
    expectAllSettled(series);
    EXPECT_NEAR(at(series, 0).s.SV_LV, normal().SV_LV, 0.05);
    EXPECT_NEAR(at(series, 0).s.Vstrs[LeftV], normal().Vstrs[LeftV], 0.05);
    for (std::size_t i = 1; i < series.size(); ++i) {
        EXPECT_GT(series[i].s.Vstrs[LeftV], series[i - 1].s.Vstrs[LeftV]) << series[i].x;
        EXPECT_GT(series[i].s.SV_LV, series[i - 1].s.SV_LV) << series[i].x;
        // The run works out the stroke volume before its last step moves the volumes.
        EXPECT_NEAR(series[i].s.SV_LV, series[i].s.Vstrs[LeftV] - series[i].s.ESV_LV, 1e-3);
    }
    // Per 100 ml of blood, a stiff ventricle gains far less end-diastolic volume.
    auto gain = [&](double dV) {
        return at(series, dV + 100).s.Vstrs[LeftV] - at(series, dV).s.Vstrs[LeftV];
    };
    ASSERT_GT(series.back().s.Vstrs[LeftV], kStiffVentricleVolume);
    EXPECT_LT(gain(2200), gain(0) / 2);
}

TEST(FillingTime, RunsOutWhereTheModelsFormulaReachesZero) {
    const double root = fillingRunsOut();
    EXPECT_NEAR(root, 250.1, 0.1);
    EXPECT_NEAR(fillTime(root), 0, 1e-9);
    const std::vector<FillingPoint> f = fillingSeries();
    int crossings = 0;
    for (std::size_t i = 1; i < f.size(); ++i) {
        if ((f[i - 1].filling > 0) != (f[i].filling > 0)) {
            ++crossings;
            EXPECT_LT(f[i - 1].rate, root);
            EXPECT_GT(f[i].rate, root);
        }
    }
    EXPECT_EQ(crossings, 1);
    for (const FillingPoint& p : f) {
        EXPECT_NEAR(p.beat, p.systole + p.filling, 1e-12);
        EXPECT_LT(p.k2, 1.0 + 1e-12);
        if (p.rate == 72) {
            EXPECT_NEAR(p.k2, 1.0, 1e-4);
        } else if (p.rate == 150) {
            EXPECT_NEAR(p.k2, 0.923, 0.001);
        } else if (p.rate == 200) {
            EXPECT_NEAR(p.k2, 0.526, 0.001);
        }
    }
}

// The pressure the engine itself gives the left ventricle holding `volume` ml: one Euler step
// computes every pressure from the volumes before it moves any.
double engineLeftPressure(double volume) {
    EngineScope scope;
    workbench::loadModelWindow();
    ModelState& s = state();
    s.Vstrs[LeftV] = volume;
    s.PrintInterval = 1e-9;
    RunModel();
    return s.Press[LeftV];
}

TEST(PressureVolumeLoop, CornersAreTheModelsNormalValues) {
    const PressureVolumeLoop l = normalLoop(LeftV);
    const ModelState& n = normal();
    EXPECT_EQ(l.edv, n.Vstrs[LeftV]);
    EXPECT_EQ(l.esv, n.ESV_LV);
    EXPECT_NEAR(l.sv, l.edv - l.esv, 1e-3);
    EXPECT_NEAR(l.sv, 76.4, 0.1);
    EXPECT_NEAR(l.esp, l.emax * (l.esv - l.vo), 1e-9) << "end of systole on the Emax line";
    EXPECT_EQ(l.emax, 3.52);
    EXPECT_EQ(l.vo, 4.3);
    EXPECT_EQ(l.opening, n.DiasP);
    EXPECT_EQ(l.systolic, n.SystP);
    EXPECT_GT(l.systolic, l.opening);
    EXPECT_GT(l.opening, l.edp);
    EXPECT_NEAR(l.edp, n.Press[LeftV], 1e-9);
    EXPECT_LT(l.relaxed, l.edp) << "filling starts below the end-diastolic pressure";
    EXPECT_NEAR(l.ejectionPressure(l.peakFraction()), l.systolic, 0.01);
    // The figure's table holds the live diagram's corners.
    const std::optional<DataTable> t = figureData(649);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->rows[0], (std::vector<double>{l.edv, l.edp}));
    EXPECT_EQ(t->rows[3], (std::vector<double>{l.esv, l.esp}));
}

TEST(PressureVolumeLoop, TheDiastolicCurveIsTheEnginesAndStiffensAbove175Ml) {
    const std::vector<CurvePoint> curve = normalLoop(LeftV).diastolicRelation;
    ASSERT_EQ(curve.size(), 41u);
    EXPECT_EQ(curve.back().x, 200);
    for (const CurvePoint& c : curve) {
        if (static_cast<int>(c.x) % 25 == 0) {
            EXPECT_NEAR(c.y, engineLeftPressure(c.x), 1e-9) << c.x << " ml";
        }
    }
    auto slope = [&](std::size_t i0, std::size_t i1) {
        return (curve[i1].y - curve[i0].y) / (curve[i1].x - curve[i0].x);
    };
    const double soft = slope(20, 30), stiff = slope(36, 40);  // 100-150 ml, 180-200 ml
    EXPECT_NEAR(soft, 1 / normal().Comp[LeftV], 1e-9);
    EXPECT_NEAR(stiff / soft, 1 + 1 / 0.33, 1e-6);
    for (std::size_t i = 1; i < curve.size(); ++i) EXPECT_GT(curve[i].y, curve[i - 1].y);
}

TEST(PressureVolumeLoop, BothVentriclesEjectTheSameStrokeAgainstTheirOwnArteries) {
    const PressureVolumeLoop r = normalLoop(RghtV), l = normalLoop(LeftV);
    const ModelState& n = normal();
    EXPECT_NEAR(r.sv, l.sv, 0.01) << "at equilibrium both ventricles put out the same";
    EXPECT_NEAR(r.esp, n.Press[PulmA], 1e-9);
    EXPECT_NEAR(l.esp, n.Press[SysA], 1e-9);
    EXPECT_NEAR(r.esv, n.Press[PulmA] / n.Emax_RV + n.Vo_RV, 1e-9);
    // The same volume is ejected against about an eighth of the pressure.
    EXPECT_GT(l.strokeWork, 5 * r.strokeWork);
    const std::optional<DataTable> t = figureData(653);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->labels, (std::vector<std::string>{"right", "left"}));
    EXPECT_EQ(t->rows[1][6], l.sv);
}

TEST(Contractility, OutputRisesWithEmaxAndLevelsOffAboveNormal) {
    const std::vector<Settled> series = leftEmaxSeries();
    expectAllSettled(series);
    for (std::size_t i = 1; i < series.size(); ++i) {
        EXPECT_GT(series[i].s.Flow[LeftV], series[i - 1].s.Flow[LeftV]) << series[i].x;
        EXPECT_LT(series[i].s.Vstrs[LeftV], series[i - 1].s.Vstrs[LeftV]) << series[i].x;
        EXPECT_NEAR(series[i].s.Emax_LV, normal().Emax_LV * series[i].x / 100, 1e-12);
    }
    EXPECT_NEAR(at(series, 100).s.Flow[LeftV], 5500, 1);
    EXPECT_LT(at(series, 300).s.Flow[LeftV], 1.05 * 5500) << "venous return limits output";
    EXPECT_GT(at(series, 10).s.Press[PulmV], 2 * normal().Press[PulmV]) << "lungs congest";
}

TEST(OutputByFilling, FollowsEdvWhetherVenousToneOrBloodVolumeChanges) {
    const std::vector<Settled> tone = unstressedVolumeSeries();
    expectAllSettled(tone);
    for (std::size_t i = 1; i < tone.size(); ++i)
        EXPECT_LT(tone[i].s.Vstrs[LeftV], tone[i - 1].s.Vstrs[LeftV])
            << "more unstressed volume, less filling, at " << tone[i].x;
    EXPECT_GT(at(tone, -500).s.Flow[LeftV], 5500);
    // The figure says a change of blood volume moves along the same line.
    for (const Settled& b : bloodVolumeSeries()) {
        const double edv = b.s.Vstrs[LeftV];
        for (std::size_t i = 1; i < tone.size(); ++i) {
            const ModelState &hi = tone[i - 1].s, &lo = tone[i].s;
            if (edv > hi.Vstrs[LeftV] || edv < lo.Vstrs[LeftV]) continue;
            const double t = (edv - lo.Vstrs[LeftV]) / (hi.Vstrs[LeftV] - lo.Vstrs[LeftV]);
            const double co = lo.Flow[LeftV] + t * (hi.Flow[LeftV] - lo.Flow[LeftV]);
            EXPECT_NEAR(b.s.Flow[LeftV], co, 0.01 * co) << "blood volume change " << b.x;
        }
    }
}

TEST(VenousReturn, TheLineMeetsEveryEquilibriumExactly) {
    for (const Settled& s : bloodVolumeSeries()) {
        const double pra = rightAtrialPressure(s.s);
        EXPECT_NEAR(venousReturn(s.s, pra), s.s.Flow[SysV], 0.5) << s.x;
    }
}

// Figure 002: Guyton's diagram of the normal circulation and after the lab book's hemorrhage.
// The curves cross where the model settled; the hemorrhage moves the venous return curve to a
// lower Pmsf and the crossing to a lower output and right atrial pressure.
TEST(VenousReturn, TheFiguresCurvesCrossWhereTheModelSettled) {
    const ReturnDiagrams r = returnDiagrams();
    ASSERT_TRUE(r.changedSettled);
    EXPECT_NEAR(r.normal.Flow[LeftV], 5500, 1);
    EXPECT_NEAR(r.changed.VolAdded, kReturnFigureChange, 1.5);
    for (const auto& [d, s] :
         {std::pair{&r.normalDiagram, &r.normal}, std::pair{&r.changedDiagram, &r.changed}}) {
        ASSERT_TRUE(d->crossing.found);
        EXPECT_NEAR(d->crossing.pra, rightAtrialPressure(*s), 0.01);
        EXPECT_NEAR(d->crossing.flow, s->Flow[LeftV], 1.0);
        EXPECT_NEAR(venousReturn(*s, d->pmsf), 0, 1e-6) << "the curve reaches zero at Pmsf";
        EXPECT_LT(d->pmsf, s->Pmcf) << "the lungs and the heart fill above the systemic mean";
    }
    const GuytonDiagram &n = r.normalDiagram, &h = r.changedDiagram;
    EXPECT_LT(h.pmsf, n.pmsf - 5);
    EXPECT_EQ(h.rvr, n.rvr) << "a hemorrhage leaves the resistances alone";
    EXPECT_LT(h.crossing.flow, n.crossing.flow / 2);
    EXPECT_LT(h.crossing.pra, 0);
    EXPECT_LT(h.afterload, n.afterload) << "the heart's curve holds each state's afterload";
    const std::optional<DataTable> t = figureData(2);
    ASSERT_TRUE(t.has_value());
    const auto pmsf = std::find(t->labels.begin(), t->labels.end(), "Pmsf normal");
    ASSERT_NE(pmsf, t->labels.end());
    EXPECT_EQ(t->rows[static_cast<std::size_t>(pmsf - t->labels.begin())][0], n.pmsf);
}

TEST(Veins, VenoconstrictionRaisesThePressureAndTheModelSettlesOnTheNewLine) {
    const VeinStates v = veinStates();
    EXPECT_NEAR(v.normal.unstressed, 2905.1, 1e-9);
    EXPECT_EQ(v.normal.compliance, 104);
    EXPECT_NEAR(v.normal.volume, vesselVolume(v.normal.pressure, 2905.1, 104), 0.01);
    // The model's pressures lag its volumes by the last Euler step, far below 0.001 mmHg.
    EXPECT_NEAR(v.constricted.pressure - v.normal.pressure, 500.0 / 104, 1e-4);
    const VeinState& s = v.constrictedSettled;
    EXPECT_NEAR(s.unstressed, v.normal.unstressed + kVenoconstriction, 0.5)
        << "one step's overshoot";
    EXPECT_NEAR(s.pressure, vesselPressure(s.volume, s.unstressed, s.compliance), 1e-4);
    EXPECT_LT(s.pressure, v.constricted.pressure) << "blood has moved on to heart and arteries";
    EXPECT_GT(s.pressure, v.normal.pressure);
    EXPECT_GT(v.settledOutput, v.normalOutput);
    EXPECT_NEAR(v.stiffened.pressure, 2 * v.normal.pressure, 1e-4);
    EXPECT_NEAR(v.transfused.pressure - v.normal.pressure, kPassiveVolume / 104, 1e-4);
}

TEST(Tables, PrintAsCsvWithAHeaderAndOneLinePerRow) {
    DataTable t;
    t.labelColumn = "point";
    t.columns = {"x_ml", "y"};
    t.labels = {"a, b", "say \"hi\""};
    t.rows = {{1.5, -2}, {1e-7, 123456789}};
    EXPECT_EQ(toCsv(t), "point,x_ml,y\n\"a, b\",1.5,-2\n\"say \"\"hi\"\"\",1e-07,1.234568e+08\n");
    t.labelColumn.clear();
    EXPECT_EQ(toCsv(t), "x_ml,y\n1.5,-2\n1e-07,1.234568e+08\n");
}

TEST(Tables, EveryDataFigureGivesFullRowsAndTheDiagramsNone) {
    for (const FigureInfo& f : figureList()) {
        const std::optional<DataTable> t = figureData(f.number);
        if (!f.hasData) {
            EXPECT_FALSE(t.has_value()) << f.number;
            continue;
        }
        ASSERT_TRUE(t.has_value()) << f.number;
        EXPECT_FALSE(t->rows.empty()) << f.number;
        for (const auto& row : t->rows) {
            EXPECT_EQ(row.size(), t->columns.size()) << f.number;
            for (double v : row) EXPECT_TRUE(std::isfinite(v)) << f.number;
        }
        if (!t->labelColumn.empty()) {
            EXPECT_EQ(t->labels.size(), t->rows.size()) << f.number;
        }
    }
}

// --- No side effects --------------------------------------------------------------------------

// Every number and flag of the state, so that any difference shows.
void expectSameState(const ModelState& a, const ModelState& b) {
    for (const auto& [x, y] : {std::pair{&a.Comp, &b.Comp},
                               {&a.Resis, &b.Resis},
                               {&a.Press, &b.Press},
                               {&a.Flow, &b.Flow},
                               {&a.Vstrs, &b.Vstrs},
                               {&a.Vunstrs, &b.Vunstrs},
                               {&a.Comp_N, &b.Comp_N},
                               {&a.Flow_N, &b.Flow_N},
                               {&a.Press_N, &b.Press_N},
                               {&a.Resis_N, &b.Resis_N},
                               {&a.Vstrs_N, &b.Vstrs_N}})
        EXPECT_EQ(*x, *y);
    auto scalars = [](const ModelState& s) {
        return std::vector<double>{s.Emax_RV,     s.Emax_LV,   s.Vo_LV,         s.HrtRate,
                                   s.HrtRate_LV,  s.K2_RV,     s.K2_LV,         s.ESV_LV,
                                   s.SV_LV,       s.Pit,       s.VtotalBody,    s.Pmcf,
                                   s.SystP,       s.DiasP,     s.VolAdded,      s.VolError,
                                   s.FlowMax,     s.FlowMin,   s.IterInterval,  s.PrintInterval,
                                   s.RunUntil,    s.ModelTime, s.VolChangeRate, s.VunstrsChangeRate,
                                   s.CollapseVol, s.SV_LV_N};
    };
    EXPECT_EQ(scalars(a), scalars(b));
    EXPECT_EQ(a.StepCount, b.StepCount);
    EXPECT_EQ(a.AutoRunOn, b.AutoRunOn);
    EXPECT_EQ(a.NormalSaved, b.NormalSaved);
    EXPECT_EQ(a.ShowUnits, b.ShowUnits);
    EXPECT_EQ(a.PlotX, b.PlotX);
}

TEST(NoSideEffects, DrawingAndTablesLeaveTheLearnersModelAndWindowsAlone) {
    resetState();
    RecordingView learner;
    setView(&learner);
    // A learner's session in the middle of an experiment: a changed resistance, AutoRun off,
    // a transfusion still ramping.
    workbench::loadModelWindow();
    workbench::changeParameter(*model::parameterByLabel("lblResisSysA"), 150);
    workbench::changeBloodVolume(300);
    workbench::clickRun();
    const ModelState before = state();
    const long long points = learner.pointCount;
    const std::string flow = learner.caption(Window::CVModel, "lblFlowSysA");

    for (const FigureInfo& f : figureList()) {
        EXPECT_FALSE(renderFigure(f.number, 0.5).isNull());
        (void)figureData(f.number);
    }

    expectSameState(state(), before);
    EXPECT_EQ(&view(), &learner) << "the learner's windows are the engine's view again";
    EXPECT_EQ(learner.pointCount, points) << "nothing drawn on the learner's strip chart";
    EXPECT_TRUE(learner.messages.empty());
    EXPECT_EQ(learner.caption(Window::CVModel, "lblFlowSysA"), flow);

    // And the session goes on exactly as it would have.
    workbench::clickRun();
    const ModelState afterFigures = state();
    state() = before;
    workbench::clickRun();
    expectSameState(state(), afterFigures);
    setView(nullptr);
    resetState();
}

TEST(NoSideEffects, AZeroStateStaysZero) {
    resetState();
    (void)figureData(645);
    EXPECT_EQ(state().ModelTime, 0);
    EXPECT_EQ(state().Flow[LeftV], 0);
    EXPECT_EQ(state().NormalSaved, 0);
}

}  // namespace
}  // namespace vasora::figures
