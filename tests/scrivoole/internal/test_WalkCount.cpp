// How the registry walks behind "Create *" grow with the registry, counted in registry calls:
// the list of servers for the insert-object dialog takes one pass, and no call at all is made
// when no dialog can be shown.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ExtensionObject.h"
#include "LibraryState.h"
#include "Registry.h"
#include "RegistryWalker.h"

using namespace scrivoole;
namespace fs = std::filesystem;

namespace {

// n classes with a server, n classes without one and n extensions, sorted as a registry
// lists them.
fs::path registryOf(int n) {
    const fs::path file =
        fs::temp_directory_path() /
        ("scrivoole-walk-" + std::to_string(::getpid()) + "-" + std::to_string(n) + ".reg");
    std::ofstream out(file, std::ios::binary);
    out << "REGEDIT4\n";
    for (int i = 0; i < n; ++i)
        out << "[HKEY_CLASSES_ROOT\\.e" << i << "]\n@=\"Server" << i << "\"\n";
    for (int i = 0; i < n; ++i) {
        out << "[HKEY_CLASSES_ROOT\\Plain" << i << "]\n@=\"no server\"\n";
        out << "[HKEY_CLASSES_ROOT\\Server" << i << "]\n@=\"Server number " << i << "\"\n"
            << "[HKEY_CLASSES_ROOT\\Server" << i
            << "\\CLSID]\n@=\"{00000000-0000-0000-0000-000000000001}\"\n"
            << "[HKEY_CLASSES_ROOT\\Server" << i
            << "\\Protocol\\StdFileEditing\\Server]\n@=\"server.exe\"\n";
    }
    return file;
}

class RegistryWalk : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const auto& file : files) fs::remove(file);
        ::unsetenv("SCRIVOOLE_REGISTRY");
    }
    Registry use(int n) {
        files.push_back(registryOf(n));
        ::setenv("SCRIVOOLE_REGISTRY", files.back().c_str(), 1);
        return Registry::current();
    }
    // The calls the server list takes on a registry of n classes with servers.
    std::uint64_t callsToListServers(int n) {
        Registry registry = use(n);
        const std::uint64_t before = Registry::operations();
        const auto servers = registeredServers(registry);
        const std::uint64_t calls = Registry::operations() - before;
        EXPECT_EQ(servers.size(), static_cast<std::size_t>(n));
        if (!servers.empty()) {
            EXPECT_EQ(servers.back().className, "Server" + std::to_string(n - 1));
            EXPECT_EQ(servers.back().displayName, "Server number " + std::to_string(n - 1));
        }
        return calls;
    }
    std::vector<fs::path> files;
};

TEST_F(RegistryWalk, TheServerListTakesOnePass) {
    const std::uint64_t small = callsToListServers(500);
    const std::uint64_t large = callsToListServers(4000);
    ASSERT_GT(small, 0u);
    // Eight times the keys: eight times the calls, give or take, where a walk that looked each
    // class up afresh would take sixty-four.
    EXPECT_LE(large, small * 9) << small << " calls for 500 classes, " << large << " for 4000";
}

TEST_F(RegistryWalk, CreateWithTheDialogButNoneToShowMakesNoCall) {
    use(2000);
    state().hooks = {};  // no host to answer the dialog, and no application to show it in
    ScrivoExtensionObject* object = newExtensionObject(1, nullptr, nullptr);
    const std::uint64_t before = Registry::operations();
    EXPECT_EQ(object->ops->Create(object, "*"), 0);
    EXPECT_EQ(Registry::operations() - before, 0u);
    EXPECT_EQ(object->item, nullptr);
    object->ops->Destroy(object, 1);
}

}  // namespace
