// The target installation: its architecture, its driver index and the shell's path
// qualification. Windows only.
#pragma once

#include "runtime/owned.h"

// 1 when the target's cmd.exe (Windows\sysnative first, then Windows\system32) is a 64-bit
// program, 0 otherwise (32-bit, undeterminable or missing).
int TargetIs64Bit(const char* targetRoot);

struct DriverIndex {
    OwnedText text;
    OwnedText driverBase;
};
// The index text (up to its first zero byte) and the driver base folder of the architecture.
DriverIndex LoadDriverIndex(bool target64Bit);

// PathSearchAndQualifyA into a 260-byte buffer.
OwnedText QualifyPath(const char* path);
