// The runtime command that loads a window, modal or not, at the logic's request.
#include "window/load_window_command.h"

#include "window/controls/window_frame_win32.h"
#include "window/runtime_notify.h"
#include "window/window_list.h"
#include "window/window_loader.h"

bool LoadWindowCommand(uint32_t windowId, std::optional<uint32_t> parentWindowId, bool modal) {
    HWND parent = nullptr;
    if (parentWindowId) {
        LoadedWindow* loaded = FindLoadedWindow(*parentWindowId);
        WindowFrame* frame = loaded ? FrameOf(*loaded) : nullptr;
        if (frame == nullptr || frame->hwnd() == nullptr)
            return false;
        parent = frame->hwnd();
    }
    if (FindStoredWindow(windowId) == nullptr)
        return false;
    WindowLoadRequest request;
    request.windowId = windowId;
    request.modal = modal ? 1 : 0;
    request.parent = parent;
    if (RuntimeNotify(kNotifyLoadWindow, reinterpret_cast<uintptr_t>(&request), 0) == 0)
        return false;
    // The first showing of a modal window runs its modal loop, which returns once it is gone.
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window != nullptr && window->controls[0].Visible())
        ShowLoadedWindow(windowId);
    return true;
}
