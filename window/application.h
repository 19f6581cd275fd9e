// Application start-up: the runtime's initialisation, the hidden owner window, the start window,
// the message loop and the end routine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/program_exit.h"
#include "window/event_dispatch.h"
#include "window/form_byte_reader.h"

struct ApplicationSetup {
    FormBytes formDescription;               // the stored form description
    const EventRoutine* routines = nullptr;  // the program's routines by stored identifier
    uint32_t routineCount = 0;
    CleanupRoutine cleanup = nullptr;  // the program's clean-up routine; null for none
    void (*startRoutine)() = nullptr;  // the program's own start-up routine; null for none
    uint32_t startWindow = 0;          // window identifier of the start window
    // Parentless windows that are modal or kept off the taskbar get the hidden owner window.
    bool ownParentlessWindows = true;
};

// Initialises the runtime: process heap, OLE, the program's directory as current directory, the
// hidden owner window, the main thread, the form description (a malformed one is a fatal error),
// and the hooks that the runtime core calls back (end routine, fatal-error names, message pump).
// Runs once; later calls only install the routine table.
void InitializeApplication(const ApplicationSetup& setup);

// The whole life of the program: initialisation, the clean-up registration, the start routine,
// the start window, the message loop and the end routine. Returns the exit code (0).
int RunApplication(const ApplicationSetup& setup);

// The end routine that ExitProgram, fatal errors and the normal end run.
void ApplicationEndRoutine(int32_t code);

HWND HiddenOwnerWindow();
bool OwnsParentlessWindows();
// The program's own directory (no trailing separator) and file name.
const std::string& ProgramDirectory();
const std::string& ProgramFileName();
bool IsMainThread();
