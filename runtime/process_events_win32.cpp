// Processing the waiting window messages through the application's message pump.
#include "runtime/process_events.h"

#include <windows.h>

namespace {

bool PumpOneMessage() {
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
        // WM_QUIT belongs to the message loop: put it back.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (got == -1)
        return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

MessagePump g_pump = PumpOneMessage;

}  // namespace

void SetMessagePump(MessagePump pump) {
    g_pump = pump ? pump : PumpOneMessage;
}

void ProcessEvents() {
    MSG next;
    while (PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE) && next.message != WM_QUIT) {
        if (!g_pump())
            return;
    }
}
