// The routines that the stored windows bind, and the tool's start.
#include "app/program_entry.h"

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/console/console_mode.h"
#include "app/startup/program_globals.h"
#include "app/startup/startup_sequence.h"
#include "app/ui/form_ids.h"
#include "app/ui/form_routines.h"
#include "app/ui/main_window.h"
#include "window/application.h"
#include "window/event_dispatch.h"
#include "window/form_blob.h"

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

struct RoutineBinding {
    FormRoutine id;
    EventRoutine routine;
};

// Each routine named beside the identifier the form description stores for it.
constexpr RoutineBinding kBindings[] = {
    {FormRoutine::kStartupSequence, Bound<StartupSequence>},
    {FormRoutine::kRemoveWorkDirectory, Bound<RemoveWorkDirectory>},
    {FormRoutine::kOpenCustomImportWindow, Bound<OpenCustomImportWindow>},
    {FormRoutine::kStartTargetInjection, Bound<StartTargetInjection>},
    {FormRoutine::kRunCustomImport, Bound<StartCustomImport>},
    {FormRoutine::kBrowseTargetDirectory, Bound<BrowseTargetDirectory>},
    {FormRoutine::kBrowseDriverFolder, Bound<BrowseDriverFolder>},
    {FormRoutine::kAnswerCloseRequest, AnswerCloseRequest},
};
// The runtime finds a routine by its stored identifier, so the table is built by identifier, and
// an identifier bound twice or left out stops the build.
constexpr std::array<EventRoutine, kFormRoutineCount> RoutineTable() {
    std::array<EventRoutine, kFormRoutineCount> table{};
    for (const RoutineBinding& binding : kBindings)
        table[static_cast<uint32_t>(binding.id)] = binding.routine;
    return table;
}

constexpr bool EveryRoutineBoundOnce() {
    std::array<int, kFormRoutineCount> uses{};
    for (const RoutineBinding& binding : kBindings)
        ++uses[static_cast<uint32_t>(binding.id)];
    for (int n : uses) {
        if (n != 1)
            return false;
    }
    return true;
}
static_assert(EveryRoutineBoundOnce(), "each stored routine identifier bound to exactly one routine");

constexpr std::array<EventRoutine, kFormRoutineCount> kRoutines = RoutineTable();

}  // namespace

int RunTovUsb() {
    if (__argc > 1)
        return RunConsoleMode(std::vector<std::string>(__argv + 1, __argv + __argc));
    ApplicationSetup setup;
    setup.formDescription = ProgramFormDescription();
    setup.routines = kRoutines.data();
    setup.routineCount = static_cast<uint32_t>(std::size(kRoutines));
    setup.cleanup = ReleaseProgramGlobals;
    setup.startWindow = kMainWindow;
    return RunApplication(setup);
}
