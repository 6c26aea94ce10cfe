#include "RegistryStore.h"

#include <algorithm>
#include <stdexcept>

namespace scrivoole {

namespace {

constexpr std::size_t kBlockBytes = 64u << 10;

std::uint32_t hashOf(KeyTree::Node parent, std::string_view name) {
    std::uint32_t h = 2166136261u ^ parent;
    for (char c : foldCase(name)) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

}  // namespace

KeyTree::KeyTree() : slots_(16, kNone) {
    entries_.emplace_back();
}

std::string_view KeyTree::keep(std::string_view text) {
    if (text.empty()) return {};
    if (blockUsed_ + text.size() > blockSize_) {
        blockSize_ = std::max(kBlockBytes, text.size());
        blocks_.push_back(std::make_unique<char[]>(blockSize_));
        blockUsed_ = 0;
    }
    char* at = blocks_.back().get() + blockUsed_;
    std::copy(text.begin(), text.end(), at);
    blockUsed_ += text.size();
    return {at, text.size()};
}

KeyTree::Node KeyTree::find(Node parent, std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Node n = slots_[i];
        if (n == kNone) return kNone;
        const Entry& e = entries_[n];
        if (e.hash == hash && e.parent == parent && equalsIgnoringCase(e.name, name)) return n;
    }
}

void KeyTree::index(Node node) {
    const auto place = [this](Node n) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = entries_[n].hash & mask;
        while (slots_[i] != kNone) i = (i + 1) & mask;
        slots_[i] = n;
    };
    if (entries_.size() * 2 > slots_.size()) {
        std::vector<Node> old(slots_.size() * 2, kNone);
        old.swap(slots_);
        for (Node n : old)
            if (n != kNone) place(n);
    }
    place(node);
}

KeyTree::Node KeyTree::child(Node parent, std::string_view name, bool add) {
    const std::uint32_t hash = hashOf(parent, name);
    if (const Node found = find(parent, name, hash); found != kNone || !add) return found;
    if (entries_.size() >= kNone - 1) throw std::length_error("registry too large");
    const auto n = static_cast<Node>(entries_.size());
    Entry entry;
    entry.name = keep(name);
    entry.parent = parent;
    entry.hash = hash;
    entries_[parent].children.push_back(n);
    entries_.push_back(std::move(entry));
    index(n);
    return n;
}

void KeyTree::setValue(Node node, std::string_view value) {
    entries_[node].value = keep(value.substr(0, kLongestValueRead));
    entries_[node].hasValue = true;
}

void KeyTree::clearValue(Node node) {
    entries_[node].value = {};
    entries_[node].hasValue = false;
}

void KeyTree::remove(Node parent, std::string_view name) {
    const Node gone = find(parent, name, hashOf(parent, name));
    if (gone == kNone) return;
    // Dropped from the parent's list when it is next listed, so that deleting many of many
    // siblings costs one pass. The detached entries stay, unreachable; a file that deletes and
    // re-adds keys over and over only costs memory in proportion to its own length.
    entries_[gone].parent = kNone;
    entries_[parent].detachedChildren = true;
}

const std::vector<KeyTree::Node>& KeyTree::childrenOf(Node n) {
    Entry& e = entries_[n];
    if (e.detachedChildren) {
        std::erase_if(e.children, [&](Node c) { return entries_[c].parent != n; });
        e.detachedChildren = false;
    }
    return e.children;
}

KeyTree::Node KeyTree::node(KeyHandle key) const {
    if (key == 0 || key > entries_.size()) return kNone;
    return static_cast<Node>(key - 1);
}

bool KeyTree::open(KeyHandle parent, std::string_view name, KeyHandle& key) {
    const Node p = node(parent);
    if (p == kNone) return false;
    const Node c = child(p, name, false);
    if (c == kNone) return false;
    key = handle(c);
    return true;
}

bool KeyTree::subkeyName(KeyHandle key, std::uint32_t index, std::string& name) {
    const Node p = node(key);
    if (p == kNone) return false;
    const auto& children = childrenOf(p);
    if (index >= children.size()) return false;
    name = entries_[children[index]].name;
    return true;
}

bool KeyTree::defaultValue(KeyHandle key, std::string_view subkey, std::string& value) {
    Node n = node(key);
    if (n == kNone) return false;
    if (!subkey.empty()) n = child(n, subkey, false);
    if (n == kNone) return false;
    // A key without a default value reads as an empty one, as the registry's own call does.
    value = entries_[n].hasValue ? entries_[n].value : std::string_view();
    return true;
}

}  // namespace scrivoole
