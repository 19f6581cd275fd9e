// The hardware-ID survey with devcon, and the logs written newest entry first. Windows only.
#pragma once

#include "runtime/owned.h"

// devcon's listing of every device: "cmd.exe /c " + DevconPath + " hwids *".
OwnedText RunHardwareSurvey();

// Inserts text, CR LF, CR LF at the top of the log, creating the log when it is missing. An
// entry that cannot be written is lost silently; the flows go on.
void AddLogEntry(const char* text, const char* logPath);
