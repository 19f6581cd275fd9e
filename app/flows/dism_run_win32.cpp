// A flow's DISM run, refused after a stop.
#include "app/flows/dism_run.h"

#include <windows.h>

#include "app/startup/program_globals.h"

OwnedText RunDism(FlowView& view, const char* parameters, CommandRunResult* run) {
    if (view.StopRequested()) {
        *run = CommandRunResult{};
        run->startError = ERROR_CANCELLED;
        return OwnedText();
    }
    OwnedText output = CommandRunner(parameters, DismPath.c_str(), kProgramForm, run);
    view.RunEnded(DismPath.c_str(), parameters, *run);
    return output;
}
