#include "Item.h"

#include <algorithm>
#include <filesystem>

#include "ExtensionObject.h"
#include "Launcher.h"
#include "LibraryState.h"
#include "Metafile.h"
#include "Platform.h"

namespace scrivoole {

namespace fs = std::filesystem;

namespace {

// Images count at their nominal 96 pixels per inch when their extent is worked out.
constexpr int kPictureDpi = 96;
// An embedded file is kept in memory and written into the document; larger files are refused.
constexpr std::size_t kMaxNativeBytes = 256u << 20;

void setExtentFromPicture(Item& item) {
    contentPicture(item);
    item.extentX = pixelsToHimetric(item.pictureWidth, kPictureDpi);
    item.extentY = pixelsToHimetric(item.pictureHeight, kPictureDpi);
}

}  // namespace

void screenDpi(int& x, int& y) {
    static int dpiX = 0, dpiY = 0;
    if (dpiX <= 0 || dpiY <= 0) {
        platform::screenDpi(dpiX, dpiY);
        if (dpiX <= 0 || dpiY <= 0) dpiX = dpiY = kPictureDpi;
    }
    x = dpiX;
    y = dpiY;
}

std::int32_t pixelsToHimetric(int pixels, int dpi) {
    if (pixels <= 0 || dpi <= 0) return 0;
    return static_cast<std::int32_t>((static_cast<long long>(pixels) * 2540 + dpi - 1) / dpi);
}

const Raster& contentPicture(Item& item) {
    if (item.picture) return *item.picture;
    Raster picture;
    if (item.unreadable) {
        picture = emptyFrame(100, 100);
    } else if (decodeBmp(item.object.native, picture) ||
               platform::decodeImage(item.object.native, picture)) {
    } else if (MetafileView view; presentationMetafile(item.object.presentation, view) &&
                                  bitmapFromMetafile(view.data, view.size, picture)) {
    } else {
        picture =
            iconPicture(item.object.topic.empty() ? item.object.className : item.object.topic);
    }
    item.pictureWidth = picture.width;
    item.pictureHeight = picture.height;
    item.picture = fitted(picture, kMaxKeptSide);
    return *item.picture;
}

ContainerDocument& ContainerDocument::instance() {
    static ContainerDocument document;
    return document;
}

Item& ContainerDocument::newItem(ScrivoExtensionObject* owner) {
    auto item = std::make_unique<Item>();
    item->owner = owner;
    item->number = nextNumber_++;
    owner->item = item.get();
    items_.push_back(std::move(item));
    return *items_.back();
}

void ContainerDocument::deleteItem(Item* item) {
    if (!item) return;
    removeFiles(*item);
    if (item->owner && item->owner->item == item) item->owner->item = nullptr;
    std::erase_if(items_, [item](const auto& held) { return held.get() == item; });
}

std::string ContainerDocument::itemFolder(const Item& item) {
    return folder_.subfolder("item" + std::to_string(item.number));
}

void ContainerDocument::removeFiles(Item& item) noexcept {
    // Only what lies in the library's own folder: a path read from anywhere else is not the
    // library's to delete.
    try {
        for (const std::string& file : {item.openFile, item.unreadableFile}) {
            if (file.empty() || !folder_.holds(file)) continue;
            std::error_code ec;
            fs::remove(file, ec);
            // The item's folder, once nothing else of the item is in it.
            fs::remove(fs::path(file).parent_path(), ec);
        }
    } catch (...) {
        // Out of memory the files stay until the folder goes with the library.
    }
}

void ContainerDocument::release() noexcept {
    for (auto& item : items_)
        if (item->owner && item->owner->item == item.get()) item->owner->item = nullptr;
    items_.clear();
    folder_.remove();
}

int ContainerDocument::pollOpenItems() {
    reapServers();
    int changed = 0;
    // A change report may lead the control to delete objects: walk a snapshot of numbers.
    std::vector<std::int32_t> open;
    for (const auto& item : items_)
        if (!item->openFile.empty()) open.push_back(item->number);
    for (std::int32_t number : open) {
        auto found = std::find_if(items_.begin(), items_.end(),
                                  [number](const auto& held) { return held->number == number; });
        if (found == items_.end()) continue;
        Item& item = **found;
        const FileStamp stamp = fileStamp(item.openFile);
        if (stamp == item.openStamp || stamp.size < 0) continue;
        std::vector<std::uint8_t> bytes;
        if (!readWholeFile(item.openFile, bytes, kMaxNativeBytes)) continue;
        item.openStamp = stamp;
        if (bytes == item.object.native) continue;
        item.object.native = std::move(bytes);
        renderContent(item);
        ++changed;
        reportChange(item, 0);
    }
    return changed;
}

void reportChange(Item& item, int code) {
    if (code != 0 && code != 1) return;
    ContainerDocument::instance().markModified();
    ScrivoExtensionObject* object = item.owner;
    if (!object) return;
    object->changed = 1;
    if (object->updating != 1) sendChangeNotification(object);
}

void renderContent(Item& item) {
    item.object.presentation.clear();
    item.picture.reset();
    setExtentFromPicture(item);
}

void updateItem(Item& item) {
    if (item.unreadable) return;
    renderContent(item);
    reportChange(item, 0);
}

bool fillFromFile(Item& item, const std::string& className, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes, kMaxNativeBytes)) return false;
    item.object = Ole1Object{};
    item.object.className = className;
    item.object.topic = safeFileName(path);
    item.object.native = std::move(bytes);
    renderContent(item);
    return true;
}

bool openInServer(Item& item) {
    if (item.unreadable) return false;
    const std::string command = serverCommand(item.object.className);
    if (command.empty()) return false;
    if (item.openFile.empty()) {
        const std::string folder = ContainerDocument::instance().itemFolder(item);
        if (folder.empty()) return false;
        const std::string file = folder + "/" + safeFileName(item.object.topic);
        if (!writeWholeFile(file, item.object.native)) return false;
        item.openFile = file;
        item.openStamp = fileStamp(file);
    }
    if (!startServer(command, item.openFile, item)) return false;
    platform::startPollTimer();
    return true;
}

}  // namespace scrivoole
