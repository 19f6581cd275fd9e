// The command runner with real child processes: what is captured, exit codes, children that do
// not start, and the windows staying alive (and re-entrant) while a child runs.
#include "app/exec/command_runner.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/fixtures/child_pattern.h"
#include "tests/support/offline_windows.h"

namespace {

struct ChildRun {
    std::string output;
    CommandRunResult result;
};

ChildRun RunChild(const std::string& arguments) {
    ChildRun run;
    OwnedText text = CommandRunner(arguments.c_str(), ChildProgramPath().c_str(), 1, &run.result);
    run.output = std::string(text.view());
    return run;
}

// <chrono> cannot be compiled with the GBK execution character set.
ULONGLONG MillisecondsSince(ULONGLONG start) {
    return GetTickCount64() - start;
}

TEST(CommandRunner, CapturesBothStreamsOfTheChild) {
    struct Case {
        const char* name;
        const char* arguments;
        std::string expected;
        uint32_t exitCode;
    };
    const Case cases[] = {
        {"standard output", "out:hello", "hello", 0},
        {"standard error only", "err:oops", "oops", 0},
        {"both streams in the order written", "out:a err:b out:c", "abc", 0},
        {"zero bytes inside one write", "outhex:61006200006300", "abc", 0},
        {"nothing but a zero byte", "zero", "", 0},
        {"nothing at all", "exit:0", "", 0},
        {"after a pause", "sleep:300 out:late", "late", 0},
        {"just before exit", "sleep:50 out:last exit:5", "last", 5},
        {"GBK text", "outhex:D6D0CEC4", "\xD6\xD0\xCE\xC4", 0},
        // STILL_ACTIVE as a real exit code must not keep the runner polling for ever.
        {"exit code 259", "out:x exit:259", "x", 259},
        {"large exit code", "exit:0xC0000135", "", 0xC0000135},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildRun run = RunChild(c.arguments);
        EXPECT_EQ(run.output, c.expected);
        EXPECT_TRUE(run.result.started);
        EXPECT_EQ(run.result.exitCode, c.exitCode);
    }
}

TEST(CommandRunner, TheLastWordsOfManyShortRunsAreKept) {
    // Each child writes and ends at once, racing the runner's poll; none may lose its output.
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const std::string word = "word" + std::to_string(i);
        EXPECT_EQ(RunChild("out:" + word + " exit:1").output, word);
    }
}

TEST(CommandRunner, TenMegabytesArriveWholeAndByteExact) {
    constexpr uint32_t kChunks = 160;
    constexpr uint32_t kChunkSize = 64 * 1024;
    const ChildRun run = RunChild("repeat:" + std::to_string(kChunks) + "x" + std::to_string(kChunkSize));
    ASSERT_EQ(run.output.size(), size_t{kChunks} * kChunkSize);
    size_t firstBad = run.output.size();
    for (size_t k = 0; k < run.output.size(); ++k) {
        if (run.output[k] != ChildPatternByte(k)) {
            firstBad = k;
            break;
        }
    }
    EXPECT_EQ(firstBad, run.output.size()) << "first wrong byte";
}

TEST(CommandRunner, AChildThatCannotStartGivesNothingAfterOnePollAndWhy) {
    TempFolder folder;
    const std::string text = folder.path() + "\\text.exe";
    HANDLE file = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "not a program\r\n", 15, &written, nullptr);
    CloseHandle(file);
    const struct {
        std::string program;
        DWORD error;
        DWORD alsoSeen;  // what Wine says instead
    } cases[] = {
        {"C:\\no\\such\\folder\\missing.exe", ERROR_PATH_NOT_FOUND, ERROR_FILE_NOT_FOUND},
        {folder.path() + "\\missing.exe", ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND},
        {text, ERROR_BAD_EXE_FORMAT, ERROR_BAD_EXE_FORMAT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        CommandRunResult result;
        result.started = true;
        result.exitCode = 77;
        OwnedText output = CommandRunner("out:x", c.program.c_str(), 1, &result);
        EXPECT_EQ(output.get(), nullptr);
        EXPECT_FALSE(result.started);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(result.polls, 1u);
        EXPECT_TRUE(result.startError == c.error || result.startError == c.alsoSeen) << result.startError;
    }
}

TEST(CommandRunner, ProgramAndShellFormsReachTheChildAsBuilt) {
    const std::string child = ChildProgramPath();
    // A command that begins with a space leaves two after the program path.
    OwnedText programForm = CommandRunner(" cmdline", child.c_str(), 1);
    EXPECT_EQ(programForm.view(), child + "  cmdline");

    // Shell form: cmd.exe runs the command and hands the child's exit code back.
    CommandRunResult result;
    OwnedText shellForm = CommandRunner((child + " out:viaShell exit:4").c_str(), "ignored.exe", 0, &result);
    EXPECT_EQ(shellForm.view(), "viaShell");
    EXPECT_EQ(result.exitCode, 4u);

    // The plain call, as the flows use it.
    OwnedText echo = CommandRunner("echo hi", nullptr, 0);
    EXPECT_EQ(echo.view(), "hi\r\n");
}

