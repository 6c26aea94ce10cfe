#pragma once

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes; for tests that must not depend on Qt.

#include <filesystem>
#include <random>
#include <string>

namespace vasora::testing {

class TempDir final {
  public:
    TempDir() {
        std::random_device rd;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            m_path = base / ("vasora-test-" + std::to_string(rd()));
            if (std::filesystem::create_directory(m_path)) break;
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path() const { return m_path.string(); }

  private:
    std::filesystem::path m_path;
};

}  // namespace vasora::testing
