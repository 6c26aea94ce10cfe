#include "ExtensionObject.h"

#include <algorithm>
#include <cstdio>

#include "LibraryState.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace scrivoole {

namespace {

using Obj = ScrivoExtensionObject;

// Deletes the object's item; out of memory the item is only let go of, so that the object is
// left without one either way.
void dropItem(Obj* object) noexcept {
    try {
        if (Item* item = itemOf(object)) ContainerDocument::instance().deleteItem(item);
    } catch (...) {
    }
    object->item = nullptr;
}

void SCRIVOOLE_CALL deleteItem(Obj* object) {
    dropItem(object);
}

void SCRIVOOLE_CALL destroy(Obj* object, std::uint32_t flags) {
    dropItem(object);
    if (flags & 1u) delete reinterpret_cast<ObjectImpl*>(object);
}

std::int32_t SCRIVOOLE_CALL createOperation(Obj* object, const char* spec) {
    return guarded(
        [object] {
            dropItem(object);
            return 0;
        },
        [&] { return create(object, spec); });
}

std::int32_t SCRIVOOLE_CALL createAndNotify(Obj* object, const char* spec) {
    const std::int32_t result = createOperation(object, spec);
    if (result == 1) guarded([] {}, [object] { sendChangeNotification(object); });
    return result;
}

std::int32_t SCRIVOOLE_CALL saveOperation(Obj* object, ScrivoRtfWriter* writer,
                                          const char* format) {
    return guarded([] { return 0; }, [&] { return saveRtf(object, writer, format); });
}

std::int32_t SCRIVOOLE_CALL loadOperation(Obj* object, ScrivoRtfReader* reader,
                                          std::intptr_t ignored) {
    return guarded(
        [object] {
            object->updating = 0;
            dropItem(object);
            return 0;
        },
        [&] { return loadRtf(object, reader, ignored); });
}

const Raster& pictureOf(Obj* object) {
    static const Raster frame = emptyFrame(100, 100);
    Item* item = itemOf(object);
    return item ? contentPicture(*item) : frame;
}

void drawOnto(const ScrivoDeviceContext* dc, const ScrivoRect& r, const Raster& picture) {
    if (!dc || !dc->drawImage || picture.empty()) return;
    dc->drawImage(dc->context, r.left, r.top, r.right - r.left, r.bottom - r.top,
                  picture.pixels.data(), picture.width, picture.height, picture.width * 4);
}

void paintOnto(Obj* object, const ScrivoDeviceContext* dc, std::int32_t x, std::int32_t y) {
    if (!dc) return;
    ScrivoRect r = itemRect(object);
    r = {x, y, x + (r.right - r.left), y + (r.bottom - r.top)};
    constexpr std::uint32_t kAll =
        SCRIVOOLE_RC_BITBLT | SCRIVOOLE_RC_BANDING | SCRIVOOLE_RC_STRETCHBLT;
    if ((dc->rasterCaps & kAll) != kAll) {
        drawOnto(dc, r, pictureOf(object));
        return;
    }
    // A banding printer gets the picture laid on white in a bitmap of its own resolution, then
    // stretched onto the rectangle.
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    int sx = 0, sy = 0;
    screenDpi(sx, sy);
    long long bw = dc->dpiX > sx ? 1LL * w * dc->dpiX / sx : w;
    long long bh = dc->dpiY > sy ? 1LL * h * dc->dpiY / sy : h;
    // The device stretches the bitmap anyway: beyond 4096 pixels a side (a poster, or an
    // object whose stored extent is absurd) more pixels cost memory and show nothing more.
    constexpr long long kMaxBand = 4096;
    if (bw > kMaxBand || bh > kMaxBand) {
        const long long longer = std::max(bw, bh);
        bw = std::max(1LL, bw * kMaxBand / longer);
        bh = std::max(1LL, bh * kMaxBand / longer);
    }
    const Raster bitmap =
        onWhite(scaled(pictureOf(object), static_cast<int>(bw), static_cast<int>(bh)));
    drawOnto(dc, r, bitmap);
}

void SCRIVOOLE_CALL paint(Obj* object, const ScrivoDeviceContext* dc, std::int32_t x,
                          std::int32_t y) {
    guarded([] {}, [&] { paintOnto(object, dc, x, y); });
}

void SCRIVOOLE_CALL draw(Obj* object, const ScrivoDeviceContext* dc, std::int32_t dx,
                         std::int32_t dy) {
    guarded([] {},
            [&] {
                ScrivoRect r = itemRect(object);
                r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
                drawOnto(dc, r, pictureOf(object));
            });
}

void SCRIVOOLE_CALL getRect(Obj* object, ScrivoRect* rect) {
    if (rect) *rect = itemRect(object);
}

void SCRIVOOLE_CALL activate(Obj* object, std::intptr_t, std::intptr_t) {
    guarded([] {},
            [object] {
                if (Item* item = itemOf(object)) openInServer(*item);
            });
}

const char* SCRIVOOLE_CALL getName(Obj* object) {
    static char name[32];
    const Item* item = itemOf(object);
    std::snprintf(name, sizeof name, "ScrivoOLE %ld", static_cast<long>(item ? item->number : 0));
    return name;
}

std::int32_t SCRIVOOLE_CALL getNumber(Obj* object) {
    const Item* item = itemOf(object);
    return item ? item->number : 0;
}

// Slots whose meaning lies with the control.
std::int32_t SCRIVOOLE_CALL zero3(Obj*, std::intptr_t, std::intptr_t, std::intptr_t) {
    return 0;
}
void SCRIVOOLE_CALL nothing3(Obj*, std::intptr_t, std::intptr_t, std::intptr_t) {}
void SCRIVOOLE_CALL nothing2(Obj*, std::intptr_t, std::intptr_t) {}
void SCRIVOOLE_CALL nothing1(Obj*, std::intptr_t) {}
std::int32_t SCRIVOOLE_CALL zero1(Obj*, std::intptr_t) {
    return 0;
}
std::int32_t SCRIVOOLE_CALL minusOne4(Obj*, std::intptr_t, std::intptr_t, std::intptr_t,
                                      std::intptr_t) {
    return -1;
}
std::int32_t SCRIVOOLE_CALL minusOneOut(Obj*, std::intptr_t, std::intptr_t, std::intptr_t,
                                        std::int32_t* out) {
    if (out) *out = 0;
    return -1;
}
std::int32_t SCRIVOOLE_CALL minusOne3(Obj*, std::intptr_t, std::intptr_t, std::intptr_t) {
    return -1;
}
std::int32_t SCRIVOOLE_CALL equal2(Obj*, std::intptr_t a, std::intptr_t b) {
    return a == b;
}

const ScrivoExtObjOps kOperations = {
    destroy,       createAndNotify, createOperation, paint,    zero3,   draw,
    nothing3,      getRect,         activate,        nothing2, getName, getNumber,
    saveOperation, loadOperation,   deleteItem,      nothing1, zero1,   minusOne4,
    minusOne4,     minusOneOut,     minusOne3,       nothing1, equal2,  nothing1,
};

}  // namespace

