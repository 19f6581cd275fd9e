// The tool's first routine: refuse to run outside Windows PE, note the processor generation,
// stage the payload. Windows only.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/info_box.h"
#include "runtime/owned.h"
#include "runtime/result.h"

// Why the tool cannot go on, told the way its windows tell it; the caller shows it and ends.
struct StartupStop {
    enum class Kind { kNotWindowsPE, kStagingFailed };
    Kind kind;
    OwnedText message;
    BoxIcon icon;
};

// The Windows PE check, the processor generation and payload staging; nothing when the tool is
// ready to inject.
std::optional<StartupStop> PrepareTool();
// The main window's created handler: PrepareTool, and a stop as a box, then the end (exit code 0).
void StartupSequence();
bool IsWindowsPE();

// Writes the extractor and the archive into the hidden work directory on the system drive,
// unpacks it there and chooses devcon and DISM. Stops when the drive has too little space for
// it, or a file cannot be written, or the archive unpacked; a half-staged payload is removed.
std::optional<StartupStop> StagePayload();
// The first three bytes of the system directory, e.g. "X:\".
OwnedText SystemDriveRoot();
// Creates every missing level of the path; rewrites it with runs of separators collapsed. The
// failure of the first level that could not be made.
Result CreateDirectoryPath(OwnedText& path);
