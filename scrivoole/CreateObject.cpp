// Create: the embedded item from the insert-object dialog, from a file or from a class name.
#include <cctype>

#include "ByteString.h"
#include "ExtensionObject.h"
#include "Launcher.h"
#include "LibraryState.h"
#include "Platform.h"
#include "Registry.h"
#include "RegistryWalker.h"

namespace scrivoole {

namespace {

constexpr std::size_t kMaxSpec = 500;
constexpr std::size_t kClassIdBuffer = 300;

bool isBracedClassId(const std::string& text) {
    // {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash != (text[i] == '-')) return false;
        if (!dash && !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

// Objects are made only of classes the registry knows with an identifier.
bool classRegistered(const std::string& className) {
    if (className.empty()) return false;
    Registry registry = Registry::current();
    KeyHandle key = 0;
    if (!registry.open(registry.root(), className, key)) return false;
    const std::string id = registry.value(key, "CLSID", kClassIdBuffer);
    registry.close(key);
    return isBracedClassId(id);
}

bool createFromFile(Item& item, const std::string& className, const std::string& path) {
    return classRegistered(className) && fillFromFile(item, className, path);
}

bool createFromFileOfItsType(Item& item, const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string type =
        Registry::current().fileTypeOfExtension(std::string_view(path).substr(dot + 1));
    return !type.empty() && createFromFile(item, type, path);
}

// The first extension registered for a class, so that its server recognises the new file.
std::string extensionOfClass(const std::string& className) {
    Registry registry = Registry::current();
    std::string name;
    for (std::uint32_t i = 0; registry.enumerate(registry.root(), i, name); ++i)
        if (!name.empty() && name[0] == '.' &&
            equalsIgnoringCase(registry.value(registry.root(), name), className))
            return name;
    return {};
}

bool createNew(Item& item, const std::string& className) {
    if (!classRegistered(className)) return false;
    item.object = Ole1Object{};
    item.object.className = className;
    item.object.topic = "Object" + extensionOfClass(className);
    renderContent(item);
    return openInServer(item);
}

bool createFromDialog(ScrivoExtensionObject* object, Item& item) {
    platform::InsertChoice choice;
    const auto& hooks = state().hooks;
    if (hooks.insertObject) {
        ScrivoString className = nullptr, file = nullptr;
        const bool confirmed = hooks.insertObject(hooks.context, &className, &file) != 0;
        choice.className = std::string(argument(className));
        choice.file = std::string(argument(file));
        freeString(className);
        freeString(file);
        if (!confirmed) return false;
    } else if (!platform::insertObjectDialog(
                   object->parent, [] { return registeredServers(Registry::current()); }, choice)) {
        return false;
    }
    if (!choice.file.empty()) return createFromFileOfItsType(item, choice.file);
    return createNew(item, choice.className);
}

}  // namespace

std::int32_t SCRIVOOLE_CALL create(ScrivoExtensionObject* object, const char* spec) {
    const std::string s(argument(spec));
    if (s.empty() || s.size() > kMaxSpec) return 0;
    if (Item* old = itemOf(object)) ContainerDocument::instance().deleteItem(old);
    Item& item = ContainerDocument::instance().newItem(object);
    // The names go with the item from the start: a new object is opened in its server before
    // the create is complete.
    item.hostApplication = "ScrivoObj";
    item.hostDocument = state().objectHostName;
    bool made = false;
    if (s == "*") {
        made = createFromDialog(object, item);
    } else if (s[0] == '*') {
        made = createFromFileOfItsType(item, s.substr(1));
    } else if (const auto star = s.find('*', 1); star != std::string::npos) {
        made = createFromFile(item, s.substr(0, star), s.substr(star + 1));
    } else {
        made = createNew(item, s);
    }
    if (!made) {
        ContainerDocument::instance().deleteItem(&item);
        return 0;
    }
    return 1;
}

}  // namespace scrivoole
