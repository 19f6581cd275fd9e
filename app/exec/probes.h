// Probes of the host and of Windows installations: whether the running system is 64-bit, a
// file's version text, and the Windows version tests that read a system's cmd.exe. Windows only.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/owned.h"

// True on a 64-bit system. A 64-bit program is proof of one; a 32-bit program asks for the WOW64
// directory, which a 32-bit system does not have (it exports the query too, but answers 0).
bool IsHost64Bit();
// True where the system starts 32-bit programs: always for a 32-bit program; for a 64-bit one,
// only where the WOW64 directory answers (a 64-bit Windows PE is built without WoW64).
bool HostRuns32BitPrograms();
// Makes the WOW64 question answer "absent" from now on (or ask the system again). The sandbox
// build sets it to show a Windows PE without WoW64 on a system that has it.
void SetWow64AbsentOverride(bool absent);

// The FileVersion string of the file's version resource; empty without one or for a file that
// cannot be read.
OwnedText GetFileVersionText(const char* path);

// Read the FileVersion of cmd.exe under the root or prefix (see FamilyProbeCmdPath and
// VistaProbeCmdPath): Windows 8 or 8.1 ("6.3", "6.2"); Windows 7 ("6.1"); Vista or later ("6.",
// "10"). A missing cmd.exe or one without a version resource fails every test. Null texts are
// omitted arguments.
bool IsWindows8Family(const char* root = nullptr, const char* prefix = nullptr);
bool IsWindows7(const char* root = nullptr, const char* prefix = nullptr);
bool IsWindowsVistaOrLater(const char* root, std::optional<int32_t> mode = std::nullopt);
