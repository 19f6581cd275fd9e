// The window itself: the top-level window that holds a loaded form's controls.
#include "window/controls/window_frame_win32.h"

#include <variant>

#include "window/application.h"
#include "window/event_dispatch.h"
#include "window/event_numbers.h"
#include "window/keyboard.h"
#include "window/window_loader.h"

namespace {

bool RegisterFrameClass() {
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = RuntimeInstance();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        // The frame paints its own background colour.
        wc.hbrBackground = nullptr;
        wc.lpszClassName = kWindowFrameClass;
        atom = RegisterClassA(&wc);
    }
    return atom != 0;
}

DWORD FrameStyle(const WindowProperties& p, bool hasTitle) {
    DWORD style = WS_CLIPCHILDREN;
    if (p.border != 0) {
        style |= WS_DLGFRAME;
        if (hasTitle || p.controlBox)
            style |= WS_CAPTION;
        if (p.controlBox)
            style |= WS_SYSMENU;
        if (p.border == 1)
            style |= WS_THICKFRAME;
    }
    if (p.maximizeButton)
        style |= WS_MAXIMIZEBOX;
    if (p.minimizeButton)
        style |= WS_MINIMIZEBOX;
    return style;
}

// False when an answering routine said no (a routine that answers nothing lets it close).
bool CloseAllowed(uint32_t window, uint32_t control, int32_t event) {
    uint32_t answer = 1;
    return !RaiseSimpleEvent(window, control, event, &answer) || answer != 0;
}

}  // namespace

bool WindowFrame::Create(const ControlCreateArgs& args) {
    const auto* stored = std::get_if<WindowProperties>(&args.record->properties);
    if (args.record->propertiesRefused || !RegisterFrameClass())
        return false;
    if (stored)
        settings_ = *stored;
    const std::string title = TextOf(settings_.title);
    DWORD style = FrameStyle(settings_, !title.empty()) | (args.style & WS_DISABLED);
    HWND owner = nullptr;
    if (args.hasParent) {
        style |= WS_POPUP;
        owner = args.parent;
    } else if ((args.modal || !settings_.showInTaskbar) && OwnsParentlessWindows()) {
        // Owned windows get no taskbar button of their own.
        owner = HiddenOwnerWindow();
    }
    int left = args.left;
    int top = args.top;
    if (settings_.position == 1) {
        left = (GetSystemMetrics(SM_CXSCREEN) - args.width) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - args.height) / 2;
    }
    HWND hwnd = CreateWindowExA(0, kWindowFrameClass, title.c_str(), style, left, top, args.width, args.height, owner,
                                nullptr, RuntimeInstance(), nullptr);
    if (hwnd == nullptr)
        return false;
    Attach(hwnd, args.windowId, args.record->id);
    background_.Make(settings_.backgroundColour);

    RECT r;
    GetWindowRect(hwnd, &r);
    if (r.right - r.left != args.width || r.bottom - r.top != args.height)
        SetWindowPos(hwnd, nullptr, 0, 0, args.width, args.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (settings_.alwaysOnTop)
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!settings_.movable)
        DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND);
    return true;
}

int WindowFrame::ShowCommand() const {
    switch (settings_.position) {
        case 2:
            return SW_SHOWMINIMIZED;
        case 3:
            return SW_SHOWMAXIMIZED;
        default:
            return SW_SHOWNORMAL;
    }
}

void WindowFrame::DisableOtherWindows() {
    for (LoadedWindow* other : LoadedWindows()) {
        WindowFrame* frame = FrameOf(*other);
        if (frame == nullptr || frame == this || frame->hwnd() == nullptr)
            continue;
        if (GetWindowLongA(frame->hwnd(), GWL_STYLE) & WS_POPUP)
            continue;  // loaded with a parent
        // EnableWindow answers whether the window was disabled already; such a window stays so.
        if (!EnableWindow(frame->hwnd(), FALSE))
            disabled_.push_back(frame->hwnd());
    }
}

void WindowFrame::EnableOtherWindows() {
    for (HWND other : disabled_) {
        if (IsWindow(other))
            EnableWindow(other, TRUE);
    }
    disabled_.clear();
}

void WindowFrame::Close() {
    const uint32_t window = windowId();
    const uint32_t control = controlId();
    HWND hwnd = this->hwnd();
    if (!CloseAllowed(window, control, kEventCloseRequest) || !IsWindow(hwnd))
        return;
    if (!CloseAllowed(window, control, kEventCloseQuery) || !IsWindow(hwnd))
        return;
    // Enabled before the window goes, so that Windows can activate one of them in its place.
    EnableOtherWindows();
    DestroyWindow(hwnd);
}

void WindowFrame::OnWindowGone() {
    EnableOtherWindows();
    // Frees this object with the rest of the window's working copy.
    WindowControlsDestroyed(windowId());
}

LRESULT WindowFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            Control* control = ControlFromWindow(reinterpret_cast<HWND>(lParam));
            if (control != nullptr && lParam != 0) {
                control->OnCommand(HIWORD(wParam));
                return 0;
            }
            break;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            Control* control = ControlFromWindow(reinterpret_cast<HWND>(lParam));
            HBRUSH brush = control ? control->OnControlColour(reinterpret_cast<HDC>(wParam)) : nullptr;
            if (brush != nullptr)
                return reinterpret_cast<LRESULT>(brush);
            break;
        }
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(hwnd(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
            return 1;
        }
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_MOVE: {
            CallOriginal(message, wParam, lParam);
            RaiseSimpleEvent(windowId(), controlId(), kEventMoved);
            return 0;
        }
        case WM_SIZE: {
            const uint32_t window = windowId();
            CallOriginal(message, wParam, lParam);
            if (LoadedWindow* loaded = FindLoadedWindow(window)) {
                for (WorkingControl& control : loaded->controls) {
                    Control* live = LiveControl(control);
                    if (live != nullptr && live != this)
                        live->OnParentSized();
                }
            }
            RaiseSimpleEvent(window, controlId(), kEventSized);
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd(), focus))
                    lastFocus_ = focus;
            }
            break;
        case WM_SETFOCUS: {
            // Like a dialog, the window hands the focus on to the control that had it last, or to
            // the first control in Tab order.
            HWND target = lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_) &&
                                  IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)
                              ? lastFocus_
                              : FirstTabStop(windowId());
            if (target != nullptr) {
                ::SetFocus(target);
                return 0;
            }
            break;
        }
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY: {
            const uint32_t window = windowId();
            EnableOtherWindows();
            RaiseSimpleEvent(window, controlId(), kEventDestroyed);
            if (LoadedWindow* loaded = FindLoadedWindow(window))
                loaded->destroying = true;
            break;
        }
        default:
            break;
    }
    return CallOriginal(message, wParam, lParam);
}

WindowFrame* FrameOf(const LoadedWindow& window) {
    return static_cast<WindowFrame*>(LiveControl(window.controls[0]));
}
