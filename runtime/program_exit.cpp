// The clean-up list and ExitProgram.
#include "runtime/program_exit.h"

#include "runtime/platform.h"

namespace {

// The program registers one routine; a few more are room enough for the runtime's own.
constexpr int kMaxCleanups = 16;
CleanupRoutine g_cleanups[kMaxCleanups];
int g_cleanupCount = 0;
EndRoutine g_endRoutine = nullptr;

}  // namespace

void RegisterCleanup(CleanupRoutine routine) {
    for (int i = 0; i < g_cleanupCount; ++i) {
        if (g_cleanups[i] == routine)
            return;
    }
    if (g_cleanupCount < kMaxCleanups)
        g_cleanups[g_cleanupCount++] = routine;
}

void RunCleanupRoutines() {
    // A routine that ends the program itself must not run the others twice.
    const int count = g_cleanupCount;
    g_cleanupCount = 0;
    for (int i = 0; i < count; ++i)
        g_cleanups[i]();
}

void ClearCleanupList() {
    g_cleanupCount = 0;
}

void SetEndRoutine(EndRoutine routine) {
    g_endRoutine = routine;
}

void RunEndRoutine(int32_t code) {
    if (g_endRoutine) {
        g_endRoutine(code);
        return;
    }
    RunCleanupRoutines();
    PlatformReleaseDllModules();
}

void ExitProgram(int32_t code) {
    RunEndRoutine(code);
    PlatformExitProcess(static_cast<uint32_t>(code));
}
