#include "tools/vasora-cli/CliRun.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "core/AtomicFile.h"
#include "model/Curves.h"
#include "model/ModelLabels.h"
#include "model/RecordingView.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"
#include "options/ParameterSetFile.h"
#include "options/RunOptions.h"
#include "workbench/CVModelActions.h"
#include "workbench/ParameterChanges.h"

namespace vasora::cli {

using namespace vasora::model;

namespace {

const char* const kUsage =
    "usage: vasora-cli [options]\n"
    "Runs the circulation model as the model window does when it opens (normal set, one run,\n"
    "display), then applies the options in order and prints the model window's labels.\n"
    "  --run N            click Run N times\n"
    "  --autorun          tick AutoRun\n"
    "  --restart          click Restart\n"
    "  --percent          show percent of normal before printing\n"
    "  --format text|json text: one label<TAB>caption line per label (default); json: labels,\n"
    "                     colours, state and messages as one object\n"
    "  --trace FILE       write a CSV row per integration step from the start (steps made\n"
    "                     past 17 minutes, which leave the clock still, write none):\n"
    "                     ModelTime,Press(SysA),Flow(LeftV),Flow(SysV)\n"
    "  --curves FILE      after every other option has run, write Guyton's curves (venous\n"
    "                     return and cardiac function against right atrial pressure, their\n"
    "                     crossing) and both ventricles' pressure-volume loops as CSV, as the\n"
    "                     live diagram window draws them for that state (a file that cannot\n"
    "                     be written: exit status 1, after the report)\n"
    "  --set NAME=VALUE   click the parameter label NAME (lblCompSysA ... lblHR_LV,\n"
    "                     lblVtotalBody, lblVunstrsTotal, lblPit), type VALUE into its dialog\n"
    "                     and press OK. Percent rows take percent of normal; lblVo_LV ml;\n"
    "                     heart rates beats/min; lblPit the new pressure in mmHg.\n"
    "                     lblVtotalBody and lblVunstrsTotal take the signed change in ml:\n"
    "                     lblVtotalBody=500 transfuses, lblVtotalBody=-500 bleeds,\n"
    "                     lblVunstrsTotal=200 venodilates, lblVunstrsTotal=-200\n"
    "                     venoconstricts. A refused change prints its message on standard\n"
    "                     error, changes nothing, the other options still run, exit status 2.\n"
    "  --av-block         tick \"separate RV and LV Heart Rates\" in Options\n"
    "  --reflex[=LIST]    switch the baroreceptor reflex on, with every effector\n"
    "                     or those of LIST, a comma-separated choice of hr, emax, resis and\n"
    "                     venous (heart rate, contractility, arterial resistance, venous tone)\n"
    "  --intervals ITER PRINT\n"
    "                     tick custom intervals in Options with these texts (minutes)\n"
    "  --params FILE      retrieve the parameter set FILE\n"
    "  --save-params FILE save the parameter set as FILE (\".txt\" added unless present)\n"
    "A refused value or file prints its message and gives exit status 2; the remaining\n"
    "options still run.\n";

// The recording view, plus one trace row per integration step.
class CliView final : public RecordingView {
  public:
    std::ofstream* trace = nullptr;
    void stepDone() override {
        if (!trace) return;
        const ModelState& s = state();
        *trace << number(s.ModelTime) << ',' << number(s.Press[SysA]) << ','
               << number(s.Flow[LeftV]) << ',' << number(s.Flow[SysV]) << "\r\n";
    }
    // The shortest text that reads back as the same double.
    static std::string number(double v) {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        return std::string(buf, r.ptr);
    }
};

// The length of the well-formed UTF-8 sequence at the start of `s`, or 0 when it is not one
// (a stray continuation byte, a truncated or overlong sequence, a surrogate, past U+10FFFF).
std::size_t utf8Sequence(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    std::size_t n = 0;
    char32_t cp = 0;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, cp = c & 0x07;
    else
        return 0;
    if (s.size() < n) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i) & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

// A JSON string of `s`. Bytes that are not UTF-8 (a file name or file content in another
// encoding) become U+FFFD, so that the output is always valid for a strict reader.
std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = utf8Sequence(s.substr(i));
        if (n == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(s.substr(i, n));
            i += n;
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++i;
    }
    return out + "\"";
}

// Every label the displays write, in window order, and the percent button, whose caption the
// displays write too.
std::vector<std::string_view> reportedLabels() {
    std::vector<std::string_view> names;
    for (const LabelInfo& l : displayLabels()) names.push_back(l.name);
    names.push_back("cmdPercent");
    return names;
}

std::string hex(Rgb c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

// The baroreceptor reflex as the run option stands: on or off, the effectors ticked (by the
// names --reflex takes) and each effector's state (a fraction of the learner's value; ml of
// unstressed volume for venous tone).
template <class Num>
std::string reflexJson(const ReflexState& r, Num num) {
    std::string names, effect;
    for (std::size_t i = 0; i < r.options.effector.size(); ++i) {
        if (r.options.effector[i])
            names += std::string(names.empty() ? "" : ", ") + "\"" +
                     std::string(reflexEffectors()[i].option) + "\"";
        effect += (i ? ", " : "") + num(r.effect[i]);
    }
    return std::string("{\"on\": ") + (r.options.on ? "true" : "false") + ", \"effectors\": [" +
           names + "], \"effect\": [" + effect + "]}";
}

void printJson(CliView& v, std::ostream& out) {
    const ModelState& s = state();
    out << "{\n  \"labels\": {";
    bool first = true;
    for (std::string_view name : reportedLabels()) {
        out << (first ? "\n" : ",\n") << "    " << jsonString(name) << ": "
            << jsonString(v.caption(Window::CVModel, name));
        first = false;
    }
    out << "\n  },\n  \"colors\": {";
    first = true;
    for (std::string_view name : reportedLabels()) {
        const ControlLook& k = v.look(Window::CVModel, name);
        out << (first ? "\n" : ",\n") << "    " << jsonString(name) << ": {\"fore\": \""
            << hex(k.fore) << "\", \"back\": \"" << hex(k.back)
            << "\", \"bold\": " << (k.bold ? "true" : "false") << "}";
        first = false;
    }
    auto num = [](double d) { return CliView::number(d); };
    auto arr = [&](const PerCompartment& a) {
        std::string t = "[";
        for (int i = 1; i <= kCompartments; ++i)
            t += (i > 1 ? ", " : "") + num(a[static_cast<std::size_t>(i)]);
        return t + "]";
    };
    out << "\n  },\n  \"state\": {\n"
        << "    \"ModelTime\": " << num(s.ModelTime) << ",\n"
        << "    \"StepCount\": " << s.StepCount << ",\n"
        << "    \"IterInterval\": " << num(s.IterInterval) << ",\n"
        << "    \"PrintInterval\": " << num(s.PrintInterval) << ",\n"
        << "    \"AutoRunOn\": " << s.AutoRunOn << ",\n"
        << "    \"VtotalBody\": " << num(s.VtotalBody) << ",\n"
        << "    \"VstrsTotal\": " << num(s.VstrsTotal) << ",\n"
        << "    \"VunstrsTotal\": " << num(s.VunstrsTotal) << ",\n"
        << "    \"VolAdded\": " << num(s.VolAdded) << ",\n"
        << "    \"CollapseVol\": " << num(s.CollapseVol) << ",\n"
        << "    \"Pmcf\": " << num(s.Pmcf) << ",\n"
        << "    \"Flow\": " << arr(s.Flow) << ",\n"
        << "    \"Press\": " << arr(s.Press) << ",\n"
        << "    \"Vstrs\": " << arr(s.Vstrs) << ",\n"
        << "    \"Vunstrs\": " << arr(s.Vunstrs) << ",\n"
        << "    \"Reflex\": " << reflexJson(s.Reflex, num) << "\n  },\n  \"messages\": [";
    first = true;
    for (const std::string& m : v.messages) {
        out << (first ? "" : ", ") << jsonString(m);
        first = false;
    }
    out << "]\n}\n";
}

// What the --set options met when they ran.
struct SetReport {
    bool refused = false;
    std::vector<std::string> messages;  // the refusals' messages, in order
};

// --set NAME=VALUE: one learner's change through the dialogs' own checks. Returns false with
// `why` set when the option itself is malformed; a refusal of the value is found when the action
// runs, because it depends on the state then (a ramp under way, the AV block).
bool addSetOption(const std::string& arg, std::vector<std::function<void()>>& actions,
                  SetReport& report, std::ostream& err, std::string& why) {
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    if (eq == std::string::npos || !workbench::isChangeLabel(name)) {
        why = "--set takes NAME=VALUE with NAME a parameter label, not " + arg;
        return false;
    }
    const std::string text = arg.substr(eq + 1);
    actions.push_back([name, text, &report, &err] {
        const workbench::ChangeResult r = workbench::changeByText(name, text);
        if (r.status == workbench::ChangeResult::Refused) {
            // The message box the dialog would show.
            view().message(r.message);
            report.messages.push_back(r.message);
            report.refused = true;
        } else if (r.status == workbench::ChangeResult::Ignored) {
            // The window's label does nothing here; a command line should not pass in silence.
            err << "vasora-cli: " << name
                << " changes only with AV block; the left heart rate follows the right one\n";
            report.refused = true;
        } else if (r.status == workbench::ChangeResult::NoChange) {
            // The dialog takes this entry as its no-change answer, as it would Cancel.
            err << "vasora-cli: " << name << "=" << text
                << " is the dialog's no-change answer; nothing changed\n";
            report.refused = true;
        }
    });
    return true;
}

// Run options and parameter sets: the options window's actions, through the same code.
struct OptionsRun {
    bool avBlockTicked = false;  ///< stands in for the options window's chkAV_Block
    bool refused = false;
};

// Reads the option at args[i] if it is one of these: 1 read (i moved past its values), 0 not
// one of them, -1 a usage error explained in `why`.
int optionsArgument(const std::vector<std::string>& args, std::size_t& i,
                    std::vector<std::function<void()>>& actions, OptionsRun& opts,
                    std::string& why) {
    const std::string& a = args[i];
    const std::size_t left = args.size() - i - 1;
    if (a == "--av-block") {
        actions.push_back([&opts] {
            opts.avBlockTicked = true;
            options::setAVBlock(true);
        });
    } else if (a == "--reflex" || a.starts_with("--reflex=")) {
        model::ReflexOptions o;
        o.on = true;
        if (a != "--reflex" && !options::parseReflexEffectors(a.substr(9), o)) {
            why = "--reflex= takes a list of hr, emax, resis and venous";
            return -1;
        }
        actions.push_back([o] { options::setReflex(o); });
    } else if (a == "--intervals") {
        if (left < 2) {
            why = "--intervals needs two values";
            return -1;
        }
        actions.push_back([&opts, iter = args[i + 1], print = args[i + 2]] {
            if (!options::tickIntervals(iter, print)) opts.refused = true;
        });
        i += 2;
    } else if (a == "--params" || a == "--save-params") {
        if (left < 1) {
            why = a + " needs a file name";
            return -1;
        }
        const bool save = a == "--save-params";
        actions.push_back([&opts, save, file = args[++i]] {
            const bool done = save ? !options::saveParameterSet(file).empty()
                                   : options::retrieveParameterSet(file);
            if (!done) opts.refused = true;
            // The retrieval ticks or unticks the options window's box after the file.
            if (done && !save) opts.avBlockTicked = state().AVBlock != 0;
        });
    } else {
        return 0;
    }
    return 1;
}

bool parseCount(const std::string& text, int& n) {
    const char* end = text.data() + text.size();
    auto r = std::from_chars(text.data(), end, n);
    return r.ec == std::errc() && r.ptr == end && n >= 0;
}

}  // namespace

namespace {

// What the command line asks for: the clicks to make in order, and how to report.
struct Command {
    std::vector<std::function<void()>> actions;
    std::string format = "text";
    std::string tracePath;
    std::string curvesPath;
    bool percent = false;
    SetReport setReport;
    OptionsRun opts;
};

// Reads the whole command line into `c`, so that a usage error runs nothing. Returns the exit
// status when the program ends here (a usage error, --help), else -1.
int readCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    Command& c) {
    auto& actions = c.actions;
    auto& format = c.format;
    auto& tracePath = c.tracePath;
    auto& percent = c.percent;
    auto& setReport = c.setReport;
    auto& opts = c.opts;
    std::string optionError;
    auto usage = [&](const std::string& why) {
        err << "vasora-cli: " << why << "\n" << kUsage;
        return 1;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "--run") {
            int n = 0;
            if (!value(v) || !parseCount(v, n)) return usage("--run needs a whole number");
            actions.push_back([n] {
                for (int k = 0; k < n; ++k) workbench::clickRun();
            });
        } else if (a == "--autorun") {
            actions.push_back([] { workbench::clickAutoRun(true); });
        } else if (a == "--restart") {
            actions.push_back([] { workbench::clickRestart(); });
        } else if (a == "--percent") {
            percent = true;
        } else if (a == "--format") {
            if (!value(format) || (format != "text" && format != "json"))
                return usage("--format takes text or json");
        } else if (a == "--trace") {
            if (!value(tracePath)) return usage("--trace needs a file name");
        } else if (a == "--curves") {
            if (!value(c.curvesPath) || c.curvesPath.empty())
                return usage("--curves needs a file name");
        } else if (a == "--set") {
            std::string why;
            if (!value(v)) return usage("--set needs NAME=VALUE");
            if (!addSetOption(v, actions, setReport, err, why)) return usage(why);
        } else if (const int r = optionsArgument(args, i, actions, opts, optionError); r != 0) {
            if (r < 0) return usage(optionError);
        } else if (a == "--help" || a == "-h") {
            out << kUsage;
            return 0;
        } else {
            return usage("unknown option " + a);
        }
    }
    return -1;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Command c;
    if (const int status = readCommandLine(args, out, err, c); status >= 0) return status;
    auto& actions = c.actions;
    const std::string& format = c.format;
    const std::string& tracePath = c.tracePath;
    SetReport& setReport = c.setReport;
    OptionsRun& opts = c.opts;

