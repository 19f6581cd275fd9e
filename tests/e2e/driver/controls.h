// Reading and operating the controls of another process's windows, as a user would see and use
// them: texts, enabled and visible states, radio checks, status-bar parts, clicks and typing.
#pragma once

#include <windows.h>

#include <string>

// The control with the dialog control number, or null.
HWND Control(HWND window, int number);

// The window's text through WM_GETTEXT, which reaches the control's own buffer (GetWindowText
// of another process's control reads only the text it was created with). Bytes in the ANSI code
// page; empty for a null or hung window.
std::string TextOf(HWND window);

bool IsEnabled(HWND window);
// Visible itself and all its parents.
bool IsShown(HWND window);
// BM_GETCHECK: BST_CHECKED, BST_UNCHECKED or BST_INDETERMINATE; -1 for a null window.
int CheckState(HWND button);

// The text of a status bar's part, read through a buffer in the bar's own process (`process`
// needs VM read, write and operation access). SB_GETTEXTA answers MAKELONG(length, style).
std::string StatusPartText(HANDLE process, HWND statusBar, int part);

// A click as the button reports it to its window (BN_CLICKED through WM_COMMAND), posted so
// that a modal loop the click opens does not block the driver; radio buttons and check boxes get
// BM_CLICK, since they change their own state. Refused (false) for a control that is hidden or
// disabled, which a user could not click either.
bool Click(HWND control);

// Replaces the edit box's whole content, as selecting all and typing would.
bool TypeText(HWND edit, const std::string& text);

// A key press (WM_KEYDOWN, WM_KEYUP) posted to the control that has the focus in the window's
// thread, or to the window itself when none has.
bool PressKey(HWND window, UINT virtualKey);

// The close box: WM_SYSCOMMAND SC_CLOSE, posted.
bool PressCloseBox(HWND window);

// Returns once the window's thread has handled what was queued for it before the call: the posted
// messages and input (clicks, keys) that the driver gave it. Each SendMessageTimeout is answered
// only when the thread next asks for a message, which it does after dispatching the one it took
// before, and it takes a queued message or input event one at a time: a run of answers longer
// than what was queued proves that all of it was taken and handled, or that the handling opened
// a window of its own (a box, a dialog), whose modal loop answers. False when the thread did not
// answer (hung, or its window gone). This is the point at which a test may check that something
// did not happen, instead of sleeping for a while.
bool WaitForThreadToCatchUp(HWND window);
