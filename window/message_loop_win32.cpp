// The runtime's message loop, its modal form, the message pump and the idle routines.
#include "window/message_loop.h"

#include <vector>

#include "runtime/process_events.h"
#include "window/event_dispatch.h"
#include "window/keyboard.h"
#include "window/window_list.h"

namespace {

struct IdleEntry {
    HWND window;
    IdleRoutine routine;
    void* argument;
};

std::vector<IdleEntry> g_idle;
bool g_loopEntered = false;

// The timer message that Windows uses for caret blinking and such.
constexpr UINT kSystemTimer = 0x0118;

// A repeated mouse move or a paint gives the idle routines nothing new to do.
bool IsIdleRelevant(const MSG& msg) {
    static POINT lastPosition = {-1, -1};
    static UINT lastMessage = 0;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        const bool repeated = msg.message == lastMessage && msg.pt.x == lastPosition.x && msg.pt.y == lastPosition.y;
        lastPosition = msg.pt;
        lastMessage = msg.message;
        return !repeated;
    }
    return msg.message != WM_PAINT && msg.message != kSystemTimer;
}

MSG g_lastMessage;

// Calls every idle routine whose window still exists, last registered first, and forgets those
// whose window is gone. A routine may register further ones.
void RunIdleRoutines() {
    for (size_t i = g_idle.size(); i-- > 0;) {
        if (i >= g_idle.size())
            continue;
        if (!IsWindow(g_idle[i].window)) {
            g_idle.erase(g_idle.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        const IdleEntry entry = g_idle[i];
        entry.routine(entry.argument);
    }
}

bool IsModal(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    return window != nullptr && window->modal;
}

bool MessageWaiting(MSG& next) {
    return PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

// modalWindow 0: the program's loop, which takes WM_QUIT out of the queue and returns its code.
int RunLoop(uint32_t modalWindow) {
    bool idle = true;
    for (;;) {
        MSG next;
        // Idle phase: the runtime has no further idle work after one round of the routines.
        if (idle && !MessageWaiting(next)) {
            RunIdleRoutines();
            if (modalWindow != 0 && !IsModal(modalWindow))
                return 0;
            idle = false;
        }
        // Message phase.
        do {
            if (modalWindow != 0 && MessageWaiting(next) && next.message == WM_QUIT)
                return 0;
            if (!PumpOneMessage()) {
                if (modalWindow != 0)
                    return 0;
                PeekMessageA(&next, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
                return static_cast<int>(next.wParam);
            }
            if (modalWindow != 0 && !IsModal(modalWindow))
                return 0;
            if (IsIdleRelevant(g_lastMessage))
                idle = true;
        } while (MessageWaiting(next));
    }
}

}  // namespace

bool PumpOneMessage() {
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
        // WM_QUIT belongs to the outermost loop.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (got == -1)
        return false;
    g_lastMessage = msg;
    if (!OfferKeyToWindows(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

int RunMessageLoop() {
    g_loopEntered = true;
    if (LoadedWindowCount() == 0)
        return 0;
    return RunLoop(0);
}

void RunModalLoop(uint32_t windowId) {
    if (IsModal(windowId))
        RunLoop(windowId);
}

bool MessageLoopEntered() {
    return g_loopEntered;
}

void BeginWindowBuilding() {
    ProcessEvents();
    RaiseEventSuppression();
}

void EndWindowBuilding() {
    ProcessEvents();
    LowerEventSuppression();
}

void RegisterIdleRoutine(HWND window, IdleRoutine routine, void* argument) {
    if (routine != nullptr)
        g_idle.push_back({window, routine, argument});
}

void ClearIdleRoutines() {
    g_idle.clear();
}
