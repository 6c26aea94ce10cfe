#include "options/ParameterSetFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/AtomicFile.h"
#include "model/Derived.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"
#include "options/RunOptions.h"

namespace vasora::options {

using namespace vasora::model;

namespace {

std::string systemText(int err) {
    return std::error_code(err, std::generic_category()).message();
}

// Reads the beginning of `path` into `text`: one byte more than a parameter set may have, so
// that a larger file is told from one that just fits. Returns why it could not be read, or an
// empty string.
std::string readBeginning(const std::string& path, std::string& text) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (fs::is_directory(st)) return "it is a folder";
    // A pipe or a device would keep the program waiting, or never end.
    if (fs::exists(st) && !fs::is_regular_file(st)) return "it is not a plain file";
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        return "the file could not be opened (" + systemText(errno ? errno : ENOENT) + ")";
    }
    text.resize(kMostParameterSetBytes + 1);
    const std::size_t n = std::fread(text.data(), 1, text.size(), f);
    const int err = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (err) return "reading it failed (" + systemText(err) + ")";
    text.resize(n);
    return {};
}

void showSetInUse(const std::string& path) {
    paramSetFile() = path;
    view().setCaption(Window::CVModel, "txtCurrentF", path);
    view().setCaption(Window::Layout, "txtCurrentF", path);
}

}  // namespace

std::string& paramSetFile() {
    static std::string path;
    return path;
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
    // The file keeps the learner's values: the baroreceptor reflex is a run option.
    releaseReflex(saved);
    resetClock(saved);
    const std::string text = writeParameterSet(saved);
    // A set that its own retrieval would refuse is not written: the learner would find out only
    // when it is too late to change it.
    ModelState probe = saved;
    if (const ReadResult r = readParameterSet(text, probe); !r.ok) {
        view().message("The parameter set could not be saved as " + path + ": " + r.reason +
                       ", so it could not be retrieved again. Nothing was written; the model "
                       "is unchanged.");
        return {};
    }
    if (const std::string why = writeFileAtomically(path, text); !why.empty()) {
        view().message("The parameter set could not be saved as " + path + ": " + why +
                       ". Nothing was written; the model is unchanged.");
        return {};
    }
    resetClock(state());
    showSetInUse(path);
    return path;
}

bool retrieveParameterSet(const std::string& path) {
    std::string text;
    if (const std::string why = readBeginning(path, text); !why.empty()) {
        view().message("The parameter set " + path + " could not be read: " + why +
                       ". The model is unchanged.");
        return false;
    }
    // Loading the beginning of a larger file would apply a part of it and call that a success.
    if (text.size() > kMostParameterSetBytes) {
        view().message("The parameter set " + path + " was not loaded: the file is longer than " +
                       "the " + std::to_string(kMostParameterSetBytes) +
                       " bytes read of it, and a parameter set is 75 short lines. The model is "
                       "unchanged.");
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
    // The reflex, when on, starts from rest at the values of the set.
    resetReflex(s);
    showSetInUse(path);
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
