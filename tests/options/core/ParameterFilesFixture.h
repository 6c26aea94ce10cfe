#pragma once

// What the parameter-set tests share: whole files as text and lines, and a fixture with the
// model at its normal set, a recording view and a fresh folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/RecordingView.h"
#include "model/Vasora_Model_coding.h"
#include "options/ParameterSetFile.h"
#include "workbench/CVModelActions.h"

namespace vasora::testing {

namespace fs = std::filesystem;

inline std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

inline std::string join(const std::vector<std::string>& lines, const char* eol = "\r\n") {
    std::string t;
    for (const auto& l : lines) t += l + eol;
    return t;
}

inline std::string readAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class ParameterFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        model::resetState();
        options::paramSetFile().clear();
        model::setView(&view);
        workbench::setRestartHooks({});
        workbench::loadModelWindow();
        view.messages.clear();
        dir =
            fs::temp_directory_path() /
            ("vasora-params-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        model::setView(nullptr);
        fs::remove_all(dir);
    }
    std::string file(const char* name) { return (dir / name).string(); }

    model::RecordingView view;
    fs::path dir;
};

}  // namespace vasora::testing
