// The command runner: a hidden console child on an anonymous pipe, polled while the window
// messages keep flowing.
#include "app/exec/command_runner.h"

#include <windows.h>

#include <algorithm>

#include "app/exec/command_line.h"
#include "app/exec/output_capture.h"
#include "runtime/declared_api.h"
#include "runtime/process_events.h"
#include "runtime/scoped_handle.h"
#include "runtime/system_commands.h"

namespace {

// The record sizes the child-process calls are made with on the 32-bit build.
static_assert(sizeof(void*) != 4 || sizeof(SECURITY_ATTRIBUTES) == 12);
static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68);

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
        const DWORD woke = declared::MsgWaitForMultipleObjects(
            child != nullptr ? 1 : 0, child != nullptr ? &child : nullptr, FALSE, timeout, kAnyInput);
        if (woke == WAIT_TIMEOUT)
            continue;
        if (child != nullptr && woke == WAIT_OBJECT_0)
            return true;
        if (woke == WAIT_FAILED)
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

    KernelHandle ownTimer;
    HANDLE timer = reusable;
    if (fault == WaitFault::kTimerCreation) {
        timer = nullptr;
    } else if (timer == nullptr) {
        ownTimer.Attach(declared::CreateWaitableTimerA(nullptr, FALSE, nullptr));
        timer = ownTimer.get();
    }
    bool done = false;
    bool childEnded = false;
    if (timer != nullptr && declared::SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
        // An invalid handle makes the wait itself fail, as a broken timer would.
        HANDLE waitOn[2] = {fault == WaitFault::kWait ? reinterpret_cast<HANDLE>(0xBAD0) : timer, child};
        const DWORD count = child != nullptr ? 2 : 1;
        for (;;) {
            const DWORD woke = declared::MsgWaitForMultipleObjects(count, waitOn, FALSE, INFINITE, kAnyInput);
            // 0: the timer fired; 1 with a child: the child ended.
            if (woke < count) {
                done = true;
                childEnded = woke == 1;
                break;
            }
            // A failing wait would fail again at once: spinning on it would hang the program.
            if (woke == WAIT_FAILED)
                break;
            ProcessEvents();
        }
    }
    ownTimer.Close();
    if (!done)
        childEnded = WaitWithoutTimer(milliseconds, started, child);
    return childEnded;
}

// The child and the read end of its pipe, as the polling loop sees them.
class PipeSource : public CaptureSource {
  public:
    PipeSource(HANDLE readEnd, HANDLE process) : readEnd_(readEnd), process_(process) {}
    PipeSource(const PipeSource&) = delete;
    PipeSource& operator=(const PipeSource&) = delete;

    uint32_t Available() override {
        DWORD available = 0;
        if (!declared::PeekNamedPipe(readEnd_, nullptr, 0, nullptr, &available, nullptr))
            return 0;
        return available;
    }

    uint32_t Read(uint8_t* into, uint32_t count) override {
        DWORD got = 0;
        if (!declared::ReadFile(readEnd_, into, count, &got, nullptr))
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
                declared::GetExitCodeProcess(process_, &code);
                *exitCode = code;
                return true;
            }
        }
        // A failed query (no process handle: the child never started) leaves the code as it
        // was, which is not STILL_ACTIVE, so the loop ends.
        DWORD code = *exitCode;
        declared::GetExitCodeProcess(process_, &code);
        *exitCode = code;
        if (code != STILL_ACTIVE)
            return true;
        // A child may really exit with 259; only the process object tells that from running. It
        // may also have ended between the two questions: its code is then read again, or the
        // stale 259 would pass for its exit code.
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0)
            return false;
        declared::GetExitCodeProcess(process_, &code);
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
        if (!timer_)
            timer_.Attach(declared::CreateWaitableTimerA(nullptr, FALSE, nullptr));
        if (WaitPumpingUnless(WaitDueTime(milliseconds, std::nullopt), WaitMilliseconds(milliseconds, std::nullopt),
                              childEnded_ ? nullptr : process_, timer_.get()))
            childEnded_ = true;
    }

  private:
    HANDLE readEnd_;
    HANDLE process_;
    KernelHandle timer_;
    IdleBackoff backoff_;
    bool gotOutput_ = false;
    bool childEnded_ = false;
};

}  // namespace

OwnedText CommandRunner(const char* command, const char* program, int32_t mode, CommandRunResult* result) {
    KernelHandle readEnd;
    KernelHandle writeEnd;
    SECURITY_ATTRIBUTES security = {};
    security.nLength = sizeof security;
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = TRUE;
    DWORD startError = 0;
    // Without a pipe the child's output would be lost while its run passed for a good one.
    if (!declared::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &security, kPipeBufferSize))
        startError = GetLastError();

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();

    OwnedText commandLine = BuildCommandLine(OsPlatform(), command, program, mode);
    PROCESS_INFORMATION process = {};
    bool started = false;
    if (startError == 0) {
        started = declared::CreateProcessA(nullptr, commandLine.get(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                           &startup, &process);
        if (!started)
            startError = GetLastError();
    }
    KernelHandle child(process.hProcess);
    KernelHandle childThread(process.hThread);
    // Only the child (and its descendants) may hold the write end now, so the pipe breaks when
    // they are gone.
    writeEnd.Close();

    PipeSource source(readEnd.get(), child.get());
    CaptureStats stats;
    OwnedText output = CaptureOutput(source, &stats);

    if (result) {
        result->started = started;
        result->exitCode = started ? stats.exitCode : 0;
        result->startError = started ? 0 : (startError != 0 ? startError : ERROR_GEN_FAILURE);
        result->polls = stats.polls;
    }
    return output;
}

void PumpPendingInput() {
    if (declared::GetInputState())
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
