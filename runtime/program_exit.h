// The clean-up list and the way out of the program.
#pragma once

#include <cstdint>

using CleanupRoutine = void (*)();
// Appends the routine unless it is registered already.
void RegisterCleanup(CleanupRoutine routine);
// Calls the registered routines in the order of registration.
void RunCleanupRoutines();
// Forgets every registered routine without running it (after a fatal error).
void ClearCleanupList();

// The window runtime installs the full end routine; without one, ending runs the clean-up
// routines and releases the modules of the declared DLL commands.
using EndRoutine = void (*)(int32_t code);
void SetEndRoutine(EndRoutine routine);
void RunEndRoutine(int32_t code);

// Runs the end routine, then ends the process with that exit code.
[[noreturn]] void ExitProgram(int32_t code);
