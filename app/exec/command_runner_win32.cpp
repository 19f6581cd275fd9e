// The command runner: a hidden console child on an anonymous pipe, polled while the window
// messages keep flowing.
#include "app/exec/command_runner.h"

#include <windows.h>

#include <algorithm>

#include "app/exec/command_line.h"
#include "app/exec/output_capture.h"
#include "runtime/dll_commands.h"
#include "runtime/process_events.h"
#include "runtime/system_commands.h"

namespace {

// The record sizes the child-process calls are made with on the 32-bit build.
static_assert(sizeof(void*) != 4 || sizeof(SECURITY_ATTRIBUTES) == 12);
static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68);

// A null pointer argument of a declared DLL command.
constexpr uint32_t kNull = 0;
constexpr uint32_t kStillActive = 259;
constexpr uint32_t kWaitFailed = 0xFFFFFFFF;
constexpr uint32_t kInfinite = 0xFFFFFFFF;
// Any kind of queued input: keys, mouse moves and buttons, posted messages, timers, paint, sent
// messages and hot keys.
constexpr uint32_t kAnyInput = 0xFF;
// The pipe's buffer (a size the system may adjust): a chatty child writes on while the runner
// sleeps between polls instead of waiting for it at every write, and a burst after a silence
// fits in while the runner sleeps its longer steps.
constexpr uint32_t kPipeBufferSize = 1 << 20;

WaitFault g_waitFault = WaitFault::kNone;
int g_waitFaultCount = 0;

WaitFault TakeWaitFault() {
    if (g_waitFaultCount <= 0)
        return WaitFault::kNone;
    if (--g_waitFaultCount == 0) {
        const WaitFault fault = g_waitFault;
        g_waitFault = WaitFault::kNone;
        return fault;
    }
    return g_waitFault;
}

HANDLE AsHandle(uint32_t word) {
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(word));
}

void CloseIfOpen(HANDLE handle) {
    if (handle != nullptr)
        CallDllCommand(kDllCloseHandle, handle);
}

// The wait when no timer is to be had: the same time, spent in message waits on nothing but the
// child (if any), so the windows stay alive and the wait still ends. True when the child's end
// cut it short.
bool WaitWithoutTimer(uint64_t milliseconds, DWORD started, HANDLE child) {
    // Summed from 32-bit tick differences, which stay right across the counter's wrap.
    uint64_t elapsed = 0;
    DWORD last = started;
    for (;;) {
        const DWORD now = GetTickCount();
        elapsed += static_cast<DWORD>(now - last);
        last = now;
        if (elapsed >= milliseconds)
            return false;
        const DWORD timeout = static_cast<DWORD>(std::min<uint64_t>(milliseconds - elapsed, 0xFFFFFFFE));
        const uint32_t woke = child != nullptr
                                  ? CallDllCommand(kDllMsgWaitForMultipleObjects, 1, &child, 0, timeout, kAnyInput)
                                  : CallDllCommand(kDllMsgWaitForMultipleObjects, 0, kNull, 0, timeout, kAnyInput);
        if (woke == WAIT_TIMEOUT)
            continue;
        if (child != nullptr && woke == WAIT_OBJECT_0)
            return true;
        if (woke == kWaitFailed)
            Sleep(1);
        ProcessEvents();
    }
}

// WaitPumping's wait on a waitable timer, which the child's end (when a child is given) ends
// early; true when it did. `reusable` is a timer to arm (null: one is made for this wait and
// closed after it).
bool WaitPumpingUnless(int64_t dueTime, uint64_t milliseconds, HANDLE child, HANDLE reusable) {
    const DWORD started = GetTickCount();
    const WaitFault fault = TakeWaitFault();
    LARGE_INTEGER due;
    due.QuadPart = dueTime;

    HANDLE timer = nullptr;
    const bool ownTimer = reusable == nullptr;
    if (fault != WaitFault::kTimerCreation)
        timer = ownTimer ? AsHandle(CallDllCommand(kDllCreateWaitableTimerA, kNull, 0, kNull)) : reusable;
    bool done = false;
    bool childEnded = false;
    if (timer != nullptr && CallDllCommand(kDllSetWaitableTimer, timer, &due, 0, kNull, kNull, 0) != 0) {
        // An invalid handle makes the wait itself fail, as a broken timer would.
        HANDLE waitOn[2] = {fault == WaitFault::kWait ? AsHandle(0xBAD0) : timer, child};
        const uint32_t count = child != nullptr ? 2 : 1;
        for (;;) {
            const uint32_t woke = CallDllCommand(kDllMsgWaitForMultipleObjects, count, waitOn, 0, kInfinite, kAnyInput);
            // 0: the timer fired; 1 with a child: the child ended.
            if (woke < count) {
                done = true;
                childEnded = woke == 1;
                break;
            }
            // A failing wait would fail again at once: spinning on it would hang the program.
            if (woke == kWaitFailed)
                break;
            ProcessEvents();
        }
    }
    if (ownTimer)
        CloseIfOpen(timer);
    if (!done)
        childEnded = WaitWithoutTimer(milliseconds, started, child);
    return childEnded;
}

