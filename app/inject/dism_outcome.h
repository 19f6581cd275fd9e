// What the imports tell the user when DISM failed.
#pragma once

#include <cstdint>

#include "runtime/owned.h"

// flow + ",DISM无法运行！" when DISM did not start, else flow + ",DISM错误代码:" + the code
// (decimal, or hexadecimal for the 0xC... exception codes of a crash) + "！".
OwnedText DismFailureMessage(const char* flow, bool started, uint32_t exitCode);
