#pragma once
// The class registry as the walker and the queries see it: keys with ordered subkeys and one
// default text value each, reached through four operations. Any store of that shape serves: the
// system registry on Windows, a registry export file, or the desktop's file-type database.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace scrivoole {

using KeyHandle = std::uintptr_t;

class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    virtual KeyHandle root() = 0;
    // Opens a subkey by name, ignoring letter case.
    virtual bool open(KeyHandle parent, std::string_view name, KeyHandle& key) = 0;
    // The name of the index-th subkey; false past the last one.
    virtual bool subkeyName(KeyHandle key, std::uint32_t index, std::string& name) = 0;
    // The default value of a subkey (an empty name: of the key itself); false when the key or
    // its default value is absent.
    virtual bool defaultValue(KeyHandle key, std::string_view subkey, std::string& value) = 0;
    virtual void close(KeyHandle key) = 0;
};

// Names compare ignoring letter case; only ASCII letters fold, other bytes compare as they are.
std::string foldCase(std::string_view name);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A registry held in memory, built by the export-file reader and the desktop projection.
// Subkeys keep the order in which they were first added; a name differing only in letter case
// names the same key.
class KeyTree final : public RegistryStore {
public:
    using Node = std::uint32_t;
    static constexpr Node kRoot = 0;
    static constexpr Node kNone = 0xFFFFFFFFu;

    KeyTree();
    // The named child, added at the end when absent and add is true; kNone otherwise.
    Node child(Node parent, std::string_view name, bool add);
    void setValue(Node node, std::string_view value);
    void clearValue(Node node);
    // Detaches a child with everything below it.
    void remove(Node parent, std::string_view name);
    std::size_t size() const { return nodes_.size(); }

    KeyHandle root() override { return handle(kRoot); }
    bool open(KeyHandle parent, std::string_view name, KeyHandle& key) override;
    bool subkeyName(KeyHandle key, std::uint32_t index, std::string& name) override;
    bool defaultValue(KeyHandle key, std::string_view subkey, std::string& value) override;
    void close(KeyHandle) override {}

private:
    struct Entry {
        std::string name;
        std::string value;
        bool hasValue = false;
        std::vector<Node> children;
        std::unordered_map<std::string, Node> byFoldedName;
    };
    static KeyHandle handle(Node node) { return static_cast<KeyHandle>(node) + 1; }
    Node node(KeyHandle key) const;

    std::vector<Entry> nodes_;
};

// Reads a registry export ("REGEDIT4" or "Windows Registry Editor Version 5.00", in ANSI,
// UTF-8 or UTF-16) into a tree of its HKEY_CLASSES_ROOT keys. Any text is accepted: what is not
// understood is skipped, and a text without the header gives an empty tree.
std::unique_ptr<KeyTree> parseRegistryExport(std::string_view bytes);

#ifdef _WIN32
// The system's class registry.
std::unique_ptr<RegistryStore> openSystemRegistry();
#endif

}  // namespace scrivoole
