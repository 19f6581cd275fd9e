// The dry run: what a precise import would inject, and why, without writing to the target.
// Windows only.
#pragma once

#include "app/console/console_output.h"

// With a target root (null or empty: none) also its version, architecture, index and the DISM
// command lines in order. Returns the exit code: success when a folder would be injected,
// nothing-to-inject when none, refused when the target is no Windows 7.
int RunSurveyCommand(ConsoleOutput& out, const char* targetRoot);
