#pragma once
// The class registry as the walker and the queries see it: keys with ordered subkeys and one
// default text value each, reached through four operations. Any store of that shape serves: the
// system registry on Windows, a registry export file, or the desktop's file-type database.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
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

// Names compare ignoring letter case, as the class registry compares them: UTF-8 names by
// Unicode's simple case folding, bytes that are no UTF-8 as they are; on Windows, names in the
// ANSI code page by the system's uppercase table. foldCase gives the form both names of a pair
// that compare equal share.
std::string foldCase(std::string_view name);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The largest buffer any query reads a default value into; a value this long or longer reads
// as too long through every one of them, so a store need keep no more of it than this.
constexpr std::size_t kLongestValueRead = 4096;

// A registry held in memory, built by the export-file reader and the desktop projection.
// Subkeys keep the order in which they were first added; a name differing only in letter case
// names the same key. A file may describe millions of keys, so a key costs a few dozen bytes
// beside its name and value: one hash table finds every child by its parent and folded name,
// and the texts lie in blocks shared by all keys.
class KeyTree final : public RegistryStore {
  public:
    using Node = std::uint32_t;
    static constexpr Node kRoot = 0;
    static constexpr Node kNone = 0xFFFFFFFFu;

    KeyTree();
    // The named child, added at the end when absent and add is true; kNone otherwise.
    Node child(Node parent, std::string_view name, bool add);
    // Keeps at most kLongestValueRead bytes of the value.
    void setValue(Node node, std::string_view value);
    void clearValue(Node node);
    // Detaches a child with everything below it.
    void remove(Node parent, std::string_view name);
    // Keys made so far, detached ones included.
    std::size_t size() const { return entries_.size(); }

    KeyHandle root() override { return handle(kRoot); }
    bool open(KeyHandle parent, std::string_view name, KeyHandle& key) override;
    bool subkeyName(KeyHandle key, std::uint32_t index, std::string& name) override;
    bool defaultValue(KeyHandle key, std::string_view subkey, std::string& value) override;
    void close(KeyHandle) override {}

  private:
    struct Entry {
        std::string_view name;
        std::string_view value;
        Node parent = kNone;  // kNone once detached: the key is then found by no lookup
        std::uint32_t hash = 0;
        bool hasValue = false;
        bool detachedChildren = false;  // children holds detached keys still to be dropped
        std::vector<Node> children;
    };
    static KeyHandle handle(Node node) { return static_cast<KeyHandle>(node) + 1; }
    Node node(KeyHandle key) const;
    const std::vector<Node>& childrenOf(Node node);
    std::string_view keep(std::string_view text);
    Node find(Node parent, std::string_view name, std::uint32_t hash) const;
    void index(Node node);

    // A deque grows without moving its entries or doubling its memory.
    std::deque<Entry> entries_;
    // Open addressing over entries_; kNone marks a free slot; at most half the slots are used.
    std::vector<Node> slots_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t blockSize_ = 0;
};

// What a registry export file may hold. A file beyond any limit is refused as a whole and reads
// as an unreadable registry: keeping part of it would answer from keys it does not have.
struct ExportLimits {
    std::size_t fileBytes = 512u << 20;
    // A line without its line end, as text; a value continued over lines counts its whole text.
    std::size_t lineBytes = 1u << 20;
    // Keys on a section's path, and characters of a key's name: the system registry's own
    // limits, so that no export of it is refused.
    std::size_t keyDepth = 512;
    std::size_t nameCharacters = 255;
    // Keys made by the whole file, deleted ones included.
    std::size_t keys = 4u << 20;
};

// Reads a registry export ("REGEDIT4" or "Windows Registry Editor Version 5.00", in ANSI,
// UTF-8 or UTF-16) into a tree of its HKEY_CLASSES_ROOT keys. Any text is accepted: what is not
// understood is skipped, and a text without the header gives an empty tree. Null when the text
// goes beyond the limits.
std::unique_ptr<KeyTree> parseRegistryExport(std::string_view bytes,
                                             const ExportLimits& limits = {});
// The same for a file, read a piece at a time; null also when it is not a regular file or
// cannot be read.
std::unique_ptr<KeyTree> readRegistryExport(const std::string& path,
                                            const ExportLimits& limits = {});
class ByteSource;
std::unique_ptr<KeyTree> readRegistryExport(ByteSource& source, const ExportLimits& limits = {});

#ifdef _WIN32
// The system's class registry.
std::unique_ptr<RegistryStore> openSystemRegistry();
#endif

}  // namespace scrivoole
