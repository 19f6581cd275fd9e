// Probes of the host and of Windows installations: whether the running system is 64-bit, the
// processor's brand, a file's version text, and the Windows version tests that read a system's
// cmd.exe. Windows only.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/owned.h"

// True when the system has a WOW64 directory; a 32-bit system exports the query too, but its
// answer is an empty directory.
bool IsHost64Bit();

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
