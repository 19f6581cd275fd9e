// Command lines of the command runner and the timer due times of its pumping waits: plain
// computation, shared by the Windows runner and the native tests.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/owned.h"

// OsPlatform code of the NT family; codes below it (Win32s, Windows 9x, unrecognised) use
// command.com.
inline constexpr int32_t kPlatformNt = 3;

// The two forms of a run: the command through the shell, or the program with the command as its
// arguments. The runner takes any other value for the program form.
inline constexpr int32_t kShellForm = 0;
inline constexpr int32_t kProgramForm = 1;

inline constexpr char kNtShellPrefix[] = "cmd.exe /c ";
inline constexpr char kLegacyShellPrefix[] = "command.com /c ";

// Platform code 2 or lower: "command.com /c " + command, whatever the form. Else mode 0 (shell
// form): "cmd.exe /c " + command. Else (program form): program + " " + command, so a command
// that begins with a space leaves two after the program. Null texts read as empty. The result
// is a writable heap block, as CreateProcessA wants its command line.
OwnedText BuildCommandLine(int32_t platform, const char* command, const char* program, int32_t mode);

// Milliseconds per unit of WaitPumping: omitted or 0 milliseconds, 1 seconds, 2 minutes,
// 3 hours; any other value is itself the number of milliseconds per unit.
int64_t WaitUnitMilliseconds(std::optional<int32_t> unit);

// The relative due time of the wait timer in 100-nanosecond steps: amount x milliseconds per
// unit x -10000, truncated toward zero. Products beyond the 64-bit range saturate.
int64_t WaitDueTime(int32_t amount, std::optional<int32_t> unit);

// The length of the wait in milliseconds; 0 for a wait that ends at once (a due time of 0 or
// later, which a waitable timer treats as an absolute time long past).
uint64_t WaitMilliseconds(int32_t amount, std::optional<int32_t> unit);
