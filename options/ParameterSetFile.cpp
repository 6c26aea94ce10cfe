#include "options/ParameterSetFile.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include "model/Derived.h"
#include "model/Vasora_Model_coding.h"
#include "options/RunOptions.h"

namespace vasora::options {

using namespace vasora::model;

namespace {

enum class Kind { Real, Text, Int16, Int32 };
enum class Check { None, NonZero, IterInterval };

// What one line of the file holds.
struct Field {
    Kind kind = Kind::Real;
    std::string name;
    PerCompartment ModelState::*array = nullptr;
    int index = 0;
    double ModelState::*real = nullptr;
    std::int16_t ModelState::*int16 = nullptr;
    std::int32_t ModelState::*int32 = nullptr;
    int segName = 0;
    Check check = Check::None;
};

const std::array<Field, kParameterSetLines>& fields() {
    static const std::array<Field, kParameterSetLines> table = [] {
        std::array<Field, kParameterSetLines> t{};
        std::size_t n = 0;
        auto real = [&](double ModelState::*m, std::string name, Check c = Check::None) {
            Field& f = t[n++];
            f.real = m;
            f.name = std::move(name);
            f.check = c;
        };
        auto int16 = [&](std::int16_t ModelState::*m, std::string name) {
            Field& f = t[n++];
            f.kind = Kind::Int16;
            f.int16 = m;
            f.name = std::move(name);
        };
        static constexpr const char* kCompartment[] = {"",
                                                       "systemic arteries",
                                                       "systemic veins",
                                                       "right ventricle",
                                                       "pulmonary arteries",
                                                       "pulmonary veins",
                                                       "left ventricle"};
        for (int i = 1; i <= kCompartments; ++i) {
            const std::string of = std::string(" of the ") + kCompartment[i];
            const bool resisDivides = i != RghtV && i != LeftV;
            struct Entry {
                PerCompartment ModelState::*array;
                const char* name;
                Check check;
            };
            const Entry entries[] = {
                {&ModelState::Press, "pressure", Check::None},
                {&ModelState::Flow, "flow", Check::None},
                {&ModelState::Vstrs, "stressed volume", Check::None},
                {&ModelState::Vunstrs, "unstressed volume", Check::None},
                {&ModelState::Comp, "compliance", Check::NonZero},
                {&ModelState::Resis, "resistance", resisDivides ? Check::NonZero : Check::None},
            };
            for (const Entry& e : entries) {
                Field& f = t[n++];
                f.array = e.array;
                f.index = i;
                f.name = e.name + of;
                f.check = e.check;
            }
        }
        for (int k = 6; k <= 12; ++k) {
            Field& f = t[n++];
            f.kind = Kind::Text;
            f.segName = k;
            f.name = "segment name " + std::to_string(k);
        }
        real(&ModelState::CompPericard, "pericardial compliance");
        real(&ModelState::Pit, "intrathoracic pressure");
        real(&ModelState::HrtRate, "heart rate", Check::NonZero);
        real(&ModelState::K2_RV, "right ventricular filling");
        real(&ModelState::HrtRate_LV, "left ventricular heart rate", Check::NonZero);
        real(&ModelState::K2_LV, "left ventricular filling");
        int16(&ModelState::AVBlock, "AV block");
        real(&ModelState::SystP, "systolic pressure");
        real(&ModelState::DiasP, "diastolic pressure");
        real(&ModelState::Emax_RV, "right ventricular Emax", Check::NonZero);
        real(&ModelState::Emax_LV, "left ventricular Emax", Check::NonZero);
        real(&ModelState::Vo_RV, "right ventricular Vo");
        real(&ModelState::Vo_LV, "left ventricular Vo");
        real(&ModelState::VunstrsChangeTarget, "unstressed volume change target");
        real(&ModelState::VolChangeTarget, "blood volume change target");
        real(&ModelState::VolChangeRate, "blood volume change rate");
        real(&ModelState::VolChangeDone, "blood volume change done");
        real(&ModelState::VunstrsChangeRate, "unstressed volume change rate");
        real(&ModelState::VunstrsChangeDone, "unstressed volume change done");
        real(&ModelState::CollapseRate, "vein collapse rate");
        real(&ModelState::VunstrsTotal, "total unstressed volume");
        real(&ModelState::VstrsTotal, "total stressed volume");
        real(&ModelState::VtotalBody, "total blood volume");
        real(&ModelState::VolAdded, "volume added");
        real(&ModelState::IterInterval, "iteration interval", Check::IterInterval);
        real(&ModelState::PrintInterval, "display interval");
        real(&ModelState::RunUntil, "run end time");
        real(&ModelState::ModelTime, "model time");
        int16(&ModelState::NormalSaved, "normal-saved flag");
        {
            Field& f = t[n++];
            f.kind = Kind::Int32;
            f.int32 = &ModelState::StepCount;
            f.name = "step count";
        }
        int16(&ModelState::PlotSpan, "plot span");
        int16(&ModelState::PlotHidden, "plot-hidden flag");
        return t;
    }();
    return table;
}

std::string shortest(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool parseWhole(std::string_view s, long long lo, long long hi, long long& out) {
    s = trimmed(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size() && out >= lo &&
           out <= hi;
}

std::string quotedLine(std::string_view s) {
    std::string out(s.substr(0, 40));
    if (s.size() > 40) out += "...";
    return "\"" + out + "\"";
}

}  // namespace

std::string& paramSetFile() {
    static std::string path;
    return path;
}

std::string writeParameterSet(const ModelState& s) {
    std::string out;
    for (const Field& f : fields()) {
        switch (f.kind) {
            case Kind::Real:
                out +=
                    shortest(f.array ? (s.*f.array)[static_cast<std::size_t>(f.index)] : s.*f.real);
                break;
            case Kind::Text:
                out += "\"" + s.SegName[static_cast<std::size_t>(f.segName)] + "\"";
                break;
            case Kind::Int16:
                out += std::to_string(s.*f.int16);
                break;
            case Kind::Int32:
                out += std::to_string(s.*f.int32);
                break;
        }
        out += "\r\n";
    }
    return out;
}

ReadResult readParameterSet(std::string_view text, ModelState& target) {
    // A copy takes the values; the target is only replaced once every line has passed.
    ModelState next = target;
    const auto& table = fields();
    int line = 0;
    std::size_t pos = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // a byte-order mark from an editor
    while (pos < text.size() && line < kParameterSetLines) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const Field& f = table[static_cast<std::size_t>(line)];
        ++line;
        const std::string where = "line " + std::to_string(line) + " (" + f.name + ")";
        switch (f.kind) {
            case Kind::Real: {
                const auto v = parseDecimal(raw);
                if (!v) return {false, line, where + " is not a finite number: " + quotedLine(raw)};
                if (f.check == Check::NonZero && *v == 0)
                    return {false, line, where + " is 0, and the model would divide by it"};
                if (f.check == Check::IterInterval && *v < kMinIterInterval)
                    return {false, line,
                            where + " is below 0.0001 minute, and a run would never end"};
                if (f.array)
                    (next.*f.array)[static_cast<std::size_t>(f.index)] = *v;
                else
                    next.*f.real = *v;
                break;
            }
            case Kind::Text: {
                std::string_view t = trimmed(raw);
                if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
                    t = t.substr(1, t.size() - 2);
                next.SegName[static_cast<std::size_t>(f.segName)] = std::string(t);
                break;
            }
            case Kind::Int16:
            case Kind::Int32: {
                long long v = 0;
                const bool wide = f.kind == Kind::Int32;
                const long long lo = wide ? std::numeric_limits<std::int32_t>::min()
                                          : std::numeric_limits<std::int16_t>::min();
                const long long hi = wide ? std::numeric_limits<std::int32_t>::max()
                                          : std::numeric_limits<std::int16_t>::max();
                if (!parseWhole(raw, lo, hi, v))
                    return {false, line, where + " is not a whole number: " + quotedLine(raw)};
                if (wide)
                    next.*f.int32 = static_cast<std::int32_t>(v);
                else
                    next.*f.int16 = static_cast<std::int16_t>(v);
                break;
            }
        }
    }
    double compliance = 0;
    for (int i = 1; i <= kCompartments; ++i) compliance += next.Comp[static_cast<std::size_t>(i)];
    if (compliance == 0)
        return {false, 5,
                "the compliances (lines 5 to 35) add up to 0, and the model would "
                "divide by their sum"};
    target = next;
    return {true, line, {}};
}

std::string withTxtExtension(const std::string& path) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (path.size() >= 4) {
        const std::string tail = path.substr(path.size() - 4);
        std::string l;
        for (char c : tail) l += lower(c);
        if (l == ".txt") return path;
    }
    return path + ".txt";
}

std::string writeFileAtomically(const std::string& path, std::string_view text) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::random_device rd;
    fs::path temp = target;
    temp += ".saving-" + std::to_string(rd() % 1000000u);
    std::error_code ec;
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        if (!f) return "the file could not be created";
        f.write(text.data(), static_cast<std::streamsize>(text.size()));
        f.close();
        if (!f) {
            fs::remove(temp, ec);
            return "the file could not be written";
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return ec.message();
    }
    return {};
}

