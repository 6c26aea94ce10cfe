// Platform services of the Windows build, which links no toolkit: the system's message box, an
// open-file dialog in place of the insert-object dialog, the screen's resolution and a timer
// of the user-interface thread for picking up edits.
#ifdef _WIN32
// windows.h first: the dialog header needs what it defines.
#include <windows.h>

#include <commdlg.h>

#include "Platform.h"
#include "ScrivoOLE.h"

namespace scrivoole::platform {

void showError(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

// Without a dialog of its own the Windows build offers the creation from a file only.
bool insertObjectDialog(void* parent, const std::function<std::vector<ServerEntry>()>&,
                        InsertChoice& choice) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(parent);
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = "Insert Object";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameA(&dialog)) return false;
    choice.file = file;
    return true;
}

bool decodeImage(const std::vector<std::uint8_t>&, Raster&) {
    return false;
}

void screenDpi(int& x, int& y) {
    HDC screen = GetDC(nullptr);
    x = GetDeviceCaps(screen, LOGPIXELSX);
    y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

namespace {
void CALLBACK pollTick(HWND, UINT, UINT_PTR, DWORD) {
    ScrivoOLE_Poll();
}
}  // namespace

// The timer's procedure is the library's code: the timer goes when the library is unloaded.
struct PollTimer {
    UINT_PTR id = 0;
    ~PollTimer() {
        if (id) KillTimer(nullptr, id);
    }
};

void startPollTimer() {
    static PollTimer timer;
    if (!timer.id) timer.id = SetTimer(nullptr, 0, 1000, pollTick);
}

}  // namespace scrivoole::platform
#endif
