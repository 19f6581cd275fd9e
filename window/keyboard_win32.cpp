// The keys that a loaded window handles before its controls see them: Esc, Tab and Enter.
#include "window/keyboard.h"

#include <vector>

#include "window/controls/window_frame_win32.h"
#include "window/tab_order.h"
#include "window/window_list.h"

namespace {

LoadedWindow* WindowOfFrame(HWND frame) {
    for (LoadedWindow* window : LoadedWindows()) {
        WindowFrame* live = FrameOf(*window);
        if (live != nullptr && live->hwnd() == frame)
            return window;
    }
    return nullptr;
}

// Index of the working control whose window is or holds `focus`, -1 for none.
int ControlHolding(const LoadedWindow& window, HWND focus) {
    for (size_t i = 1; i < window.controls.size(); ++i) {
        Control* live = LiveControl(window.controls[i]);
        if (live != nullptr && live->hwnd() != nullptr && (live->hwnd() == focus || IsChild(live->hwnd(), focus)))
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<TabCandidate> TabCandidates(const LoadedWindow& window) {
    std::vector<TabCandidate> candidates(window.controls.size());
    for (size_t i = 1; i < window.controls.size(); ++i) {
        const WorkingControl& control = window.controls[i];
        Control* live = LiveControl(control);
        HWND hwnd = live ? live->hwnd() : nullptr;
        // The record's flag, not WS_TABSTOP: Windows moves WS_TABSTOP to whichever radio button
        // is checked (BM_SETCHECK), and an unchecked one must still take the focus by Tab.
        candidates[i].eligible =
            hwnd != nullptr && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && (control.flags & kControlTabStop) != 0;
        candidates[i].tabOrder = control.stored->tabOrder;
        candidates[i].creationOrder = control.creationOrder;
    }
    return candidates;
}

void MoveFocus(const LoadedWindow& window, HWND focus, bool forward) {
    const int next = NextTabStop(TabCandidates(window), ControlHolding(window, focus), forward);
    if (next > 0)
        SetFocus(LiveControl(window.controls[static_cast<size_t>(next)])->hwnd());
}

// What the focused control claims of the key, by the same question dialogs ask.
LRESULT DialogCode(HWND focus, HWND frame, const MSG& msg) {
    if (focus == nullptr || focus == frame)
        return 0;
    return SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace

bool OfferKeyToWindows(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.hwnd == nullptr)
        return false;
    if (msg.wParam != VK_ESCAPE && msg.wParam != VK_TAB && msg.wParam != VK_RETURN)
        return false;
    HWND frame = GetAncestor(msg.hwnd, GA_ROOT);
    LoadedWindow* window = WindowOfFrame(frame);
    if (window == nullptr || window->destroying)
        return false;
    const WindowProperties& settings = FrameOf(*window)->settings();
    const LRESULT code = DialogCode(msg.hwnd, frame, msg);
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
        return false;
    switch (msg.wParam) {
        case VK_ESCAPE:
            if (!settings.escCloses)
                return false;
            SendMessageA(frame, WM_CLOSE, 0, 0);
            return true;
        case VK_TAB:
            if (code & DLGC_WANTTAB)
                return false;
            MoveFocus(*window, msg.hwnd, GetKeyState(VK_SHIFT) >= 0);
            return true;
        case VK_RETURN:
            if (!settings.enterMovesFocus)
                return false;
            MoveFocus(*window, msg.hwnd, true);
            return true;
        default:
            return false;
    }
}

HWND FirstTabStop(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window == nullptr)
        return nullptr;
    const int first = NextTabStop(TabCandidates(*window), -1, true);
    return first > 0 ? LiveControl(window->controls[static_cast<size_t>(first)])->hwnd() : nullptr;
}
