// DISM's parameter texts for the three imports, and what counts as a DISM success.
#pragma once

#include <cstdint>

#include "runtime/owned.h"

// A path as it goes on DISM's command line: unchanged unless it holds a space, a tab or a double
// quote; then enclosed in double quotes with the command-line escapes that keep it one argument
// (backslashes before a quote or the closing quote doubled, quotes escaped).
OwnedText DismPathArgument(const char* path);

// " /Image:" + root + "  /Add-Driver /Driver:" + folder + "  /Recurse  /ForceUnsigned"
OwnedText PreciseImportParameters(const char* targetRoot, const char* driverFolder);
// " /Image:" + root + "  /Add-Driver /Driver:" + workDir + "\Win7X64 /Recurse " (or \Win7X86)
OwnedText FuzzyImportParameters(const char* targetRoot, const char* workDir, bool target64Bit);
// " /Image:" + image root + "  /Add-Driver /Driver:" + folder + " /Recurse "
OwnedText CustomImportParameters(const char* imageRoot, const char* driverFolder);

// The custom import asks for the target's Windows directory (it must hold Explorer.exe), but
// DISM services an offline image by the root that holds the Windows directory: the folder above
// it. A text without any separator is taken as it stands.
OwnedText ImageRootOfWindowsDirectory(const char* windowsDirectory);

// DISM reports success with 0, or 3010 when a restart is needed (the offline image never is).
inline bool DismSucceeded(bool started, uint32_t exitCode) {
    return started && (exitCode == 0 || exitCode == 3010);
}
