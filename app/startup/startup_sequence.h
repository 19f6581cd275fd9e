// The tool's first routine: refuse to run outside Windows PE, note the processor generation,
// stage the payload. Windows only.
#pragma once

#include <cstdint>

#include "runtime/owned.h"
#include "runtime/result.h"

// The main window's created handler.
void StartupSequence();
bool IsWindowsPE();

// Writes the extractor and the archive into the hidden work directory on the system drive,
// unpacks it there and chooses devcon and DISM. Ends the process (exit code 0) after a box when
// the drive has too little space for it, or a file cannot be written, or the archive unpacked.
void StagePayload();
// The first three bytes of the system directory, e.g. "X:\".
OwnedText SystemDriveRoot();
// Creates every missing level of the path; rewrites it with runs of separators collapsed. The
// failure of the first level that could not be made.
Result CreateDirectoryPath(OwnedText& path);
