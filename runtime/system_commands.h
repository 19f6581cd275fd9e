// System queries: the platform family, the special directories and the texts of error codes.
#pragma once

#include <cstdint>

#include "runtime/owned.h"

// From GetVersionExA: 1 for Win32s, 2 for the Windows 9x family, 3 for the NT family, 0 when
// the query fails or names another platform.
int32_t OsPlatform();

// Codes 1 to 8 are shell folders (documents, favourites, desktop, fonts, start menu, programs,
// startup, application data), 9 the Windows directory, 10 the system directory, 11 the
// temporary directory. The result ends in exactly one "\"; empty for a failure or another code.
OwnedText SpecialDirectory(int32_t code);
inline constexpr int32_t kWindowsDirectory = 9;
inline constexpr int32_t kSystemDirectory = 10;
inline constexpr int32_t kTemporaryDirectory = 11;

// Sandboxed builds may answer the Windows and system directory queries (codes 9 and 10) from
// elsewhere. The hook writes a zero-terminated path of less than `size` bytes into `buffer` and
// returns true, or returns false to let the system answer. Null removes it.
using SystemDirectoryOverride = bool (*)(int32_t code, char* buffer, uint32_t size);
void SetSystemDirectoryOverride(SystemDirectoryOverride hook);

// The system's own text for an error code, in the ANSI code page, without its trailing line
// break and spaces; null when the system has none. Inserts such as "%1" stay as they are.
OwnedText SystemErrorText(uint32_t code);
// "错误 N: <the system's text>", or "错误 N" when it has none: the reason the failure boxes give.
OwnedText SystemErrorReason(uint32_t code);
