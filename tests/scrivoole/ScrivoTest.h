#pragma once
// Shared helpers of the ScrivoOLE tests: this executable is the host module (it exports
// SCRIVO_GETHWNDCONTROL and SCRIVO_SENDMESSAGE), and it records what the library does through
// the host hooks, the rich-text writer and reader, and the device context.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ObjectBytes.h"
#include "ScrivoOLE.h"

namespace scrivotest {

// The text of a byte string, which is freed; an out variable is left null for its next use.
std::string take(ScrivoString&& s);
std::string take(ScrivoString& s);

struct Message {
    std::uint32_t window;
    std::uint32_t message;
    std::uintptr_t first;
    std::intptr_t second;
};
// Window 999 is one the control does not know.
constexpr std::uint32_t kUnknownWindow = 999;
std::vector<Message>& messages();
void* controlWindowObject(std::uint32_t window);
// The window object the control answers with; by default a placeholder address per window.
extern void* (*windowObjectFor)(std::uint32_t window);

// What the hooks saw and what they answer.
struct HookLog {
    std::vector<std::string> errors;
    struct Launch {
        std::string command, file, hostDocument;
    };
    std::vector<Launch> launches;
    int launchAnswer = 1;
    int insertCalls = 0;
    int insertAnswer = 0;
    std::string insertClass, insertFile;
    std::string chooseFileAnswer;  // empty: Cancel
};
HookLog& hooks();
// Installs the recording hooks; reset clears the log and the answers.
void installHooks(bool withInsertObject = true);

ScrivoModule hostModule();

// Binds the library to this executable as the control's module.
void bind();
ScrivoExtensionObject* newObject(std::uint32_t window = 7);

std::filesystem::path fixture(const std::string& name);

// Runs body in a child process that is killed after the given seconds; its exit code, or 128 +
// the signal that ended it. What hangs or aborts then fails one test, not the whole run; an
// exception that reaches body's caller aborts the child.
int inChild(const std::function<int()>& body, unsigned seconds = 20);
// The peak resident memory of this process so far, in kilobytes.
long peakMemoryKb();
void useRegistry(const std::filesystem::path& file);

// A fresh folder under the temporary folder, removed at the end of the test.
class TempDir final {
  public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path m_path;
};

// A writer that keeps what it is given.
struct Writer {
    ScrivoRtfWriter base;
    std::string text;
    std::vector<std::size_t> pieces;
    int failAtCall = -1;  // the call (from 0) that fails; -1: none
    int calls = 0;
    explicit Writer(bool compact);
};

// A reader over a text; next() gives -1 at its end.
struct Reader {
    ScrivoRtfReader base;
    std::string text;
    std::size_t position = 0;
    explicit Reader(std::string t);
    std::string rest() const { return text.substr(position); }
};

// A device context that records the images drawn.
struct Drawn {
    int x, y, cx, cy, width, height;
    std::vector<std::uint8_t> pixels;
    std::uint32_t pixel(int px, int py) const;  // 0xAARRGGBB
};
struct Device {
    ScrivoDeviceContext dc;
    std::vector<Drawn> drawn;
    Device(std::uint32_t caps, int dpi);
};
constexpr std::uint32_t kScreenCaps = SCRIVOOLE_RC_BITBLT | SCRIVOOLE_RC_STRETCHBLT;
constexpr std::uint32_t kPrinterCaps =
    SCRIVOOLE_RC_BITBLT | SCRIVOOLE_RC_STRETCHBLT | SCRIVOOLE_RC_BANDING;

}  // namespace scrivotest
