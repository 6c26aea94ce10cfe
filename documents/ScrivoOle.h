#pragma once

// ScrivoOLE, the library that holds the embedded objects of the control's documents. The
// control loads it at run time, the first time a control is made: the program works without it,
// and then keeps every embedded object of a document as the bytes it was read from.
//
// Where it is looked for: the file named by the environment variable VASORA_SCRIVOOLE when that
// is set (set but empty or wrong: no library); otherwise the library's file next to the
// program, in "../lib" beside the program's folder, then in the system's library path.

#include <QString>

#include "scrivoole/ScrivoOLE.h"

namespace vasora::documents::ole {

/// The library's functions the control calls.
struct Library final {
    decltype(&New_EXTOBJ) newObject = nullptr;
    decltype(&SET_OBJECTHOSTNAME) setObjectHostName = nullptr;
    decltype(&ScrivoOLE_SetHostHooks) setHostHooks = nullptr;
    decltype(&ScrivoOLE_Poll) poll = nullptr;
    decltype(&ScrivoOLE_AllocString) allocString = nullptr;
};

/// The interface version of the extension objects the control knows how to drive.
inline constexpr int kObjectInterface = 3;

/// The library, loaded and bound to this program's module on the first call; null when it is
/// absent, of another interface version, or cannot be bound.
const Library* library();

/// Services the library asks of its host. Error boxes go through the program's dialog seam and
/// the insert-object dialog's "Browse" through its file dialog unless `hooks` gives its own;
/// the other members, when null, keep the library's own service (its insert-object dialog,
/// its starting of servers). Null: the defaults.
void setHostHooks(const ScrivoHostHooks* hooks);

}  // namespace vasora::documents::ole
