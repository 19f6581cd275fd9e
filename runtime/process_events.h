// Processing the window messages that wait in the thread's queue, so that long waits keep the
// windows alive.
#pragma once

// Takes one message from the queue and dispatches it; false when the message taken was WM_QUIT.
// The window runtime installs its own, which offers keyboard messages to its windows first.
using MessagePump = bool (*)();
// Null restores the plain pump: GetMessageA, TranslateMessage, DispatchMessageA.
void SetMessagePump(MessagePump pump);

// Dispatches waiting messages through the pump until the queue is empty or WM_QUIT is next;
// WM_QUIT stays queued for the message loop. Handlers can run inside this call.
void ProcessEvents();