std::string saveParameterSet(const std::string& chosenPath) {
    const std::string path = withTxtExtension(chosenPath);
    // The clock is reset in the file and, once the file is written, in the model: the next
    // run then stores a new normal reference, as the first run after retrieving the file will.
    auto resetClock = [](ModelState& s) {
        setDefaultIntervals(s);
        s.RunUntil = 0;
        s.ModelTime = 0;
        s.NormalSaved = 0;
        s.StepCount = 0;
    };
    ModelState saved = state();
    resetClock(saved);
    if (const std::string why = writeFileAtomically(path, writeParameterSet(saved)); !why.empty()) {
        view().message("The parameter set could not be saved as " + path + ": " + why +
                       ". Nothing was written; the model is unchanged.");
        return {};
    }
    resetClock(state());
    paramSetFile() = path;
    view().setCaption(Window::CVModel, "txtCurrentF", path);
    view().setCaption(Window::Layout, "txtCurrentF", path);
    return path;
}

bool retrieveParameterSet(const std::string& path) {
    std::error_code ec;
    std::ifstream f;
    if (std::filesystem::is_regular_file(path, ec)) f.open(path, std::ios::binary);
    // 75 lines of numbers take a few kilobytes; a file picked by mistake may be huge, and no
    // more than its beginning is needed to read (or refuse) it.
    constexpr std::size_t kMostRead = 1 << 20;
    std::string text(kMostRead, '\0');
    if (f) {
        f.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(f.gcount()));
    }
    if (!f.is_open() || f.bad()) {
        view().message("The parameter set " + path + " could not be read. The model is unchanged.");
        return false;
    }
    ModelState& s = state();
    const ReadResult r = readParameterSet(text, s);
    if (!r.ok) {
        view().message("The parameter set " + path + " was not loaded: " + r.reason +
                       ". The model is unchanged.");
        return false;
    }
    s.ParamSetLoaded = 1;
    paramSetFile() = path;
    view().setCaption(Window::CVModel, "txtCurrentF", path);
    view().setCaption(Window::Layout, "txtCurrentF", path);
    setAVBlock(s.AVBlock != 0);
    view().plotClear();
    RunModel();
    DisplayValues();
    view().showWindow(Window::PlotData);
    return true;
}

void reloadParameterSet() {
    if (!paramSetFile().empty() && retrieveParameterSet(paramSetFile())) return;
    SetNormalParameters();
    RunModel();
}

}  // namespace vasora::options
