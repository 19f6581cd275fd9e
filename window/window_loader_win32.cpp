// Building a live window from its stored description, showing it, and its teardown.
#include "window/window_loader.h"

#include "runtime/fatal_error.h"
#include "runtime/process_events.h"
#include "window/controls/control_classes_win32.h"
#include "window/controls/stored_cursor_win32.h"
#include "window/controls/window_frame_win32.h"
#include "window/event_dispatch.h"
#include "window/event_numbers.h"
#include "window/message_loop.h"
#include "window/window_list.h"

namespace {

// Dialog control numbers: the first control created gets 100, each next one 10 more.
constexpr UINT kFirstControlNumber = 100;
constexpr UINT kControlNumberStep = 10;

// True while the load that started it is still the live one and has not been closed.
bool StillLoaded(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    return window != nullptr && !window->destroying && FrameOf(*window) != nullptr &&
           FrameOf(*window)->hwnd() != nullptr;
}

void BringForward(const LoadedWindow& window) {
    HWND hwnd = FrameOf(window)->hwnd();
    if (IsIconic(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
    else
        SetActiveWindow(hwnd);
}

DWORD StyleOfFlags(uint32_t flags) {
    DWORD style = 0;
    if (flags & kControlDisabled)
        style |= WS_DISABLED;
    if (flags & kControlTabStop)
        style |= WS_TABSTOP;
    return style;
}

HWND HwndOf(const WorkingControl& control) {
    Control* live = LiveControl(control);
    return live ? live->hwnd() : nullptr;
}

bool CreateControl(LoadedWindow& window, size_t index, HWND parent, bool modal, UINT number) {
    WorkingControl& control = window.controls[index];
    std::unique_ptr<Control> live = NewControlOfClass(control.cls());
    if (!live)
        return false;
    ControlCreateArgs args;
    args.record = control.stored;
    args.windowId = window.id();
    args.parent = parent;
    args.left = control.left;
    args.top = control.top;
    args.width = control.width;
    args.height = control.height;
    args.style = StyleOfFlags(control.flags);
    args.controlNumber = number;
    args.modal = modal;
    args.hasParent = index == 0 && parent != nullptr;
    if (!live->Create(args)) {
        // A window made before the class gave up goes with the object.
        if (live->hwnd() != nullptr)
            DestroyWindow(live->hwnd());
        return false;
    }
    control.controlNumber = number;
    control.live = std::move(live);
    return true;
}

// Containers show one page of their children; every child listed on a later page starts hidden.
void MarkHiddenPages(LoadedWindow& window) {
    for (const WorkingControl& container : window.controls) {
        bool laterPage = false;
        for (uint32_t child : container.stored->children) {
            if (child == 0) {
                laterPage = true;
                continue;
            }
            WorkingControl* target = FindWorkingControl(window, child);
            if (target != nullptr && laterPage)
                target->hiddenByPage = true;
        }
    }
}

void ParentControls(LoadedWindow& window, HWND frame) {
    for (size_t i = 1; i < window.controls.size(); ++i) {
        WorkingControl& control = window.controls[i];
        HWND hwnd = HwndOf(control);
        if (hwnd == nullptr || control.stored->container == 0)
            continue;
        WorkingControl* container = FindWorkingControl(window, control.stored->container);
        HWND parent = container ? HwndOf(*container) : nullptr;
        SetParent(hwnd, parent ? parent : frame);
    }
    MarkHiddenPages(window);
}

// Record 1 on top; every later record directly below the nearest earlier one in the same container.
void ApplyZOrder(LoadedWindow& window) {
    for (size_t i = 1; i < window.controls.size(); ++i) {
        HWND hwnd = HwndOf(window.controls[i]);
        if (hwnd == nullptr)
            continue;
        HWND after = HWND_TOP;
        for (size_t j = i - 1; j >= 1; --j) {
            if (window.controls[j].stored->container == window.controls[i].stored->container &&
                HwndOf(window.controls[j]) != nullptr) {
                after = HwndOf(window.controls[j]);
                break;
            }
        }
        SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

void ApplyCursors(LoadedWindow& window) {
    for (WorkingControl& control : window.controls) {
        Control* live = LiveControl(control);
        if (live == nullptr)
            continue;
        bool owned = false;
        HCURSOR cursor = CursorFromBlock(control.cursor, owned);
        live->SetCursor(cursor, owned);
    }
}

// Sends a runtime message to every control, last record first.
void SendToControls(const LoadedWindow& window, UINT message) {
    for (size_t i = window.controls.size(); i-- > 1;) {
        if (HWND hwnd = HwndOf(window.controls[i]))
            SendMessageA(hwnd, message, 0, 0);
    }
}

void ApplyVisibility(const LoadedWindow& window) {
    for (size_t i = 1; i < window.controls.size(); ++i) {
        const WorkingControl& control = window.controls[i];
        if (HWND hwnd = HwndOf(control))
            ShowWindow(hwnd, control.Visible() && !control.hiddenByPage ? SW_SHOWNA : SW_HIDE);
    }
}

// Raises the focus event for the control of the window that has the keyboard focus.
void RaiseFocusEvent(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window == nullptr)
        return;
    Control* focused = ControlFromWindow(GetFocus());
    if (focused == nullptr || focused->windowId() != windowId || focused == FrameOf(*window))
        return;
    RaiseSimpleEvent(windowId, focused->controlId(), kEventGotFocus);
}

// Shows the window by its position setting. Activation moves the focus and with it raises focus
// events of its own; the one focus event of the showing comes afterwards.
void ShowByPosition(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    WindowFrame* frame = window ? FrameOf(*window) : nullptr;
    if (frame == nullptr)
        return;
    RaiseEventSuppression();
    ShowWindow(frame->hwnd(), frame->ShowCommand());
    LowerEventSuppression();
    RaiseFocusEvent(windowId);
}

// Ends a failed load: the frame (if made) and every control go, and the working copy with them.
bool AbandonLoad(uint32_t windowId) {
    if (LoadedWindow* window = FindLoadedWindow(windowId)) {
        HWND frame = HwndOf(window->controls[0]);
        if (frame != nullptr)
            DestroyWindow(frame);
    }
    DropLoadedWindow(windowId);
    EndWindowBuilding();
    return false;
}

}  // namespace

bool LoadWindow(uint32_t windowId, bool modal, HWND parent) {
    if (LoadedWindow* loaded = FindLoadedWindow(windowId)) {
        if (FrameOf(*loaded) != nullptr && FrameOf(*loaded)->hwnd() != nullptr) {
            BringForward(*loaded);
            return true;
        }
    }
    if (FindStoredWindow(windowId) == nullptr)
        return false;
    if (modal)
        parent = nullptr;
    else if (parent != nullptr && !IsWindow(parent))
        return false;

    BeginWindowBuilding();
    LoadedWindow* window = AddLoadedWindow(windowId);
    window->modal = false;

    // Menu items need fields that the stored records of this format do not describe; windows
    // carry them only as records, so they are not built.
    if (!CreateControl(*window, 0, parent, modal, 0))
        return AbandonLoad(windowId);
    HWND frame = HwndOf(window->controls[0]);
    window->controls[0].creationOrder = 0;
    UINT number = kFirstControlNumber;
    uint32_t created = 1;
    for (size_t i = window->controls.size(); i-- > 1;) {
        if (window->controls[i].cls() == ControlClass::kMenuItem)
            continue;
        if (!CreateControl(*window, i, frame, false, number))
            return AbandonLoad(windowId);
        window->controls[i].creationOrder = created++;
        number += kControlNumberStep;
    }
    ParentControls(*window, frame);
    ApplyZOrder(*window);
    ApplyCursors(*window);
    SendToControls(*window, kMsgAllControlsCreated);
    SendMessageA(frame, kMsgWindowBuilt, 0, 0);
    ApplyVisibility(*window);
    window->building = false;
    // Messages processed here can close the window already (a timer, a posted close): from now
    // on every step looks the window up again.
    EndWindowBuilding();

    const uint32_t itself = FindStoredWindow(windowId)->controls[0].id;
    for (const int32_t event : {kEventCreated, kEventMoved, kEventSized}) {
        if (!StillLoaded(windowId))
            return true;
        RaiseSimpleEvent(windowId, itself, event);
    }
    if (!StillLoaded(windowId))
        return true;

    if (FindLoadedWindow(windowId)->controls[0].Visible()) {
        ShowByPosition(windowId);
        if (!StillLoaded(windowId))
            return true;
    }
    window = FindLoadedWindow(windowId);
    if (modal) {
        window->modal = true;
        FrameOf(*window)->DisableOtherWindows();
    }
    HWND focus = GetFocus();
    SendToControls(*window, kMsgLoadFinished);
    if (GetFocus() != focus && IsWindow(focus))
        SetFocus(focus);
    if (StillLoaded(windowId))
        FindLoadedWindow(windowId)->firstShowPending = true;
    return true;
}

void LoadStartWindow(uint32_t windowId) {
    if (!LoadWindow(windowId, false, nullptr))
        ReportFatalError("载入启动窗口失败", 0, 0, 0);
}

void ShowLoadedWindow(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window == nullptr || FrameOf(*window) == nullptr)
        return;
    window->controls[0].flags |= kControlVisible;
    if (!window->firstShowPending) {
        ShowWindow(FrameOf(*window)->hwnd(), SW_SHOW);
        return;
    }
    window->firstShowPending = false;
    ShowByPosition(windowId);
    window = FindLoadedWindow(windowId);
    if (window != nullptr && window->modal)
        RunModalLoop(windowId);
}

void WindowControlsDestroyed(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window == nullptr)
        return;
    const bool built = !window->building;
    DropLoadedWindow(windowId);
    if (built && LoadedWindowCount() == 0 && MessageLoopEntered())
        PostQuitMessage(0);
}
