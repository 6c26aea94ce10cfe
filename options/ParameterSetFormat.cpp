#include "options/ParameterSetFormat.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>

#include "core/NumberParse.h"

namespace vasora::options {

using namespace vasora::model;

namespace {

enum class Kind { Real, Text, Int16, Int32 };

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
};

void addCompartments(std::array<Field, kParameterSetLines>& t, std::size_t& n) {
    static constexpr const char* kCompartment[] = {"",
                                                   "systemic arteries",
                                                   "systemic veins",
                                                   "right ventricle",
                                                   "pulmonary arteries",
                                                   "pulmonary veins",
                                                   "left ventricle"};
    struct Entry {
        PerCompartment ModelState::*array;
        const char* name;
    };
    static constexpr Entry kEntries[] = {
        {&ModelState::Press, "pressure"},        {&ModelState::Flow, "flow"},
        {&ModelState::Vstrs, "stressed volume"}, {&ModelState::Vunstrs, "unstressed volume"},
        {&ModelState::Comp, "compliance"},       {&ModelState::Resis, "resistance"},
    };
    for (int i = 1; i <= kCompartments; ++i) {
        for (const Entry& e : kEntries) {
            Field& f = t[n++];
            f.array = e.array;
            f.index = i;
            f.name = std::string(e.name) + " of the " + kCompartment[i];
        }
    }
}

const std::array<Field, kParameterSetLines>& fields() {
    static const std::array<Field, kParameterSetLines> table = [] {
        std::array<Field, kParameterSetLines> t{};
        std::size_t n = 0;
        auto real = [&](double ModelState::*m, std::string name) {
            Field& f = t[n++];
            f.real = m;
            f.name = std::move(name);
        };
        auto int16 = [&](std::int16_t ModelState::*m, std::string name) {
            Field& f = t[n++];
            f.kind = Kind::Int16;
            f.int16 = m;
            f.name = std::move(name);
        };
        addCompartments(t, n);
        for (int k = 6; k <= 12; ++k) {
            Field& f = t[n++];
            f.kind = Kind::Text;
            f.segName = k;
            f.name = "segment name " + std::to_string(k);
        }
        real(&ModelState::CompPericard, "pericardial compliance");
        real(&ModelState::Pit, "intrathoracic pressure");
        real(&ModelState::HrtRate, "heart rate");
        real(&ModelState::K2_RV, "right ventricular filling");
        real(&ModelState::HrtRate_LV, "left ventricular heart rate");
        real(&ModelState::K2_LV, "left ventricular filling");
        int16(&ModelState::AVBlock, "AV block");
        real(&ModelState::SystP, "systolic pressure");
        real(&ModelState::DiasP, "diastolic pressure");
        real(&ModelState::Emax_RV, "right ventricular Emax");
        real(&ModelState::Emax_LV, "left ventricular Emax");
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
        real(&ModelState::IterInterval, "iteration interval");
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

const Field& fieldOf(int line) {
    return fields()[static_cast<std::size_t>(line - 1)];
}

double& realOf(const Field& f, ModelState& s) {
    return f.array ? (s.*f.array)[static_cast<std::size_t>(f.index)] : s.*f.real;
}
double realOf(const Field& f, const ModelState& s) {
    return f.array ? (s.*f.array)[static_cast<std::size_t>(f.index)] : s.*f.real;
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

// Stores the text `raw` of line `line` into `s`, or says why it is not what the line holds.
std::string storeLine(int line, std::string_view raw, ModelState& s) {
    const Field& f = fieldOf(line);
    switch (f.kind) {
        case Kind::Real: {
            const auto v = parseDecimal(raw);
            if (!v) return lineName(line) + " is not a finite number: " + quotedLine(raw);
            realOf(f, s) = *v;
            return {};
        }
        case Kind::Text: {
            std::string_view t = trimmed(raw);
            if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
            s.SegName[static_cast<std::size_t>(f.segName)] = std::string(t);
            return {};
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
                return lineName(line) + " is not a whole number: " + quotedLine(raw);
            if (wide)
                s.*f.int32 = static_cast<std::int32_t>(v);
            else
                s.*f.int16 = static_cast<std::int16_t>(v);
            return {};
        }
    }
    return {};
}

}  // namespace

std::string shortestText(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string lineName(int line) {
    return "line " + std::to_string(line) + " (" + fieldOf(line).name + ")";
}

std::optional<double> lineValue(const ModelState& s, int line) {
    const Field& f = fieldOf(line);
    switch (f.kind) {
        case Kind::Real:
            return realOf(f, s);
        case Kind::Int16:
            return s.*f.int16;
        case Kind::Int32:
            return s.*f.int32;
        case Kind::Text:
            return std::nullopt;
    }
    return std::nullopt;
}

std::string writeParameterSet(const ModelState& s) {
    std::string out;
    for (int line = 1; line <= kParameterSetLines; ++line) {
        const Field& f = fieldOf(line);
        if (f.kind == Kind::Text)
            out += "\"" + s.SegName[static_cast<std::size_t>(f.segName)] + "\"";
        else if (f.kind == Kind::Real)
            out += shortestText(*lineValue(s, line));
        else
            out += std::to_string(static_cast<long long>(*lineValue(s, line)));
        out += "\r\n";
    }
    return out;
}

ReadResult parseParameterSet(std::string_view text, ModelState& into) {
    std::size_t pos = 0;
    const bool mark = text.substr(0, 3) == "\xEF\xBB\xBF";  // a byte-order mark from an editor
    if (mark) pos = 3;
    // A file with no line is no parameter set: loading it would change nothing and say that
    // it had worked.
    if (pos == text.size())
        return {false, 0,
                mark ? "the file holds only a byte-order mark and no values" : "the file is empty"};
    int line = 0;
    while (pos < text.size() && line < kParameterSetLines) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        ++line;
        if (std::string why = storeLine(line, raw, into); !why.empty())
            return {false, line, std::move(why)};
    }
    return {true, line, {}};
}

}  // namespace vasora::options
