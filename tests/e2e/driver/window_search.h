// Finding the windows of another process: by title, by class, by dialog control number, and
// waiting until they appear or go.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Polls the condition every 20 ms until it holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The process's top-level windows in Z order; only visible ones when asked.
std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly);

// The first top-level window of the process whose title is exactly `title` (bytes in the ANSI
// code page) and, when given, whose class is `className`; null when none.
HWND FindTopLevelWindow(DWORD processId,
                        const std::string& title,
                        const char* className = nullptr,
                        bool visibleOnly = true);
HWND WaitForTopLevelWindow(DWORD processId,
                           const std::string& title,
                           DWORD timeoutMs,
                           const char* className = nullptr,
                           bool visibleOnly = true);

// The window's class name.
std::string ClassNameOf(HWND window);
// A direct child with the given class, or null.
HWND FindChildOfClass(HWND parent, const char* className);
// Every descendant, depth first.
std::vector<HWND> Descendants(HWND parent);
