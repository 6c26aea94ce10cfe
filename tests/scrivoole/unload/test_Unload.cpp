// Temporary copies of activated objects: a folder of the process's own that nobody can take
// over in advance, and nothing of it left once the library is unloaded or the program ends.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "ObjectBytes.h"
#include "scrivoole/ScrivoOLE.h"

namespace fs = std::filesystem;

extern "C" __attribute__((visibility("default"))) void* SCRIVO_GETHWNDCONTROL(std::uint32_t) {
    static char window;
    return &window;
}

extern "C" __attribute__((visibility("default"))) std::intptr_t SCRIVO_SENDMESSAGE(std::uint32_t,
                                                                                   std::uint32_t,
                                                                                   std::uintptr_t,
                                                                                   std::intptr_t) {
    return 0;
}

namespace {

// Set in children of the tests, which end with the objects they made still alive, as a host
// may end: what they leave is no leak of the library's.
bool endingWithObjects = false;

}  // namespace

extern "C" __attribute__((visibility("default"), used)) int __lsan_is_turned_off() {
    return endingWithObjects ? 1 : 0;
}

namespace {

std::vector<std::string>& launched() {
    static std::vector<std::string> files;
    return files;
}

std::int32_t SCRIVOOLE_CALL launch(void*, const char*, const char* file, const char*) {
    launched().emplace_back(file);
    return 1;
}

template <typename F>
F symbol(void* library, const char* name) {
    return reinterpret_cast<F>(dlsym(library, name));
}

// The library loaded from its file, bound to this executable, with a picture object made and
// opened in its (pretended) server: the file the server was given.
struct Loaded {
    void* library = nullptr;
    std::vector<ScrivoExtensionObject*> objects;

    std::string openObject(const fs::path& picture) {
        library = dlopen(SCRIVOOLE_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
        if (!library) return {};
        ScrivoHostHooks hooks{};
        hooks.launch = launch;
        symbol<void(SCRIVOOLE_CALL*)(const ScrivoHostHooks*)>(library,
                                                              "ScrivoOLE_SetHostHooks")(&hooks);
        std::int32_t slot = 0;
        symbol<decltype(&SET_OLDCREATOR)>(library, "SET_OLDCREATOR")(dlopen(nullptr, RTLD_NOW), 0,
                                                                     &slot);
        const auto create = symbol<decltype(&New_EXTOBJ)>(library, "New_EXTOBJ");
        const std::string spec = "Paint.Picture*" + picture.string();
        launched().clear();
        for (int i = 0; i < 2; ++i) {
            ScrivoExtensionObject* o = create(7, 0, 3);
            if (!o || o->ops->Create(o, spec.c_str()) != 1) return {};
            o->ops->Activate(o, 0, 0);
            objects.push_back(o);
        }
        return launched().size() == 2 ? launched()[0] : std::string();
    }

    // True when the library is gone from the process.
    bool unload() {
        dlclose(library);
        return dlopen(SCRIVOOLE_LIBRARY_FILE, RTLD_NOW | RTLD_NOLOAD) == nullptr;
    }
};

class Unload : public ::testing::Test {
  protected:
    void SetUp() override {
        // Unloading the library unloads the toolkit it brought in, and with it a system library
        // below Qt (OpenMP, for hashing) whose start-up allocation the leak checker then counts
        // as lost. Held by the test, it stays loaded; where it is absent nothing is held.
        static void* const held = dlopen("libgomp.so.1", RTLD_NOW | RTLD_NODELETE);
        (void)held;
        static std::mt19937 random(static_cast<unsigned>(::getpid()));
        static const fs::path temporary = fs::temp_directory_path();
        base = temporary / ("scrivoole-unload-" + std::to_string(random()));
        fs::create_directories(base);
        ::setenv("TMPDIR", base.c_str(), 1);
        const char* source = std::getenv("VASORA_SOURCE_DIR");
        const fs::path registry =
            fs::path(source ? source : ".") / "tests/scrivoole/fixtures/classes.reg";
        ::setenv("SCRIVOOLE_REGISTRY", registry.c_str(), 1);
        picture = base / "picture.bmp";
        std::ofstream(picture, std::ios::binary) << scrivotest::bmpFile(8, 8, scrivotest::green);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(base, ec);
    }
    // The folders under the temporary folder, apart from the test's own files.
    std::vector<fs::path> folders() const {
        std::vector<fs::path> out;
        for (const auto& entry : fs::directory_iterator(base))
            if (entry.is_directory()) out.push_back(entry.path());
        return out;
    }
    fs::path base;
    fs::path picture;
};

TEST_F(Unload, ThePrivateFolderIsNewAndGoesWithTheLibrary) {
    // A folder named as a process of this number would name its own, made by someone else.
    const fs::path squatted = base / ("scrivoole-" + std::to_string(::getpid()));
    fs::create_directories(squatted / "item1");
    Loaded loaded;
    const fs::path file = loaded.openObject(picture);
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(fs::exists(file));
    const fs::path folder = file.parent_path().parent_path();
    EXPECT_EQ(folder.parent_path(), base);
    EXPECT_NE(folder, squatted);
    EXPECT_EQ(folder.filename().string().rfind("scrivoole-", 0), 0u);
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(st.st_uid, ::getuid());

    ASSERT_TRUE(loaded.unload());
    EXPECT_FALSE(fs::exists(folder));
    // The container document was released: no object is left pointing at an item.
    for (ScrivoExtensionObject* o : loaded.objects) EXPECT_EQ(o->item, nullptr);
    EXPECT_EQ(folders(), std::vector<fs::path>{squatted});
    EXPECT_TRUE(fs::exists(squatted / "item1"));
    // The library that made them is gone, and with it their Destroy: freed as plain memory.
    for (ScrivoExtensionObject* o : loaded.objects) ::operator delete(o);
}

TEST_F(Unload, TheEndOfTheProgramRemovesTheFolderAndAForkedChildLeavesItsParents) {
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t program = ::fork();
    if (program == 0) {
        endingWithObjects = true;
        Loaded loaded;
        const std::string file = loaded.openObject(picture);
        // A child of the program ends normally; the program's folder stays until it ends too.
        const pid_t child = ::fork();
        if (child == 0) std::exit(0);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string answer = fs::exists(file) ? file : "gone after the child ended";
        (void)!::write(pipe[1], answer.data(), answer.size());
        std::exit(0);  // without unloading the library
    }
    ::close(pipe[1]);
    std::string answer;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
    ::close(pipe[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(program, &status, 0), program);
    ASSERT_TRUE(fs::path(answer).is_absolute()) << answer;
    EXPECT_FALSE(fs::exists(answer));
    EXPECT_TRUE(folders().empty());
}

}  // namespace
