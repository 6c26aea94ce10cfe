// Stored reference of fixed scenarios: every run's clock, step count, flows, pressures, volumes
// and ventricle values must match reference/model_runs.csv.
//
// Tolerance: relative 1e-9 (absolute 1e-9 for values below 1). The engine is built without
// fused multiply-add and evaluates its equations in a fixed order, so a correct build gives the
// same numbers to the last bit on every machine; the margin only allows for a libm whose exp()
// differs in the last place.
//
// When the model's equations change on purpose, regenerate the file and review the difference:
//   cmake --build build --target make_model_reference
//   build/tests/model/make_model_reference tests/model/reference/model_runs.csv

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>

#include "ReferenceScenarios.h"

namespace vasora::model::reference {
namespace {

constexpr double kRelTol = 1e-9;

std::vector<RunResult> stored() {
    std::ifstream in(VASORA_REFERENCE_FILE, std::ios::binary);
    std::vector<RunResult> r;
    std::string error;
    EXPECT_TRUE(in.good()) << "cannot open " << VASORA_REFERENCE_FILE;
    EXPECT_TRUE(readCsv(in, r, error)) << error;
    return r;
}

TEST(ModelReference, EveryRunMatchesTheStoredResults) {
    const auto expected = stored();
    const auto actual = runScenarios();
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(actual.size(), expected.size()) << "number of runs differs";
    const auto& names = valueNames();
    int mismatches = 0;
    for (std::size_t k = 0; k < actual.size(); ++k) {
        const RunResult& a = actual[k];
        const RunResult& e = expected[k];
        ASSERT_EQ(a.scenario, e.scenario) << "row " << k;
        ASSERT_EQ(a.run, e.run) << "row " << k;
        ASSERT_EQ(a.values.size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            const double tol = kRelTol * std::max(1.0, std::fabs(e.values[i]));
            if (std::fabs(a.values[i] - e.values[i]) > tol && mismatches++ < 20)
                ADD_FAILURE() << a.scenario << " run " << a.run << " " << names[i] << ": "
                              << a.values[i] << " stored " << e.values[i];
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The stored file itself must describe a plausible circulation, so that a regenerated file
// from a broken engine is not accepted unseen.
TEST(ModelReference, StoredResultsArePhysiologicallyPlausible) {
    const auto rows = stored();
    std::map<std::string, std::vector<const RunResult*>> byScenario;
    for (const RunResult& r : rows) byScenario[r.scenario].push_back(&r);
    const auto& names = valueNames();
    auto col = [&](const char* n) {
        return static_cast<std::size_t>(std::find(names.begin(), names.end(), n) - names.begin());
    };
    const std::size_t flowLV = col("Flow_LeftV"), psa = col("Press_SysA"), steps = col("StepCount"),
                      total = col("VtotalBody"), added = col("VolAdded"),
                      iter = col("IterInterval");

    for (const auto& [name, runs] : byScenario) {
        SCOPED_TRACE(name);
        // The run made at load is the normal circulation whatever the scenario.
        EXPECT_EQ(runs.front()->run, 0);
        EXPECT_NEAR(runs.front()->values[flowLV], 5500, 1);
        EXPECT_NEAR(runs.front()->values[psa], 93.7, 0.05);
        EXPECT_EQ(runs.front()->values[steps], 100);
        // The clock only grows, volume is accounted for.
        for (std::size_t k = 1; k < runs.size(); ++k) {
            EXPECT_GT(runs[k]->values[col("ModelTime")], runs[k - 1]->values[col("ModelTime")]);
            EXPECT_NEAR(runs[k]->values[total], 5000 + runs[k]->values[added], 0.01);
        }
    }
    ASSERT_EQ(byScenario.size(), 7u);
    const auto last = [&](const char* s) { return byScenario.at(s).back()->values; };
    // Normal: still 5500 after ten more runs.
    EXPECT_NEAR(last("normal")[flowLV], 5500, 1);
    // Eleven runs of 100 steps; the summed 0.001s may fall just short of a run's end, which
    // then takes one step more.
    EXPECT_NEAR(last("normal")[steps], 1100, 1);
    // Doubled arterial resistance: lower output, higher pressure, flows settled before 15 min.
    const auto sysa = last("sysa_resistance_200_autorun");
    EXPECT_LT(sysa[flowLV], 5000);
    EXPECT_GT(sysa[psa], 110);
    EXPECT_LT(sysa[col("ModelTime")], 15);
    double lo = 1e300, hi = -1e300;
    for (const char* f :
         {"Flow_SysA", "Flow_SysV", "Flow_RghtV", "Flow_PulmA", "Flow_PulmV", "Flow_LeftV"})
        lo = std::min(lo, sysa[col(f)]), hi = std::max(hi, sysa[col(f)]);
    EXPECT_LE(hi - lo, 0.3);
    // Hemorrhage: 500 ml gone, output and pressure down.
    const auto bleed = last("hemorrhage_500ml");
    EXPECT_NEAR(bleed[added], -500, 1.0);
    EXPECT_LT(bleed[flowLV], 5000);
    EXPECT_LT(bleed[psa], 93);
    // Venoconstriction: more stressed volume, higher output, same total.
    const auto veno = last("venoconstriction_300ml");
    EXPECT_GT(veno[flowLV], 5700);
    EXPECT_NEAR(veno[col("Vunstrs_SysV")], 2905.1 - 300, 0.6 + 0.05);  // one step of 0.6 ml
    EXPECT_NEAR(veno[added], 0, 1e-12);
    // A faster heart with its filling nearly complete pumps more.
    const auto hr = last("heart_rate_120");
    EXPECT_GT(hr[flowLV], 5500);
    EXPECT_LT(hr[col("K2_RV")], 1.0);
    // Heart block: the slow left ventricle limits output, the lungs congest.
    const auto block = last("av_block_lv_40");
    EXPECT_LT(block[flowLV], 5500);
    EXPECT_GT(block[col("Press_PulmV")], 5.6);
    // Lowered pulmonary venous resistance: five steps of 0.0002 per 0.001 of time.
    const auto pv = last("pulmv_resistance_50");
    EXPECT_EQ(pv[iter], 0.0002);
    EXPECT_NEAR(pv[steps], 100 + 5 * 500, 5);
}

}  // namespace
}  // namespace vasora::model::reference
