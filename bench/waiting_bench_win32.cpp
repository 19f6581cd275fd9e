// Waiting: while a child that writes nothing runs for 5 s, the processor time the command runner
// takes, and how soon it handles messages posted to a window every 10 ms from another process.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/exec/command_runner.h"
#include "bench/bench_clock_win32.h"
#include "bench/bench_report.h"
#include "bench/benchmarks.h"

namespace {

constexpr int kChildMs = 5000;
constexpr int kPeriodMs = 10;
// The poster starts a little after the child and stops before it ends, so every message
// arrives while the runner waits.
constexpr int kPosterDelayMs = 200;
constexpr int kMessages = (kChildMs - 2 * kPosterDelayMs) / kPeriodMs;

std::vector<double> g_delays;
bool g_waiting = false;

double CounterMs(LONGLONG counter) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const LONGLONG posted =
            (static_cast<LONGLONG>(static_cast<uint32_t>(lParam)) << 32) | static_cast<uint32_t>(wParam);
        if (g_waiting)
            g_delays.push_back(CounterMs(now.QuadPart - posted));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TovUSBBenchWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "TovUSB bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    return window;
}

bool StartPoster(HWND window, PROCESS_INFORMATION* poster) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = "\"" + std::string(self) + "\" --poster " + std::to_string(reinterpret_cast<uintptr_t>(window)) +
                       " " + std::to_string(kMessages) + " " + std::to_string(kPeriodMs);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, poster);
}

}  // namespace

int RunMessagePoster(HWND window, int count, int periodMs) {
    Sleep(kPosterDelayMs);
    const double start = NowMs();
    for (int i = 0; i < count; ++i) {
        while (NowMs() < start + i * periodMs)
            Sleep(1);
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        PostMessageA(window, WM_APP, static_cast<WPARAM>(now.LowPart), static_cast<LPARAM>(now.HighPart));
    }
    return 0;
}

namespace {

struct WaitRun {
    double cpu = 0;   // processor time of this process during the run
    double wall = 0;  // the run's length
    uint32_t polls = 0;
    bool complete = false;
};

// One run of the silent child through the command runner, with messages posted meanwhile when
// asked; their delays go to g_delays.
WaitRun RunSilentChild(HWND window, int childMs, bool withMessages) {
    WaitRun run;
    PROCESS_INFORMATION poster = {};
    if (withMessages && !StartPoster(window, &poster))
        return run;
    const std::string arguments = "sleep:" + std::to_string(childMs);
    g_delays.clear();
    g_waiting = true;
    const double cpuStart = ProcessCpuMs(GetCurrentProcess());
    const double start = NowMs();
    CommandRunResult result;
    CommandRunner(arguments.c_str(), ChildProgram().c_str(), 1, &result);
    run.wall = NowMs() - start;
    run.cpu = ProcessCpuMs(GetCurrentProcess()) - cpuStart;
    g_waiting = false;
    run.polls = result.polls;
    if (withMessages) {
        WaitForSingleObject(poster.hProcess, INFINITE);
        CloseHandle(poster.hProcess);
        CloseHandle(poster.hThread);
        // Messages still queued are no part of the wait.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    run.complete = result.started && run.wall >= childMs && (!withMessages || g_delays.size() >= kMessages * 9 / 10);
    return run;
}

}  // namespace

// The processor time is taken from runs without messages: what the wait itself costs. The
// messages of the other runs cost their handling on top, which is the window's work.
bool RunWaitingBench(int runs) {
    HWND window = MakeWindow();
    std::vector<double> cpu, wall, delay;
    bool complete = RunSilentChild(window, 1000, false).complete;  // warm-up
    for (int round = 1; round <= runs; ++round) {
        const WaitRun quiet = RunSilentChild(window, kChildMs, false);
        const WaitRun busy = RunSilentChild(window, kChildMs, true);
        complete = complete && quiet.complete && busy.complete;
        cpu.push_back(quiet.cpu);
        wall.push_back(quiet.wall);
        delay.push_back(SpreadOf(g_delays).median);
        std::printf(
            "    round %d: quiet %.0f ms processor time in %.0f ms, %u polls; with %u messages %.0f ms in "
            "%.0f ms, %u polls, delay median %.2f max %.2f ms\n",
            round, quiet.cpu, quiet.wall, static_cast<unsigned>(quiet.polls), static_cast<unsigned>(g_delays.size()),
            busy.cpu, busy.wall, static_cast<unsigned>(busy.polls), SpreadOf(g_delays).median, SpreadOf(g_delays).max);
    }
    DestroyWindow(window);
    if (!complete)
        std::printf(
            "waiting: a run did not last the child's 5 s or lost messages\n"
            "FIGURE|waiting runs|complete|-|-|-|-|-|-|MISS\n");
    bool met = Report(RatioFigure{"waiting processor time", "processor time of the runner's process",
                                  "wall time of the 5 s wait (one core)", "ms", cpu, wall, 0.01});
    met = Report(
              ValueFigure{"waiting message delay", "median delay of a message posted every 10 ms", "ms", delay, 5.0}) &&
          met;
    return met && complete;
}
