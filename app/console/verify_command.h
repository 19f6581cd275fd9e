// The console's /verify: whether the target's driver store serves every device the index matched.
// Windows only.
#pragma once

#include "app/console/console_output.h"

// Survey, index lookup and a reading of the whole driver store of the Windows 7 at `targetRoot`;
// the console's exit code (0 all covered, 5 some not, 1 not Windows 7, 2 nothing matched).
int RunVerifyCommand(ConsoleOutput& out, const char* targetRoot);
