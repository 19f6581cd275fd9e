// The runtime's message loop, its modal form, the message pump and the idle routines.
#pragma once

#include <windows.h>

#include <cstdint>

// Sets the loop-entered mark and runs the loop until WM_QUIT, which it takes from the queue;
// returns at once when no loaded window exists. Returns the quit code (0 when it did not run).
int RunMessageLoop();
// Runs the loop for a modal window until the window is no longer loaded as modal. WM_QUIT ends
// it too, and stays queued for the loop outside.
void RunModalLoop(uint32_t windowId);

// Set once the program has entered its message loop: from then on, destroying the last loaded
// window ends the loop.
bool MessageLoopEntered();

// Takes one message and dispatches it, offering keys to the runtime's windows first. False when
// the message was WM_QUIT, which is put back into the queue. The pump of ProcessEvents.
bool PumpOneMessage();

// Window building: waiting messages are processed first, then no event reaches a routine until
// the matching end, which processes the messages the building left before lowering the count.
void BeginWindowBuilding();
void EndWindowBuilding();

// Idle routines run when the queue is empty, for as long as their window exists.
using IdleRoutine = void (*)(void* argument);
void RegisterIdleRoutine(HWND window, IdleRoutine routine, void* argument);
void ClearIdleRoutines();
