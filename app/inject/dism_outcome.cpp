// DISM failure messages.
#include "app/inject/dism_outcome.h"

#include <cstdio>

#include "runtime/text_commands.h"

OwnedText DismFailureMessage(const char* flow, bool started, uint32_t exitCode) {
    if (!started)
        return ConcatText(flow, ",DISM无法运行！");
    char code[16];
    if (exitCode >= 0x10000u)
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(exitCode));
    else
        std::snprintf(code, sizeof code, "%lu", static_cast<unsigned long>(exitCode));
    return ConcatText(flow, ",DISM错误代码:", code, "！");
}
