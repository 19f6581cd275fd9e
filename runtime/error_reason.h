// The reason a failure box gives: the system's error number and its own text for it.
#pragma once

#include <cstdint>

#include "runtime/owned.h"

// The system's own text for an error code (runtime/system_commands.h has the one of Windows);
// null when it has none. Passed in, so that what builds the texts runs anywhere.
using ErrorTextLookup = OwnedText (*)(uint32_t code);

// The code as the boxes write it: decimal, or 0x and eight hexadecimal digits from 0x10000 on,
// where the codes are HRESULTs and exception codes that are read in hexadecimal.
OwnedText ErrorCodeText(uint32_t code);

// "错误 N: <text>", or "错误 N" when the lookup has no text for the code.
OwnedText ErrorReasonText(uint32_t code, ErrorTextLookup lookup);
