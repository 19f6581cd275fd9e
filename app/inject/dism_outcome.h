// What the imports tell the user when DISM failed.
#pragma once

#include <cstdint>

#include "app/exec/command_runner.h"
#include "runtime/error_reason.h"
#include "runtime/owned.h"

// flow + ",DISM无法运行(错误 N: <text>)！" when DISM did not start, with the code of the start's
// failure; else flow + ",DISM错误代码:" + the exit code (decimal, or hexadecimal from 0x10000 on,
// as HRESULTs and a crash's exception codes are read) + "！", with "(<text>)" before the "！"
// when the lookup knows the exit code: DISM ends with Windows error codes and HRESULTs.
OwnedText DismFailureMessage(const char* flow, const CommandRunResult& run, ErrorTextLookup lookup);
// The same with the system's own texts. Windows only.
OwnedText DismFailureMessage(const char* flow, const CommandRunResult& run);