TEST(CommandRunner, StandInShellsRunCommandsThroughTheRealShell) {
    for (FakeCmd kind : {FakeCmd::kWin7x64, FakeCmd::kWin7x86, FakeCmd::kWin8, FakeCmd::kWin81, FakeCmd::kWin10,
                         FakeCmd::kNoVersion}) {
        if (kind != FakeCmd::kWin7x64 && !Runs32BitPrograms())
            continue;
        const std::string shell = FakeCmdPath(kind);
        SCOPED_TRACE(shell);
        CommandRunResult result;
        OwnedText text = CommandRunner("/c echo %TOVUSB_STAND_IN_SHELL% & exit 6", shell.c_str(), 1, &result);
        EXPECT_EQ(text.view(), "1 \r\n");
        EXPECT_EQ(result.exitCode, 6u);
    }
}

TEST(CommandRunner, AStandInShellFoundFirstStillRunsTheCommand) {
    TempFolder sandbox;
    ASSERT_TRUE(sandbox.ok());
    const FakeCmd shell = Runs32BitPrograms() ? FakeCmd::kWin7x86 : FakeCmd::kWin7x64;
    ASSERT_TRUE(CopyFixture(FakeCmdPath(shell), sandbox.path() + "\\cmd.exe"));
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    // The current directory is searched before the system directories.
    ASSERT_TRUE(SetCurrentDirectoryA(sandbox.path().c_str()));
    OwnedText text = CommandRunner("echo %TOVUSB_STAND_IN_SHELL%", "", 0);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(text.view(), "1\r\n");
}

// A message-only window that records what reaches it while the runner waits.
class WaitWitness {
  public:
    WaitWitness() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TovExecWaitWitness";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~WaitWitness() { DestroyWindow(hwnd_); }

    HWND hwnd() const { return hwnd_; }

    // Posts WM_APP from another thread after the delay, as a click would arrive mid-run.
    void PostLater(DWORD delayMs) {
        delay_ = delayMs;
        HANDLE thread = CreateThread(nullptr, 0, PostThread, this, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        CloseHandle(thread);
    }

    int handled = 0;
    // Set by the handler: whether the marker file the child makes at its end already existed.
    bool markerExisted = false;
    std::string marker;
    // Run by the handler, if set: a nested run of the command runner.
    std::string nestedArguments;
    std::string nestedOutput;

  private:
    static DWORD WINAPI PostThread(void* self) {
        auto* w = static_cast<WaitWitness*>(self);
        Sleep(w->delay_);
        PostMessageA(w->hwnd_, WM_APP, 0, 0);
        return 0;
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* w = reinterpret_cast<WaitWitness*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == WM_APP && w) {
            ++w->handled;
            if (!w->marker.empty())
                w->markerExisted = GetFileAttributesA(w->marker.c_str()) != INVALID_FILE_ATTRIBUTES;
            if (!w->nestedArguments.empty())
                w->nestedOutput = RunChild(w->nestedArguments).output;
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }

    HWND hwnd_ = nullptr;
    DWORD delay_ = 0;
};

TEST(CommandRunner, WindowMessagesAreHandledWhileTheChildRuns) {
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    WaitWitness witness;
    ASSERT_NE(witness.hwnd(), nullptr);
    witness.marker = folder.path() + "\\ended";
    witness.nestedArguments = "out:inner";
    // The message comes 150 ms into a run of 4 s: a helper thread starved for seconds on a loaded
    // machine still posts it while the child runs.
    witness.PostLater(150);

    const ChildRun run = RunChild("sleep:4000 touch:" + witness.marker + " out:outer");
    EXPECT_EQ(run.output, "outer");
    EXPECT_EQ(witness.handled, 1);
    EXPECT_FALSE(witness.markerExisted) << "the message waited for the child's end";
    EXPECT_NE(GetFileAttributesA(witness.marker.c_str()), INVALID_FILE_ATTRIBUTES);
    // The handler ran the runner again inside the wait; the runs nest.
    EXPECT_EQ(witness.nestedOutput, "inner");
}

TEST(WaitPumping, WaitsAboutTheAmount) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(WaitPumping(120));
    const ULONGLONG elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 100u);
    EXPECT_LT(elapsed, 3000u);
}

TEST(WaitPumping, WithoutAWorkingTimerItStillEndsAndHandlesMessages) {
    for (WaitFault fault : {WaitFault::kTimerCreation, WaitFault::kWait}) {
        SCOPED_TRACE(fault == WaitFault::kTimerCreation ? "timer not created" : "wait failed");
        WaitWitness witness;
        ASSERT_NE(witness.hwnd(), nullptr);
        // The message comes 30 ms into a wait of 3 s: a helper thread starved for seconds on a
        // loaded machine still posts it during the wait, and the wait must handle it there.
        constexpr DWORD kWaitMs = 3000;
        witness.PostLater(30);
        InjectWaitFault(fault, 1);
        const ULONGLONG start = GetTickCount64();
        EXPECT_TRUE(WaitPumping(kWaitMs));
        const ULONGLONG elapsed = MillisecondsSince(start);
        InjectWaitFault(WaitFault::kNone, 0);
        EXPECT_GE(elapsed, kWaitMs - 50u);
        EXPECT_LT(elapsed, kWaitMs + 10000u);
        EXPECT_EQ(witness.handled, 1) << "the message that came during the wait was not handled in it";
    }
}

TEST(CommandRunner, RunsToTheEndWhenNoWaitableTimerCanBeMade) {
    InjectWaitFault(WaitFault::kTimerCreation, 1 << 30);
    const ChildRun run = RunChild("sleep:200 out:done exit:2");
    InjectWaitFault(WaitFault::kNone, 0);
    EXPECT_EQ(run.output, "done");
    EXPECT_EQ(run.result.exitCode, 2u);
}

}  // namespace
