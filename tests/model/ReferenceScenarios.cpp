#include "ReferenceScenarios.h"

#include <charconv>
#include <functional>
#include <istream>
#include <ostream>
#include <sstream>

#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/CVModelActions.h"

namespace vasora::model::reference {
namespace {

// A recording view that also records after every repetition of AutoRun.
class ScenarioView final : public RecordingView {
  public:
    std::function<void()> onAutoRunStep;
    void autoRunStep() override {
        if (onAutoRunStep) onAutoRunStep();
    }
};

void appendArray(std::vector<double>& v, const PerCompartment& a) {
    for (int i = 1; i <= kCompartments; ++i) v.push_back(a[static_cast<std::size_t>(i)]);
}

std::vector<double> snapshot() {
    const ModelState& s = state();
    std::vector<double> v{s.ModelTime, static_cast<double>(s.StepCount), s.IterInterval};
    appendArray(v, s.Flow);
    appendArray(v, s.Press);
    appendArray(v, s.Vstrs);
    for (double x :
         {s.Vunstrs[SysV], s.VtotalBody, s.VolAdded, s.Pmcf, s.ESV_RV, s.ESV_LV, s.K2_RV, s.K2_LV})
        v.push_back(x);
    return v;
}

std::string shortest(double d) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, r.ptr);
}

}  // namespace

const std::vector<std::string>& valueNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n{"ModelTime", "StepCount", "IterInterval"};
        const char* suffix[] = {"SysA", "SysV", "RghtV", "PulmA", "PulmV", "LeftV"};
        for (const char* q : {"Flow", "Press", "Vstrs"})
            for (const char* c : suffix) n.push_back(std::string(q) + "_" + c);
        for (const char* x : {"Vunstrs_SysV", "VtotalBody", "VolAdded", "Pmcf", "ESV_RV", "ESV_LV",
                              "K2_RV", "K2_LV"})
            n.push_back(x);
        return n;
    }();
    return names;
}

std::vector<RunResult> runScenarios() {
    std::vector<RunResult> results;
    ScenarioView view;
    setView(&view);
    workbench::setRestartHooks({});

    std::string name;
    int run = 0;
    auto record = [&] { results.push_back({name, run++, snapshot()}); };
    // Every scenario starts as the model window opens: normal set, one run, display.
    auto begin = [&](const char* scenario) {
        resetState();
        name = scenario;
        run = 0;
        workbench::loadModelWindow();
        record();
    };
    auto clickRuns = [&](int n) {
        for (int i = 0; i < n; ++i) {
            workbench::clickRun();
            record();
        }
    };

    begin("normal");
    clickRuns(10);

    // Systemic arterial resistance at 200 %, then AutoRun to equilibrium.
    begin("sysa_resistance_200_autorun");
    state().Resis[SysA] = 2 * state().Resis_N[SysA];
    view.onAutoRunStep = record;
    state().AutoRunOn = 1;
    RunModel();
    record();
    DisplayValues();
    view.onAutoRunStep = nullptr;

    // Hemorrhage of 500 ml at 1000 ml/min, as the blood-volume dialog starts it.
    begin("hemorrhage_500ml");
    state().VolChangeKind = 1;
    state().VolChangeTarget = -500;
    state().VolChangeRate = -1000;
    state().VolChangeDone = 0;
    clickRuns(20);

    // Venoconstriction: 300 ml of unstressed volume made stressed at 600 ml/min.
    begin("venoconstriction_300ml");
    state().VolChangeKind = 0;
    state().VunstrsChangeTarget = 300;
    state().VunstrsChangeRate = 600;
    state().VunstrsChangeDone = 0;
    clickRuns(10);

    begin("heart_rate_120");
    state().HrtRate = 120;
    clickRuns(20);

    // Heart block: the left ventricle beats at 40 per minute.
    begin("av_block_lv_40");
    state().AVBlock = 1;
    state().HrtRate_LV = 40;
    clickRuns(20);

    // Pulmonary venous resistance at 50 %: the step shrinks to 0.0002 minute.
    begin("pulmv_resistance_50");
    state().Resis[PulmV] = 0.5 * state().Resis_N[PulmV];
    clickRuns(5);

    setView(nullptr);
    return results;
}

void writeCsv(std::ostream& out, const std::vector<RunResult>& results) {
    out << "scenario,run";
    for (const std::string& n : valueNames()) out << ',' << n;
    out << '\n';
    for (const RunResult& r : results) {
        out << r.scenario << ',' << r.run;
        for (double v : r.values) out << ',' << shortest(v);
        out << '\n';
    }
}

bool readCsv(std::istream& in, std::vector<RunResult>& results, std::string& error) {
    std::string line;
    if (!std::getline(in, line)) {
        error = "empty file";
        return false;
    }
    std::ostringstream header;
    header << "scenario,run";
    for (const std::string& n : valueNames()) header << ',' << n;
    if (line != header.str()) {
        error = "unexpected header: " + line;
        return false;
    }
    int lineNo = 1;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty()) continue;
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string f;
        while (std::getline(ss, f, ',')) fields.push_back(f);
        if (fields.size() != valueNames().size() + 2) {
            error = "line " + std::to_string(lineNo) + ": wrong number of fields";
            return false;
        }
        RunResult r;
        r.scenario = fields[0];
        r.run = std::stoi(fields[1]);
        for (std::size_t i = 2; i < fields.size(); ++i) {
            double d = 0;
            const char* b = fields[i].data();
            const char* e = b + fields[i].size();
            const auto res = std::from_chars(b, e, d);
            if (res.ec != std::errc() || res.ptr != e) {
                error = "line " + std::to_string(lineNo) + ": bad number " + fields[i];
                return false;
            }
            r.values.push_back(d);
        }
        results.push_back(std::move(r));
    }
    return true;
}

}  // namespace vasora::model::reference