ScrivoRect itemRect(Obj* object) {
    ScrivoRect r{0, 0, 100, 100};
    const Item* item = itemOf(object);
    if (item && item->extentX != 0 && item->extentY != 0) {
        int dpiX = 0, dpiY = 0;
        screenDpi(dpiX, dpiY);
        r.right = static_cast<std::int32_t>(1LL * item->extentX * dpiX / 2540);
        r.bottom = static_cast<std::int32_t>(1LL * item->extentY * dpiY / 2540);
    }
    return r;
}

ScrivoExtensionObject* newExtensionObject(std::uint32_t window, void* parent,
                                          ScrivoSendMessageFn send) {
    auto* impl = new ObjectImpl{};
    Obj& o = impl->pub;
    o.ops = &kOperations;
    o.version = 3;
    o.controlD = 1000;
    o.id = ++state().objectCounter;
    o.window = window;
    o.parent = parent;
    impl->send = send;
    return &o;
}

void sendChangeNotification(Obj* object) {
#ifdef _WIN32
    SendMessageA(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(object->window)),
                 SCRIVOOLE_MSG_OBJECTCHANGED, 0, reinterpret_cast<LPARAM>(object));
#else
    if (auto send = reinterpret_cast<ObjectImpl*>(object)->send)
        send(object->window, SCRIVOOLE_MSG_OBJECTCHANGED, 0, reinterpret_cast<intptr_t>(object));
#endif
}

}  // namespace scrivoole