    std::ofstream trace;
    CliView view;
    if (!tracePath.empty()) {
        trace.open(tracePath, std::ios::binary | std::ios::trunc);
        if (!trace) {
            err << "vasora-cli: cannot write " << tracePath << "\n";
            return 1;
        }
        trace << "ModelTime,Press(SysA),Flow(LeftV),Flow(SysV)\r\n";
        view.trace = &trace;
    }

    resetState();
    setView(&view);
    options::paramSetFile().clear();
    workbench::setRestartHooks({[&opts] { return opts.avBlockTicked; },
                                [&opts] {
                                    options::reloadParameterSet();
                                    if (state().ParamSetLoaded == 1)
                                        opts.avBlockTicked = state().AVBlock != 0;
                                },
                                [&opts] { opts.avBlockTicked = state().AVBlock != 0; }});
    workbench::loadModelWindow();
    for (auto& act : actions) act();
    if (c.percent) workbench::clickPercent();
    // The curves of the state the options left, written whole or not at all.
    const std::string curvesFailure =
        c.curvesPath.empty() ? std::string()
                             : writeFileAtomically(c.curvesPath, diagramCsv(diagramData(state())));

    if (format == "json") {
        printJson(view, out);
        // In text form every message goes to standard error below; here only the refusals.
        for (const std::string& m : setReport.messages) err << m << '\n';
    } else {
        for (std::string_view name : reportedLabels())
            out << name << '\t' << view.caption(Window::CVModel, name) << '\n';
        for (const std::string& m : view.messages) err << m << '\n';
    }
    setView(nullptr);
    workbench::setRestartHooks({});
    if (trace.is_open()) {
        trace.close();
        if (!trace) {
            err << "vasora-cli: writing " << tracePath << " failed\n";
            return 1;
        }
    }
    if (!curvesFailure.empty()) {
        err << "vasora-cli: the curves file " << c.curvesPath
            << " could not be saved: " << curvesFailure << "\n";
        return 1;
    }
    return setReport.refused || opts.refused ? 2 : 0;
}

}  // namespace vasora::cli
