#pragma once
// Embedded items: the class name and native data of one object, its picture, and its copy in a
// temporary file while it is open in its server. One container document holds the items of
// every extension object.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Ole1Stream.h"
#include "Raster.h"
#include "ScrivoOLE.h"
#include "TempFolder.h"

namespace scrivoole {

struct FileStamp {
    long long size = -1;
    long long modified = 0;
    bool operator==(const FileStamp&) const = default;
};

struct Item {
    ScrivoExtensionObject* owner = nullptr;
    std::int32_t number = 0;
    Ole1Object object;
    // An object whose data could not be read keeps its bytes to write them back unchanged.
    bool unreadable = false;
    std::vector<std::uint8_t> unreadableBytes;
    // An unreadable object larger than LoadRtf holds in memory: its bytes in a file of the
    // library's temporary folder; refused when they could not be kept there, and then it
    // cannot be saved.
    std::string unreadableFile;
    std::uint64_t unreadableFileSize = 0;
    bool refused = false;
    // The content extent in hundredths of a millimetre; 0 when the item has none.
    std::int32_t extentX = 0;
    std::int32_t extentY = 0;
    std::string hostApplication;
    std::string hostDocument;
    // While open in a server: the file it edits and that file's state when last read.
    std::string openFile;
    FileStamp openStamp;
    std::optional<Raster> picture;
    // The content's own size in pixels (the picture itself may be reduced).
    int pictureWidth = 0;
    int pictureHeight = 0;
};

// The picture of the content as drawn and saved: an image file as itself, else the stored
// presentation's bitmap, else an icon labelled with the file name; the empty frame for an
// unreadable object.
const Raster& contentPicture(Item& item);

// The screen's logical pixels per inch, read once.
void screenDpi(int& x, int& y);

// Pixels to hundredths of a millimetre at the screen's resolution, rounded up so that the
// conversion back gives the same pixels.
std::int32_t pixelsToHimetric(int pixels, int dpi);

// The one container document, made when the library first needs it and released when the
// library is unloaded or the program ends.
class ContainerDocument final {
  public:
    static ContainerDocument& instance();
    ContainerDocument() = default;
    ~ContainerDocument() { release(); }
    ContainerDocument(const ContainerDocument&) = delete;
    ContainerDocument& operator=(const ContainerDocument&) = delete;
    // A new item with the next item number, linked both ways with the object.
    Item& newItem(ScrivoExtensionObject* owner);
    // Deletes an item with its storage (the temporary file of a server).
    void deleteItem(Item* item);
    void markModified() { modified_ = true; }
    bool modified() const { return modified_; }
    // Takes in what servers saved to open items; the count of items changed.
    int pollOpenItems();
    // A new folder of the library's own for one item's files; empty when it cannot be made.
    std::string itemFolder(const Item& item);
    // Lets go of every item, leaving their objects without one, and removes the library's
    // temporary folder with all it holds: nothing of a learner's objects stays on the disk.
    void release() noexcept;

  private:
    void removeFiles(Item& item) noexcept;

    TempFolder folder_;
    std::vector<std::unique_ptr<Item>> items_;
    std::int32_t nextNumber_ = 1;
    bool modified_ = false;
};

// Change reports of an item: 0 "changed", 1 "saved"; other codes are ignored.
void reportChange(Item& item, int code);

// Draws the content picture anew from the native data and takes its extent; no report.
void renderContent(Item& item);

// The item renders itself anew from its native data and reports the change.
void updateItem(Item& item);

// Fills an item from a file's bytes; false when the file cannot be read or is too large.
bool fillFromFile(Item& item, const std::string& className, const std::string& path);

// Opens the item in its server through a temporary file; false when there is no server or
// it cannot be started.
bool openInServer(Item& item);

}  // namespace scrivoole
