// DISM failure messages with the system's texts.
#include "app/inject/dism_outcome.h"

#include "runtime/system_commands.h"

OwnedText DismFailureMessage(const char* flow, const CommandRunResult& run) {
    return DismFailureMessage(flow, run, SystemErrorText);
}
