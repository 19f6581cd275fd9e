// Capture: the command runner gathering what a chatty child writes to its pipe, against the same
// child writing to a file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/exec/command_runner.h"
#include "bench/bench_clock_win32.h"
#include "bench/bench_report.h"
#include "bench/benchmarks.h"
#include "tests/fixtures/child_pattern.h"

namespace {

constexpr int kSizesMb[] = {1, 16, 64};
constexpr uint32_t kWriteSize = 64 * 1024;

// The child's arguments: the size in 64 KB writes of the pattern of the tests' child.
std::string ChildArguments(int megabytes) {
    return "repeat:" + std::to_string(megabytes * (1 << 20) / kWriteSize) + "x" + std::to_string(kWriteSize);
}

// True when the text is exactly what the child wrote.
bool IsPattern(const OwnedText& text, size_t expected) {
    if (text.size() != expected)
        return false;
    const char* bytes = text.c_str();
    for (size_t k = 0; k < expected; k += 4093) {
        if (bytes[k] != ChildPatternByte(k))
            return false;
    }
    return bytes[expected - 1] == ChildPatternByte(expected - 1);
}

double RunnerMs(const std::string& child, const std::string& arguments, size_t expected, bool* intact) {
    const double start = NowMs();
    OwnedText output = CommandRunner(arguments.c_str(), child.c_str(), 1);
    const double elapsed = NowMs() - start;
    *intact = *intact && IsPattern(output, expected);
    return elapsed;
}

double FileMs(const std::string& child, const std::string& arguments, size_t expected, bool* intact) {
    const std::string path = ScratchFolder() + "capture.bin";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    const double start = NowMs();
    const bool ran = file != INVALID_HANDLE_VALUE && RunToEnd(child + " " + arguments, file);
    const double elapsed = NowMs() - start;
    LARGE_INTEGER size = {};
    if (file != INVALID_HANDLE_VALUE) {
        GetFileSizeEx(file, &size);
        CloseHandle(file);
    }
    DeleteFileA(path.c_str());
    *intact = *intact && ran && static_cast<size_t>(size.QuadPart) == expected;
    return elapsed;
}

// The least any reader of an anonymous pipe can cost: the same child on a pipe with the runner's
// buffer size, drained by blocking reads of 1 MB into one block allocated beforehand, with no
// message handling, no polling and no text to build. Under Wine every byte written to a pipe
// passes through the Wine server, which is what separates this from the file.
double BareReaderMs(const std::string& child, const std::string& arguments, size_t expected, bool* intact) {
    constexpr DWORD kRead = 1 << 20;
    std::vector<char> block(expected + kRead);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 20)) {
        *intact = false;
        return 0;
    }
    const double start = NowMs();
    const HANDLE process = StartChild(child + " " + arguments, writeEnd);
    CloseHandle(writeEnd);
    size_t total = 0;
    DWORD got = 0;
    while (process != nullptr && total + kRead <= block.size() &&
           ReadFile(readEnd, block.data() + total, kRead, &got, nullptr))
        total += got;
    if (process != nullptr) {
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
    const double elapsed = NowMs() - start;
    CloseHandle(readEnd);
    *intact = *intact && total == expected && block[expected - 1] == ChildPatternByte(expected - 1);
    return elapsed;
}

}  // namespace

bool RunCaptureBench(int runs) {
    const std::string child = ChildProgram();
    constexpr size_t kCount = std::size(kSizesMb);
    std::vector<double> runner[kCount], file[kCount], bare[kCount];
    bool intact = true;
    using Measure = double (*)(const std::string&, const std::string&, size_t, bool*);
    const Measure measures[] = {RunnerMs, FileMs, BareReaderMs};
    // Round 0 warms up; the order of the three runs turns every round so that none always goes
    // first.
    for (int round = 0; round <= runs; ++round) {
        for (size_t i = 0; i < kCount; ++i) {
            const std::string arguments = ChildArguments(kSizesMb[i]);
            const size_t expected = static_cast<size_t>(kSizesMb[i]) << 20;
            double ms[3] = {};
            for (int k = 0; k < 3; ++k) {
                const int which = (k + round) % 3;
                ms[which] = measures[which](child, arguments, expected, &intact);
            }
            std::printf("    %s %d, %d MB: runner %.1f ms, file %.1f ms, bare pipe reader %.1f ms\n",
                        round > 0 ? "run" : "warm-up", round, kSizesMb[i], ms[0], ms[1], ms[2]);
            if (round > 0) {
                runner[i].push_back(ms[0]);
                file[i].push_back(ms[1]);
                bare[i].push_back(ms[2]);
            }
        }
    }
    bool met = intact;
    if (!intact)
        std::printf(
            "capture: the captured output differs from what the child wrote\nFIGURE|capture "
            "output|intact|-|-|-|-|-|-|MISS\n");
    // Against the file the figures show what the pipe costs under Wine (1.5 to 2 times the file
    // for any reader, the pipe floor rows): information, not a target of the runner.
    for (size_t i = 0; i < kCount; ++i) {
        const std::string size = std::to_string(kSizesMb[i]) + " MB";
        Report(RatioFigure{"capture " + size, "runner capturing " + size, "same child writing to a file", "ms",
                           runner[i], file[i], kNoTarget});
    }
    met =
        Report(RatioFigure{"capture growth", "runner, 64 MB", "runner, 16 MB", "ms", runner[2], runner[1], 4.4}) && met;
    // What the platform's pipe costs whoever reads it, and the runner's share on top of that.
    for (size_t i = 1; i < kCount; ++i) {
        const std::string size = std::to_string(kSizesMb[i]) + " MB";
        Report(RatioFigure{"pipe floor " + size, "bare pipe reader, " + size, "same child writing to a file", "ms",
                           bare[i], file[i], kNoTarget});
        met = Report(RatioFigure{"capture " + size + " / bare", "runner capturing " + size, "bare pipe reader, " + size,
                                 "ms", runner[i], bare[i], 1.15}) &&
              met;
    }
    return met;
}
