#pragma once
// The extension object behind the operation table.
#include <cstdint>

#include "Item.h"
#include "ScrivoOLE.h"

namespace scrivoole {

// The public fields first, then what the library keeps beside them.
struct ObjectImpl {
    ScrivoExtensionObject pub;
    ScrivoSendMessageFn send = nullptr;
};

ScrivoExtensionObject* newExtensionObject(std::uint32_t window, void* parent,
                                          ScrivoSendMessageFn send);

// Message 1361 to the object's window, waiting until it was handled.
void sendChangeNotification(ScrivoExtensionObject* object);

inline Item* itemOf(ScrivoExtensionObject* object) {
    return static_cast<Item*>(object->item);
}

// Operations of the table that live in their own files.
std::int32_t SCRIVOOLE_CALL saveRtf(ScrivoExtensionObject* object, ScrivoRtfWriter* writer,
                                    const char* format);
std::int32_t SCRIVOOLE_CALL loadRtf(ScrivoExtensionObject* object, ScrivoRtfReader* reader,
                                    std::intptr_t);
std::int32_t SCRIVOOLE_CALL create(ScrivoExtensionObject* object, const char* spec);

// The object data LoadRtf holds in memory at most (256 MiB); a reference, so that tests can
// lower it.
std::size_t& objectBytesInMemory();

// The item's rectangle in screen pixels: 100 x 100 without an item or extent.
ScrivoRect itemRect(ScrivoExtensionObject* object);

}  // namespace scrivoole
