// Control reading and operation across processes.
#include "tests/e2e/driver/controls.h"

#include <commctrl.h>

#include <vector>

#include "tests/e2e/driver/remote_memory.h"
#include "tests/e2e/driver/window_search.h"

namespace {

// Long enough for a busy window to answer, short enough that a hung one fails the test quickly.
constexpr UINT kAnswerTimeoutMs = 5000;

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer) {
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, answer) != 0;
}

}  // namespace

HWND Control(HWND window, int number) {
    return window ? GetDlgItem(window, number) : nullptr;
}

std::string TextOf(HWND window) {
    if (!window)
        return std::string();
    DWORD_PTR length = 0;
    if (!Send(window, WM_GETTEXTLENGTH, 0, 0, &length))
        return std::string();
    // WM_GETTEXTLENGTH may overstate (it may count in another character set), never understate.
    std::vector<char> buffer(length + 2);
    DWORD_PTR copied = 0;
    if (!Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied))
        return std::string();
    return std::string(buffer.data(), copied < buffer.size() ? copied : 0);
}

bool IsEnabled(HWND window) {
    return window && IsWindowEnabled(window);
}

bool IsShown(HWND window) {
    return window && IsWindowVisible(window);
}

int CheckState(HWND button) {
    DWORD_PTR state = 0;
    if (!button || !Send(button, BM_GETCHECK, 0, 0, &state))
        return -1;
    return static_cast<int>(state);
}

std::string StatusPartText(HANDLE process, HWND statusBar, int part) {
    DWORD_PTR answer = 0;
    if (!statusBar || !Send(statusBar, SB_GETTEXTLENGTHA, part, 0, &answer))
        return std::string();
    const size_t length = LOWORD(answer);
    RemoteBlock buffer(process, length + 16);
    if (!buffer.ok() || !Send(statusBar, SB_GETTEXTA, part, buffer.lparam(), &answer))
        return std::string();
    std::string text = buffer.ReadText();
    // The answer's low word is the length; a text cut short at an embedded zero would differ.
    if (text.size() != LOWORD(answer))
        return std::string();
    return text;
}

bool Click(HWND control) {
    if (!IsShown(control) || !IsEnabled(control))
        return false;
    // Radio buttons and check boxes change their own state on a click: they need the click
    // itself, not just its report.
    if (lstrcmpiA(ClassNameOf(control).c_str(), "Button") == 0) {
        const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
        if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
            type == BS_3STATE || type == BS_AUTO3STATE)
            return PostMessageA(control, BM_CLICK, 0, 0);
    }
    HWND parent = GetParent(control);
    const int id = GetDlgCtrlID(control);
    return parent && PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

bool TypeText(HWND edit, const std::string& text) {
    if (!IsShown(edit) || !IsEnabled(edit))
        return false;
    DWORD_PTR answer = 0;
    return Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &answer) && answer != 0;
}

bool PressKey(HWND window, UINT virtualKey) {
    if (!window)
        return false;
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    HWND target = window;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus)
        target = thread.hwndFocus;
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1u << 30) | (1u << 31);
    return PostMessageA(target, WM_KEYDOWN, virtualKey, down) && PostMessageA(target, WM_KEYUP, virtualKey, up);
}

bool PressCloseBox(HWND window) {
    return window && PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool WaitForThreadToCatchUp(HWND window) {
    // More than the driver queues between two checks: a double click is five input events, and
    // the scenarios give four of them, or a few posted messages, before they look.
    constexpr int kRounds = 64;
    for (int round = 0; round < kRounds; ++round) {
        DWORD_PTR answer = 0;
        if (!window || !Send(window, WM_NULL, 0, 0, &answer))
            return false;
    }
    return true;
}
