#include "RegistryStore.h"

namespace scrivoole {

std::string foldCase(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

KeyTree::KeyTree() { nodes_.emplace_back(); }

KeyTree::Node KeyTree::child(Node parent, std::string_view name, bool add) {
    std::string folded = foldCase(name);
    if (auto found = nodes_[parent].byFoldedName.find(folded);
        found != nodes_[parent].byFoldedName.end())
        return found->second;
    if (!add) return kNone;
    const auto index = static_cast<Node>(nodes_.size());
    nodes_.emplace_back();
    nodes_.back().name = std::string(name);
    nodes_[parent].children.push_back(index);
    nodes_[parent].byFoldedName.emplace(std::move(folded), index);
    return index;
}

void KeyTree::setValue(Node node, std::string_view value) {
    nodes_[node].value = std::string(value);
    nodes_[node].hasValue = true;
}

void KeyTree::clearValue(Node node) {
    nodes_[node].value.clear();
    nodes_[node].hasValue = false;
}

void KeyTree::remove(Node parent, std::string_view name) {
    auto& entry = nodes_[parent];
    auto found = entry.byFoldedName.find(foldCase(name));
    if (found == entry.byFoldedName.end()) return;
    const Node gone = found->second;
    entry.byFoldedName.erase(found);
    std::erase(entry.children, gone);
    // The detached entries stay in the vector, unreachable; a file that deletes and re-adds
    // keys over and over only costs memory in proportion to its own length.
}

KeyTree::Node KeyTree::node(KeyHandle key) const {
    if (key == 0 || key > nodes_.size()) return kNone;
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
    if (p == kNone || index >= nodes_[p].children.size()) return false;
    name = nodes_[nodes_[p].children[index]].name;
    return true;
}

bool KeyTree::defaultValue(KeyHandle key, std::string_view subkey, std::string& value) {
    Node n = node(key);
    if (n == kNone) return false;
    if (!subkey.empty()) n = child(n, subkey, false);
    if (n == kNone) return false;
    // A key without a default value reads as an empty one, as the registry's own call does.
    value = nodes_[n].hasValue ? nodes_[n].value : std::string();
    return true;
}

}  // namespace scrivoole
