// The Win32 side of a live control: subclassing its window and the runtime's own messages.
#include "window/controls/control_win32.h"

#include <vector>

#include "runtime/text_commands.h"
#include "window/event_dispatch.h"
#include "window/event_numbers.h"

namespace {

// The window property that leads from a window to its control object.
constexpr char kObjectProperty[] = "TovControlObject";

}  // namespace

Control::~Control() {
    Detach();
    if (ownsCursor_ && cursor_)
        DestroyCursor(cursor_);
}

void Control::Attach(HWND hwnd, uint32_t windowId, uint32_t controlId) {
    hwnd_ = hwnd;
    windowId_ = windowId;
    controlId_ = controlId;
    SetPropA(hwnd, kObjectProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::SubclassProc)));
}

// Gives the window back to its class: the object may go while the window stays (the end
// routine drops the windows list), and the window then must not reach the freed object.
void Control::Detach() {
    if (hwnd_ == nullptr)
        return;
    if (original_ && GetWindowLongPtrA(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Control::SubclassProc))
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    RemovePropA(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
}

void Control::SetCursor(HCURSOR cursor, bool owned) {
    if (ownsCursor_ && cursor_ && cursor_ != cursor)
        DestroyCursor(cursor_);
    cursor_ = cursor;
    ownsCursor_ = owned;
}

LRESULT Control::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallOriginal(message, wParam, lParam);
}

LRESULT Control::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    if (hwnd == nullptr)
        return 0;
    return CallWindowProcA(original_, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Control*>(GetPropA(hwnd, kObjectProperty));
    if (self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_SETFOCUS: {
            const uint32_t window = self->windowId_;
            const uint32_t control = self->controlId_;
            const LRESULT result = self->HandleMessage(message, wParam, lParam);
            // The window passes its focus on to a control; only controls report receiving it.
            if (GetFocus() == hwnd && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
                RaiseSimpleEvent(window, control, kEventGotFocus);
            return result;
        }
        case WM_SETCURSOR:
            if (self->cursor_ && reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(self->cursor_);
                return TRUE;
            }
            break;
        case WM_NCDESTROY: {
            const LRESULT result = CallWindowProcA(self->original_, hwnd, message, wParam, lParam);
            self->Detach();
            // May free the object (a window's teardown drops its controls).
            self->OnWindowGone();
            return result;
        }
        default:
            break;
    }
    return self->HandleMessage(message, wParam, lParam);
}

Control* ControlFromWindow(HWND hwnd) {
    if (hwnd == nullptr)
        return nullptr;
    return static_cast<Control*>(GetPropA(hwnd, kObjectProperty));
}

Control* LiveControl(const WorkingControl& control) {
    return static_cast<Control*>(control.live.get());
}

HWND LoadedWindowHandle(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window == nullptr || window->controls.empty())
        return nullptr;
    const Control* live = LiveControl(window->controls.front());
    return live != nullptr ? live->hwnd() : nullptr;
}

TaggedValue WindowTextValue(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1);
    const int got = GetWindowTextA(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return TaggedValue::OfText(MakeText(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0).Detach());
}

HINSTANCE RuntimeInstance() {
    return GetModuleHandleA(nullptr);
}
