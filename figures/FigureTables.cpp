// Every data figure's numbers as one table, for authors checking a figure against the text and
// for the tests. The tables come from the same functions the painters draw from.

#include <cmath>
#include <cstdio>

#include "figures/FigureData.h"
#include "figures/VesselPhysics.h"
#include "model/Curves.h"
#include "model/Derived.h"
#include "model/Quantities.h"

namespace vasora::figures {

using namespace vasora::model;

namespace {

DataTable settledTable(const char* x, const std::vector<Settled>& series) {
    DataTable t;
    t.columns = {x,
                 "edv_ml",
                 "esv_ml",
                 "stroke_volume_ml",
                 "cardiac_output_ml_per_min",
                 "heart_rate_per_min",
                 "k2",
                 "arterial_pressure_mmHg",
                 "right_atrial_pressure_mmHg",
                 "pulmonary_venous_pressure_mmHg",
                 "pmcf_mmHg",
                 "model_time_min",
                 "settled"};
    for (const Settled& p : series) {
        if (!p.applied) continue;
        const ModelState& s = p.s;
        t.rows.push_back({p.x, s.Vstrs[LeftV], s.ESV_LV, s.SV_LV, s.Flow[LeftV], s.HrtRate_LV,
                          s.K2_LV, s.Press[SysA], rightAtrialPressure(s), s.Press[PulmV], s.Pmcf,
                          displayedTime(s), p.settled ? 1.0 : 0.0});
    }
    return t;
}

DataTable veinTable(std::initializer_list<std::pair<const char*, const VeinState*>> rows) {
    DataTable t;
    t.labelColumn = "state";
    t.columns = {"unstressed_volume_ml", "compliance_ml_per_mmHg", "total_volume_ml",
                 "pressure_mmHg"};
    for (const auto& [name, v] : rows)
        t.add(name, {v->unstressed, v->compliance, v->volume, v->pressure});
    return t;
}

DataTable fillingTable() {
    DataTable t;
    t.columns = {"heart_rate_per_min", "beat_s", "systole_s", "filling_time_s", "k2"};
    for (const FillingPoint& f : fillingSeries())
        t.rows.push_back({f.rate, f.beat, f.systole, f.filling, f.k2});
    return t;
}

DataTable loopTable() {
    const PressureVolumeLoop l = normalLoop(LeftV);
    DataTable t;
    t.labelColumn = "point";
    t.columns = {"volume_ml", "pressure_mmHg"};
    t.add("end of diastole", {l.edv, l.edp});
    t.add("aortic valve opens", {l.edv, l.opening});
    t.add("systolic peak (drawn shape)", {peakVolume(l), l.systolic});
    t.add("end of systole", {l.esv, l.esp});
    t.add("mitral valve opens", {l.esv, l.relaxed});
    t.add("end-systolic line at zero pressure", {l.vo, 0});
    for (const CurvePoint& c : l.diastolicRelation) t.add("diastolic curve", {c.x, c.y});
    return t;
}

// Both ventricles' loops: their corners and the stroke work.
DataTable loopsTable() {
    DataTable t;
    t.labelColumn = "ventricle";
    t.columns = {"edv_ml",       "edp_mmHg",           "esv_ml",           "esp_mmHg",
                 "opening_mmHg", "peak_mmHg",          "stroke_volume_ml", "emax_mmHg_per_ml",
                 "vo_ml",        "stroke_work_mmHg_ml"};
    for (const auto& [name, v] : {std::pair{"right", RghtV}, std::pair{"left", LeftV}}) {
        const PressureVolumeLoop l = normalLoop(v);
        t.add(name, {l.edv, l.edp, l.esv, l.esp, l.opening, l.systolic, l.sv, l.emax, l.vo,
                     l.strokeWork});
    }
    return t;
}

DataTable returnTable() {
    const ReturnDiagrams r = returnDiagrams();
    DataTable t;
    t.labelColumn = "curve";
    t.columns = {"right_atrial_pressure_mmHg", "flow_ml_per_min"};
    for (const auto& [name, d] : {std::pair{"normal", &r.normalDiagram},
                                  std::pair{"after the hemorrhage", &r.changedDiagram}}) {
        const std::string suffix = std::string(" ") + name;
        for (const CurvePoint& c : d->venousReturn) t.add("venous return" + suffix, {c.x, c.y});
        for (const CurvePoint& c : d->cardiacFunction)
            t.add("cardiac function" + suffix, {c.x, c.y});
        t.add("Pmsf" + suffix, {d->pmsf, 0});
        t.add("crossing" + suffix, {d->crossing.pra, d->crossing.flow});
        t.add("operating point" + suffix, {d->operating.x, d->operating.y});
    }
    return t;
}

// The values of the lab book's loop, by the model window's label, as the window shows them.
DataTable labBookTable() {
    const ModelState s = normalCirculation();
    DataTable t;
    t.labelColumn = "label";
    t.columns = {"value"};
    for (const char* label :
         {"lblPressSysA",  "lblVstrsSysA",  "lblPressSysV",  "lblVstrsSysV", "lblPressPulmA",
          "lblVstrsPulmA", "lblPressPulmV", "lblVstrsPulmV", "lblEDV_RV",    "lblESV_RV",
          "lblSV_RV",      "lblPressRghtV", "lblEDV_LV",     "lblESV_LV",    "lblSV_LV",
          "lblPressLeftV", "lblHR_RV",      "lblFlowLeftV",  "lblSystP",     "lblDiasP",
          "lblPra",        "lblPmcf",       "lblVtotalBody"}) {
        t.add(label, {quantityByLabel(label)->value(s)});
    }
    return t;
}

std::string csvText(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::optional<DataTable> figureData(int number) {
    switch (number) {
        case 610: {
            const VeinStates v = veinStates();
            return veinTable({{"normal veins", &v.normal}});
        }
        case 615: {
            const VeinStates v = veinStates();
            return veinTable({{"normal veins", &v.normal},
                              {"venoconstriction at the same volume", &v.constricted},
                              {"venoconstriction after the model settles", &v.constrictedSettled}});
        }
        case 616: {
            const VeinStates v = veinStates();
            return veinTable({{"normal veins", &v.normal},
                              {"passive: volume added", &v.transfused},
                              {"active: unstressed volume less", &v.constricted},
                              {"active: compliance less", &v.stiffened}});
        }
        case 642:
            return settledTable("blood_volume_change_ml", bloodVolumeSeries());
        case 644:
            return fillingTable();
        case 645:
        case 646:
            return settledTable("heart_rate_set_per_min", heartRateSeries());
        case 649:
            return loopTable();
        case 653:
            return loopsTable();
        case 651:
            return settledTable("unstressed_volume_change_ml", unstressedVolumeSeries());
        case 652:
            return settledTable("lv_emax_percent_of_normal", leftEmaxSeries());
        case 1:
            return labBookTable();
        case 2:
            return returnTable();
        default:
            return std::nullopt;
    }
}

std::string toCsv(const DataTable& t) {
    std::string out;
    const bool labelled = !t.labelColumn.empty();
    if (labelled) out += csvText(t.labelColumn);
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        if (labelled || i > 0) out += ',';
        out += csvText(t.columns[i]);
    }
    out += '\n';
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        if (labelled) out += csvText(r < t.labels.size() ? t.labels[r] : std::string());
        for (std::size_t i = 0; i < t.rows[r].size(); ++i) {
            if (labelled || i > 0) out += ',';
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.7g", t.rows[r][i]);
            out += buf;
        }
        out += '\n';
    }
    return out;
}

}  // namespace vasora::figures
