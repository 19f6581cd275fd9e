// Probes of the host and of Windows installations: whether the running system is 64-bit, the
// processor's brand, a file's version text, and the Windows version tests that read a system's
// cmd.exe. Windows only.
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

// The processor's brand string from the processor identification instruction (at most 48 bytes,
// as its three brand leaves hold them), unless an override answers.
OwnedText ReadProcessorBrand();
// The longest brand the leaves hold.
inline constexpr uint32_t kProcessorBrandBytes = 48;
// An override of the brand: writes a terminated brand of at most kProcessorBrandBytes bytes into
// the buffer (kProcessorBrandBytes + 1 bytes) and returns true, or returns false to leave the
// answer to the processor. Null removes it. The sandbox build installs one.
using ProcessorBrandOverride = bool (*)(char* buffer);
void SetProcessorBrandOverride(ProcessorBrandOverride answer);

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
