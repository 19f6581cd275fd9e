// Building a live window from its stored description, showing it, and its teardown.
#pragma once

#include <windows.h>

#include <cstdint>

// Loads the window (or brings it forward when it is loaded already). A modal load has no
// parent; otherwise a parent that is given must be an existing window. False when the
// description has no such window or a control cannot be built; nothing is left behind then.
bool LoadWindow(uint32_t windowId, bool modal, HWND parent);

// Loads the program's start window: not modal, no parent. Failure is the fatal error
// "载入启动窗口失败".
void LoadStartWindow(uint32_t windowId);

// A request to show a loaded window. The first one after loading shows it by its position
// setting, raises the focus event and, for a modal window, runs its modal loop; later ones
// just show it.
void ShowLoadedWindow(uint32_t windowId);

// The window and its controls are gone: cursors, objects and the working copy go too, and when
// no loaded window is left inside the message loop the loop is told to end.
void WindowControlsDestroyed(uint32_t windowId);
