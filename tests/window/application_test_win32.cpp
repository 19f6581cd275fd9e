// Start-up and end of the program as the window runtime runs it, each in a process of its own:
// the order of start-up, the ways out of the message loop, and the fatal start-up errors.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "runtime/program_exit.h"
#include "tests/support/test_support.h"
#include "tests/window/window_test_support_win32.h"

namespace {

using namespace window_test;

void Note(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

bool CurrentDirectoryIsProgramDirectory() {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    return lstrcmpiA(current, ProgramDirectory().c_str()) == 0;
}

// What the created handler sees: the window not yet shown, the loop not yet entered, the program
// directory current and the hidden owner made.
void NoteCreated() {
    char text[96];
    std::snprintf(text, sizeof text, "created v%d l%d c%d o%d;", IsWindowVisible(FrameHwnd(kMainWindow)) ? 1 : 0,
                  MessageLoopEntered() ? 1 : 0, CurrentDirectoryIsProgramDirectory() ? 1 : 0,
                  HiddenOwnerWindow() != nullptr ? 1 : 0);
    Note(text);
}

void NoteDestroyed(EventNotify&) {
    Note(MessageLoopEntered() ? "destroyed l1;" : "destroyed l0;");
}

void NoteStart() {
    Note("start;");
}

void NoteCleanup() {
    Note("cleanup;");
}

void CloseFromTheLoop(EventNotify&) {
    NoteCreated();
    PostMessageA(FrameHwnd(kMainWindow), WM_CLOSE, 0, 0);
}

void EndInsideCreated(EventNotify&) {
    Note("created;");
    ExitProgram(0);
}

void DestroyInsideCreated(EventNotify&) {
    Note("created;");
    DestroyWindow(FrameHwnd(kMainWindow));
}

DWORD WINAPI EndFromAnotherThread(void*) {
    ExitProgram(5);
}

void StartEndingThread(EventNotify&) {
    Note("created;");
    CloseHandle(CreateThread(nullptr, 0, EndFromAnotherThread, nullptr, 0, nullptr));
}

// Runs when the queue is empty; the first time it closes the window from inside the loop.
void IdleOnce(void*) {
    static bool closed = false;
    if (closed)
        return;
    closed = true;
    Note("idle;");
    PostMessageA(FrameHwnd(kMainWindow), WM_CLOSE, 0, 0);
}

void RegisterIdleInCreated(EventNotify&) {
    Note("created;");
    RegisterIdleRoutine(FrameHwnd(kMainWindow), IdleOnce, nullptr);
}

[[noreturn]] void RunWith(EventRoutine created,
                          FormBytes form = ProgramFormDescription(),
                          uint32_t startWindow = kMainWindow) {
    // The program's form binds all of the program's routines; only the first two answer here.
    static EventRoutine routines[kFormRoutineCount];
    routines[0] = created;
    routines[1] = NoteDestroyed;
    ApplicationSetup setup;
    setup.formDescription = form;
    setup.routines = routines;
    setup.routineCount = kFormRoutineCount;
    setup.cleanup = NoteCleanup;
    setup.startRoutine = NoteStart;
    setup.startWindow = startWindow;
    const int code = RunApplication(setup);
    char text[32];
    std::snprintf(text, sizeof text, "returned %d;", code);
    Note(text);
    ExitProcess(static_cast<UINT>(code));
}

TEST(ApplicationDeathTest, StartsInOrderAndEndsWhenTheLastWindowCloses) {
    EXPECT_EXIT(RunWith(CloseFromTheLoop), testing::ExitedWithCode(0),
                "start;created v0 l0 c1 o1;destroyed l1;cleanup;returned 0;");
}

TEST(ApplicationDeathTest, ACreatedHandlerThatEndsTheProgramNeverReturnsToTheLoader) {
    EXPECT_EXIT(RunWith(EndInsideCreated), testing::ExitedWithCode(0), "start;created;cleanup;$");
}

TEST(ApplicationDeathTest, AStartWindowClosedWhileCreatedLeavesNoLoopToRun) {
    // The loop was not entered when the window went, so no quit message ends it: it finds no
    // window and returns at once.
    EXPECT_EXIT(RunWith(DestroyInsideCreated), testing::ExitedWithCode(0),
                "start;created;destroyed l0;cleanup;returned 0;");
}

TEST(ApplicationDeathTest, AnEndFromAnotherThreadIsCarriedOutByTheMainThread) {
    EXPECT_EXIT(RunWith(StartEndingThread), testing::ExitedWithCode(5), "created;.*cleanup;$");
}

TEST(ApplicationDeathTest, IdleRoutinesRunWhenTheQueueIsEmpty) {
    EXPECT_EXIT(RunWith(RegisterIdleInCreated), testing::ExitedWithCode(0),
                "start;created;idle;destroyed l1;cleanup;returned 0;");
}

TEST(ApplicationDeathTest, StartUpFailuresAreFatalAndRunNoCleanup) {
    // The box is the last thing printed: the clean-up routine (registered by then in the second
    // case) does not run after a fatal error.
    static const uint8_t kGarbage[] = {16, 0, 0, 0, 1, 2, 3};
    EXPECT_EXIT(RunWith(CloseFromTheLoop, FormBytes(kGarbage, sizeof kGarbage)),
                testing::ExitedWithCode(kFatalExitCode),
                FatalBoxWithText("运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n\r\n0, 0\r\n"));
    EXPECT_EXIT(RunWith(CloseFromTheLoop, ProgramFormDescription(), 0x52999999),
                testing::ExitedWithCode(kFatalExitCode), FatalBoxContaining("载入启动窗口失败") + "\\w* end\n$");
}

}  // namespace
