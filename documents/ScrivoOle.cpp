#include "documents/ScrivoOle.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <memory>

#include "shell/Dialogs.h"

#ifndef VASORA_SCRIVOOLE_NAME
#define VASORA_SCRIVOOLE_NAME "libScrivoOLE.so.0"
#endif

namespace vasora::documents::ole {
namespace {

QStringList candidates() {
    if (qEnvironmentVariableIsSet("VASORA_SCRIVOOLE")) {
        const QString file = qEnvironmentVariable("VASORA_SCRIVOOLE");
        return file.isEmpty() ? QStringList{} : QStringList{file};
    }
    const QString name = QStringLiteral(VASORA_SCRIVOOLE_NAME);
    QStringList files;
    if (QCoreApplication::instance()) {
        const QString dir = QCoreApplication::applicationDirPath();
        files << dir + QLatin1Char('/') + name
              << dir + QStringLiteral("/" VASORA_LIB_FROM_BIN "/") + name;
#ifdef VASORA_MULTIARCH_LIB_FROM_BIN
        // The Debian package's place, whatever library folder this build was configured with.
        files << dir + QStringLiteral("/" VASORA_MULTIARCH_LIB_FROM_BIN "/") + name;
#endif
    }
    files << name;  // the system's library path
    return files;
}

template <class F>
bool resolve(QLibrary& lib, const char* name, F& out) {
    out = reinterpret_cast<F>(lib.resolve(name));
    return out != nullptr;
}

void SCRIVOOLE_CALL showError(void*, const char* text) {
    QString shown = QString::fromLocal8Bit(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ui::messageBox(shown.trimmed(), QStringLiteral("Error"));
}

ScrivoString SCRIVOOLE_CALL chooseFile(void*) {
    const QString file = ui::seam().openFile(nullptr, QStringLiteral("Browse"), {}, {});
    const Library* lib = library();
    if (file.isEmpty() || !lib) return nullptr;
    // The library frees what it is given with its own allocator.
    const QByteArray bytes = file.toLocal8Bit();
    return lib->allocString(bytes.constData(), quint32(bytes.size()));
}

// What the library is given: the program's error box and file dialog unless setHostHooks()
// gives others, whether that comes before or after the library is loaded.
ScrivoHostHooks g_hooks{showError, nullptr, nullptr, chooseFile, nullptr};

// The program's own module, where the library finds SCRIVO_GETHWNDCONTROL and
// SCRIVO_SENDMESSAGE. Without them the library would complain in a message box of its own at
// every object; the control then does without it.
void* hostModule() {
    void* self = dlopen(nullptr, RTLD_LAZY);
    if (!self) return nullptr;
    if (!dlsym(self, "SCRIVO_GETHWNDCONTROL") || !dlsym(self, "SCRIVO_SENDMESSAGE")) {
        dlclose(self);
        return nullptr;
    }
    return self;
}

std::unique_ptr<Library> load(QLibrary& lib) {
    auto l = std::make_unique<Library>();
    decltype(&GET_EXTOBJ_VERSION) version = nullptr;
    decltype(&SET_OLDCREATOR) bind = nullptr;
    if (!resolve(lib, "GET_EXTOBJ_VERSION", version) || !resolve(lib, "SET_OLDCREATOR", bind) ||
        !resolve(lib, "New_EXTOBJ", l->newObject) ||
        !resolve(lib, "SET_OBJECTHOSTNAME", l->setObjectHostName) ||
        !resolve(lib, "ScrivoOLE_SetHostHooks", l->setHostHooks) ||
        !resolve(lib, "ScrivoOLE_Poll", l->poll) ||
        !resolve(lib, "ScrivoOLE_AllocString", l->allocString))
        return nullptr;
    if (version() != kObjectInterface) return nullptr;
    void* module = hostModule();
    if (!module) return nullptr;
    // Messages of the binding already go through the program's dialogs.
    l->setHostHooks(&g_hooks);
    qint32 slot = 0;
    if (bind(module, 0, &slot) != 1) return nullptr;
    return l;
}

const Library* loadOnce() {
    for (const QString& file : candidates()) {
        if (QFileInfo(file).isAbsolute() && !QFileInfo(file).isFile()) continue;
        // Never unloaded: objects, and the library's own timers, may live to the program's end.
        auto* lib = new QLibrary(file);
        if (lib->load()) {
            if (auto l = load(*lib)) return l.release();
            lib->unload();
        }
        delete lib;
    }
    return nullptr;
}

}  // namespace

const Library* library() {
    static const Library* loaded = loadOnce();
    return loaded;
}

void setHostHooks(const ScrivoHostHooks* hooks) {
    ScrivoHostHooks h{};
    if (hooks) h = *hooks;
    if (!h.showError) h.showError = showError;
    if (!h.chooseFile) h.chooseFile = chooseFile;
    g_hooks = h;
    if (const Library* lib = library()) lib->setHostHooks(&g_hooks);
}

}  // namespace vasora::documents::ole
