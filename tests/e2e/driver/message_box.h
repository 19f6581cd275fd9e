// Message boxes of another process: finding them, reading their title, text, icon and buttons,
// and dismissing them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class BoxIcon { kNone, kStop, kExclamation, kInformation, kUnknown };

const char* BoxIconName(BoxIcon icon);
// The icon that the MB_ICON* bits of a MessageBox style select.
BoxIcon IconOfStyle(UINT style);

struct MessageBoxView {
    HWND window = nullptr;
    std::string title;
    std::string text;
    BoxIcon icon = BoxIcon::kNone;
    std::vector<std::string> buttons;  // captions, in child order
};

// A visible dialog ("#32770") of the process that is a message box: static text, push buttons
// and no folder tree. Null when there is none yet.
HWND FindMessageBox(DWORD processId);
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);

// Reads the box. The icon handle cannot be compared across processes (every process loads its
// own copy of the system icons), so the icon is told from the pixels it shows on screen.
MessageBoxView ReadMessageBox(HWND box);

// The icon shown in the static control, compared with the system's stop, exclamation and
// information icons.
BoxIcon RecogniseIcon(HWND iconStatic);

// Presses OK: WM_COMMAND with IDOK, posted (more reliable than BM_CLICK on Windows, where a click
// on a button of an inactive dialog may be lost).
bool DismissMessageBox(HWND box);