// The child and the read end of its pipe, as the polling loop sees them.
class PipeSource : public CaptureSource {
  public:
    PipeSource(HANDLE readEnd, HANDLE process) : readEnd_(readEnd), process_(process) {}
    ~PipeSource() override { CloseIfOpen(timer_); }
    PipeSource(const PipeSource&) = delete;
    PipeSource& operator=(const PipeSource&) = delete;

    uint32_t Available() override {
        DWORD available = 0;
        if (!CallDllCommand(kDllPeekNamedPipe, readEnd_, kNull, 0, kNull, &available, kNull))
            return 0;
        return available;
    }

    uint32_t Read(uint8_t* into, uint32_t count) override {
        DWORD got = 0;
        if (!CallDllCommand(kDllReadFile, readEnd_, into, count, &got, kNull))
            return 0;
        gotOutput_ = gotOutput_ || got > 0;
        return got;
    }

    bool Ended(uint32_t* exitCode) override {
        // The process object answers for a running child in one question; once it is signalled
        // the exit code is final.
        if (process_ != nullptr) {
            const DWORD state = WaitForSingleObject(process_, 0);
            if (state == WAIT_TIMEOUT)
                return false;
            if (state == WAIT_OBJECT_0) {
                DWORD code = *exitCode;
                CallDllCommand(kDllGetExitCodeProcess, process_, &code);
                *exitCode = code;
                return true;
            }
        }
        // A failed query (no process handle: the child never started) leaves the code as it
        // was, which is not STILL_ACTIVE, so the loop ends.
        DWORD code = *exitCode;
        CallDllCommand(kDllGetExitCodeProcess, process_, &code);
        *exitCode = code;
        if (code != kStillActive)
            return true;
        // A child may really exit with 259; only the process object tells that from running. It
        // may also have ended between the two questions: its code is then read again, or the
        // stale 259 would pass for its exit code.
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0)
            return false;
        CallDllCommand(kDllGetExitCodeProcess, process_, &code);
        *exitCode = code;
        return true;
    }

    // WaitPumping's wait, one step after output and longer while the child is silent; the
    // child's end cuts it short once. After that the steps are whole again, so that what the
    // child's descendants still write is polled for as it was while the child ran. One timer
    // serves every wait of the run.
    void Idle() override {
        PumpPendingInput();
        const int32_t milliseconds = static_cast<int32_t>(backoff_.Next(gotOutput_));
        gotOutput_ = false;
        if (timer_ == nullptr)
            timer_ = AsHandle(CallDllCommand(kDllCreateWaitableTimerA, kNull, 0, kNull));
        if (WaitPumpingUnless(WaitDueTime(milliseconds, std::nullopt), WaitMilliseconds(milliseconds, std::nullopt),
                              childEnded_ ? nullptr : process_, timer_))
            childEnded_ = true;
    }

  private:
    HANDLE readEnd_;
    HANDLE process_;
    HANDLE timer_ = nullptr;
    IdleBackoff backoff_;
    bool gotOutput_ = false;
    bool childEnded_ = false;
};

}  // namespace

OwnedText CommandRunner(const char* command, const char* program, int32_t mode, CommandRunResult* result) {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    SECURITY_ATTRIBUTES security = {};
    security.nLength = 12;
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = 1;
    CallDllCommand(kDllCreatePipe, &readEnd, &writeEnd, &security, kPipeBufferSize);

    STARTUPINFOA startup = {};
    startup.cb = 68;
    startup.dwFlags = 0x101;  // STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES
    startup.wShowWindow = 0;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;

    OwnedText commandLine = BuildCommandLine(OsPlatform(), command, program, mode);
    PROCESS_INFORMATION process = {};
    const bool started = CallDllCommand(kDllCreateProcessA, kNull, commandLine.get(), kNull, kNull, 1, 0, kNull, kNull,
                                        &startup, &process) != 0;
    // Only the child (and its descendants) may hold the write end now, so the pipe breaks when
    // they are gone.
    CloseIfOpen(writeEnd);

    PipeSource source(readEnd, process.hProcess);
    CaptureStats stats;
    OwnedText output = CaptureOutput(source, &stats);
    CloseIfOpen(readEnd);
    CloseIfOpen(process.hProcess);
    CloseIfOpen(process.hThread);

    if (result) {
        result->started = started;
        result->exitCode = started ? stats.exitCode : 0;
        result->polls = stats.polls;
    }
    return output;
}

void PumpPendingInput() {
    if (CallDllCommand(kDllGetInputState) != 0)
        ProcessEvents();
}

bool WaitPumping(int32_t amount, std::optional<int32_t> unit) {
    WaitPumpingUnless(WaitDueTime(amount, unit), WaitMilliseconds(amount, unit), nullptr, nullptr);
    return true;
}

void InjectWaitFault(WaitFault fault, int count) {
    g_waitFault = fault;
    g_waitFaultCount = fault == WaitFault::kNone ? 0 : count;
}
