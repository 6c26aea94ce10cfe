#pragma once
// The process's own folder under the temporary folder, for the copies that servers edit and for
// objects too large to hold in memory.
#include <string>

namespace scrivoole {

class TempFolder final {
  public:
    TempFolder() = default;
    ~TempFolder() { remove(); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, made on first use as a new folder with a name nobody can foresee, readable
    // by its owner alone (on Linux by mkdtemp, mode 0700): a folder made in advance under a
    // name the library would use is never taken for its own. Empty when it cannot be made.
    std::string path();
    // A new subfolder of that folder; empty when it cannot be made.
    std::string subfolder(const std::string& name);
    // True for a path inside the folder this process made.
    bool holds(const std::string& path) const;
    // Removes the folder with everything in it. A process forked from the one that made it
    // leaves it alone: it is still the parent's.
    void remove() noexcept;

  private:
    std::string path_;
    unsigned long owner_ = 0;  // the process that made it
};

}  // namespace scrivoole
