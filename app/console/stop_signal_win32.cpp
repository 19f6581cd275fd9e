// The console mode's signal handler.
#include "app/console/stop_signal.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> g_signalled{false};

BOOL WINAPI OnConsoleSignal(DWORD type) {
    g_signalled = true;
    if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT)
        return TRUE;
    // The console is closing: the process ends when this returns, so it returns only when the
    // main thread's own end takes the process down after its clean-up.
    Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void CatchStopSignals() {
    SetConsoleCtrlHandler(OnConsoleSignal, TRUE);
}

bool StopSignalled() {
    return g_signalled;
}
