// Window search over the process's top-level windows and their children.
#include "tests/e2e/driver/window_search.h"

#include "tests/e2e/driver/controls.h"

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

namespace {

struct TopLevelSearch {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TopLevelSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && (!search->visibleOnly || IsWindowVisible(window)))
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly) {
    TopLevelSearch search{processId, visibleOnly, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevelWindow(DWORD processId, const std::string& title, const char* className, bool visibleOnly) {
    for (HWND window : TopLevelWindows(processId, visibleOnly)) {
        if (className && ClassNameOf(window) != className)
            continue;
        if (TextOf(window) == title)
            return window;
    }
    return nullptr;
}

HWND WaitForTopLevelWindow(DWORD processId,
                           const std::string& title,
                           DWORD timeoutMs,
                           const char* className,
                           bool visibleOnly) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevelWindow(processId, title, className, visibleOnly)) != nullptr; },
              timeoutMs);
    return found;
}

std::string ClassNameOf(HWND window) {
    char name[256];
    const int n = GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

HWND FindChildOfClass(HWND parent, const char* className) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) == className)
            return child;
    }
    return nullptr;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}
