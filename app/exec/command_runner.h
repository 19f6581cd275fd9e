// Running a console tool hidden and capturing what it writes, while the windows stay alive.
// Windows only.
#pragma once

#include <cstdint>
#include <optional>

#include "app/exec/command_line.h"
#include "runtime/owned.h"

// What a run tells a caller that asks beyond the output.
struct CommandRunResult {
    bool started = false;
    // The child's exit code; 0 when it did not start.
    uint32_t exitCode = 0;
    // Why it did not start: the system's error code of the pipe or of the process creation.
    uint32_t startError = 0;
    // Polls of the pipe; a child that did not start is found ended at the first.
    uint32_t polls = 0;
};

// Runs "cmd.exe /c " + command (mode 0) or program + " " + command (any other mode), or
// "command.com /c " + command on pre-NT platforms, with a hidden console and both standard
// output and standard error on one pipe. Returns everything the child wrote, in arrival order,
// without zero bytes; empty when nothing was written or the child could not be started. Window
// messages are processed while it waits, so handlers can run (and call it again) meanwhile.
OwnedText CommandRunner(const char* command, const char* program, int32_t mode, CommandRunResult* result = nullptr);

// Processes waiting window messages if there is keyboard or mouse input in the queue.
void PumpPendingInput();

// Waits amount x unit (omitted or 0 milliseconds, 1 seconds, 2 minutes, 3 hours, any other
// value milliseconds per unit) on a waitable timer, processing window messages as they arrive.
// Always true.
bool WaitPumping(int32_t amount, std::optional<int32_t> unit = std::nullopt);

// Test seam: the next `count` calls of WaitPumping behave as if the timer could not be created
// (kTimerCreation) or the wait on it failed (kWait).
enum class WaitFault { kNone, kTimerCreation, kWait };
void InjectWaitFault(WaitFault fault, int count);
