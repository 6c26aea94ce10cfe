#include "ScrivoTest.h"

#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>

// The host module's exports, found by the library through dlsym on this executable.
extern "C" __attribute__((visibility("default"))) void* SCRIVO_GETHWNDCONTROL(std::uint32_t w) {
    return scrivotest::controlWindowObject(w);
}

extern "C" __attribute__((visibility("default"))) std::intptr_t SCRIVO_SENDMESSAGE(
    std::uint32_t window, std::uint32_t message, std::uintptr_t first, std::intptr_t second) {
    scrivotest::messages().push_back({window, message, first, second});
    return 0;
}

namespace scrivotest {

namespace fs = std::filesystem;

std::string take(ScrivoString& s) {
    std::string text = s ? std::string(s, ScrivoOLE_StringLength(s)) : std::string();
    ScrivoOLE_FreeString(s);
    s = nullptr;
    return text;
}

std::string take(ScrivoString&& s) {
    return take(s);
}

std::vector<Message>& messages() {
    static std::vector<Message> m;
    return m;
}

namespace {
void* placeholderWindow(std::uint32_t window) {
    static char windows[64];
    return &windows[window % 64];
}
}  // namespace

void* (*windowObjectFor)(std::uint32_t window) = placeholderWindow;

void* controlWindowObject(std::uint32_t window) {
    if (window == kUnknownWindow) return nullptr;
    return windowObjectFor(window);
}

HookLog& hooks() {
    static HookLog log;
    return log;
}

namespace {

void SCRIVOOLE_CALL showError(void*, const char* text) {
    hooks().errors.emplace_back(text);
}

std::int32_t SCRIVOOLE_CALL launch(void*, const char* command, const char* file,
                                   const char* hostDocument) {
    hooks().launches.push_back({command, file, hostDocument});
    return hooks().launchAnswer;
}

std::int32_t SCRIVOOLE_CALL insertObject(void*, ScrivoString* className, ScrivoString* file) {
    ++hooks().insertCalls;
    const auto& h = hooks();
    *className = ScrivoOLE_AllocString(h.insertClass.data(),
                                       static_cast<std::uint32_t>(h.insertClass.size()));
    *file =
        ScrivoOLE_AllocString(h.insertFile.data(), static_cast<std::uint32_t>(h.insertFile.size()));
    return h.insertAnswer;
}

ScrivoString SCRIVOOLE_CALL chooseFile(void*) {
    const auto& answer = hooks().chooseFileAnswer;
    if (answer.empty()) return nullptr;
    return ScrivoOLE_AllocString(answer.data(), static_cast<std::uint32_t>(answer.size()));
}

std::int32_t SCRIVOOLE_CALL writeText(ScrivoRtfWriter* w, const char* text, std::int32_t length) {
    auto* writer = reinterpret_cast<Writer*>(w);
    if (writer->calls++ == writer->failAtCall) return 1;
    const std::size_t n = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
    writer->text.append(text, n);
    writer->pieces.push_back(n);
    return 0;
}
const ScrivoRtfWriterOps kWriterOps = {{nullptr, nullptr, nullptr, nullptr}, writeText};

std::int32_t SCRIVOOLE_CALL nextChar(ScrivoRtfReader* r) {
    auto* reader = reinterpret_cast<Reader*>(r);
    if (reader->position >= reader->text.size()) return -1;
    return static_cast<unsigned char>(reader->text[reader->position++]);
}
const ScrivoRtfReaderOps kReaderOps = {nextChar};

void SCRIVOOLE_CALL drawImage(void* context, std::int32_t x, std::int32_t y, std::int32_t cx,
                              std::int32_t cy, const std::uint8_t* pixels, std::int32_t width,
                              std::int32_t height, std::int32_t stride) {
    auto* device = static_cast<Device*>(context);
    Drawn d{x, y, cx, cy, width, height, {}};
    for (int row = 0; row < height; ++row)
        d.pixels.insert(d.pixels.end(), pixels + row * stride, pixels + row * stride + width * 4);
    device->drawn.push_back(std::move(d));
}

}  // namespace

void installHooks(bool withInsertObject) {
    hooks() = HookLog{};
    messages().clear();
    ScrivoHostHooks h{};
    h.showError = showError;
    h.launch = launch;
    h.insertObject = withInsertObject ? insertObject : nullptr;
    h.chooseFile = chooseFile;
    ScrivoOLE_SetHostHooks(&h);
}

ScrivoModule hostModule() {
    static void* self = dlopen(nullptr, RTLD_NOW);
    return self;
}

void bind() {
    std::int32_t slot = 5;
    ASSERT_EQ(SET_OLDCREATOR(hostModule(), 0, &slot), 1);
    ASSERT_EQ(slot, 0);
}

ScrivoExtensionObject* newObject(std::uint32_t window) {
    bind();
    return New_EXTOBJ(window, 0, 3);
}

fs::path fixture(const std::string& name) {
    const char* source = std::getenv("VASORA_SOURCE_DIR");
    return fs::path(source ? source : ".") / "tests" / "scrivoole" / "fixtures" / name;
}

int inChild(const std::function<int()>& body, unsigned seconds) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        ::alarm(seconds);
        // An exception that leaves the library ends the child as it would end a host in C.
        std::_Exit([&]() noexcept { return body(); }());
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

long peakMemoryKb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void useRegistry(const fs::path& file) {
    ::setenv("SCRIVOOLE_REGISTRY", file.c_str(), 1);
}

TempDir::TempDir() {
    static std::mt19937 random(static_cast<unsigned>(::getpid()));
    m_path = fs::temp_directory_path() / ("scrivoole-test-" + std::to_string(random()));
    fs::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

fs::path TempDir::write(const std::string& name, const std::string& bytes) const {
    const fs::path file = m_path / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

Writer::Writer(bool compact) : base{&kWriterOps, compact ? 1 : 0} {}

Reader::Reader(std::string t) : base{&kReaderOps}, text(std::move(t)) {}

std::uint32_t Drawn::pixel(int px, int py) const {
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(py) * width + px) * 4];
    return static_cast<std::uint32_t>(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0];
}

Device::Device(std::uint32_t caps, int dpi) : dc{caps, dpi, dpi, drawImage, this} {}

}  // namespace scrivotest
