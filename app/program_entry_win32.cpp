// The routines that the stored windows bind, and the tool's start.
#include "app/program_entry.h"

#include "app/inject/imports.h"
#include "app/startup/program_globals.h"
#include "app/startup/startup_sequence.h"
#include "app/ui/form_ids.h"
#include "app/ui/main_window.h"
#include "window/application.h"
#include "window/event_dispatch.h"
#include "window/form_blob.h"
#include "window/form_routines.h"

namespace {

template <void (*Routine)()>
void Bound(EventNotify&) {
    Routine();
}

// Closing either window while an import runs would pull the work directory or the window itself
// out from under the running flow: the answer 0 keeps it open.
void AnswerCloseRequest(EventNotify& event) {
    if (!MayCloseWindow())
        event.Answer(0);
}

const EventRoutine kRoutines[] = {
    Bound<StartupSequence>, Bound<RemoveWorkDirectory>,   Bound<OpenCustomImportWindow>, Bound<StartTargetInjection>,
    Bound<RunCustomImport>, Bound<BrowseTargetDirectory>, Bound<BrowseDriverFolder>,     AnswerCloseRequest,
};
static_assert(std::size(kRoutines) == kFormRoutineCount, "one routine per stored routine identifier");

}  // namespace

int RunTovUsb() {
    ApplicationSetup setup;
    setup.formDescription = ProgramFormDescription();
    setup.routines = kRoutines;
    setup.routineCount = static_cast<uint32_t>(std::size(kRoutines));
    setup.cleanup = ReleaseProgramGlobals;
    setup.startWindow = kMainWindow;
    return RunApplication(setup);
}
