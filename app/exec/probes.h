// Probes of the host and of Windows installations: whether the running system is 64-bit, a
// file's version text, and the Windows version tests that read a system's cmd.exe. Windows only.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/owned.h"

// True when the system has a WOW64 directory; a 32-bit system exports the query too, but its
// answer is an empty directory.
bool IsHost64Bit();

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
