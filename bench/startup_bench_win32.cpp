// Start-up: from the start of TovUSB-sandbox.exe in the simulated Windows PE to its main window
// showing, with the benchmark payload staged, against the same staging done by hand
// (staging_baseline.exe) from its start to its end.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock_win32.h"
#include "bench/bench_report.h"
#include "bench/benchmarks.h"
#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/process_under_test.h"
#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_session.h"  // the tool's title

namespace {

constexpr char kWorkFolder[] = "X:\\TovUSB\\";
constexpr DWORD kPatienceMs = 120000;

int CountFiles(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        count += (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CountFiles(folder + "\\" + name) : 1;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return count;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// The tool's main window by its title, shown or not; the window text is read without a message.
HWND FindMainWindow(DWORD processId) {
    for (HWND window : TopLevelWindows(processId, false)) {
        char title[128];
        const int n = GetWindowTextA(window, title, sizeof title);
        if (n > 0 && std::string(title, n) == tool::kMainTitle)
            return window;
    }
    return nullptr;
}

std::string Variable(const char* name) {
    char value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(value, n) : std::string();
}

// Milliseconds from the tool's start to its main window showing, 0 when it did not show; the
// files in the work folder at that moment go to *unpacked.
double ToolRun(const std::string& toolPath, int* unpacked) {
    ProcessUnderTest tool;
    const double start = NowMs();
    if (!tool.Start(toolPath, std::string(), {{"TOVUSB_SANDBOX_SYSTEMROOT", "X:\\Windows"}}))
        return 0;
    // The window exists, hidden, long before staging ends: it is looked for every few
    // milliseconds (a search asks the server about every window), then only whether it shows,
    // every millisecond, so that the watching takes next to nothing from the tool.
    HWND main = nullptr;
    double shown = 0;
    while (NowMs() - start < kPatienceMs && tool.Running()) {
        if (main == nullptr)
            main = FindMainWindow(tool.id());
        if (main != nullptr && IsWindowVisible(main)) {
            shown = NowMs() - start;
            break;
        }
        Sleep(main == nullptr ? 5 : 1);
    }
    if (shown == 0)
        return 0;
    *unpacked = CountFiles(kWorkFolder);
    // Closing the window removes the work folder, as at the end of every run of the tool.
    PressCloseBox(main);
    DWORD code = 0;
    tool.WaitForExit(30000, &code);
    return shown;
}

// Milliseconds from the baseline's start to its end; 0 when it failed.
double BaselineRun(const std::string& baselinePath) {
    const double start = NowMs();
    DWORD code = 255;
    const bool ran = RunToEnd(baselinePath + " " + kWorkFolder, nullptr, &code);
    const double elapsed = NowMs() - start;
    // 7-Zip's exit code 1 stands for warnings only.
    return ran && code <= 1 ? elapsed : 0;
}

}  // namespace

bool RunStartupBench(int runs) {
    // scripts/e2e-prefix names the tool and the folder its archive was made from.
    const std::string toolPath = Variable("TOVUSB_E2E_TOOL");
    const std::string payload = Variable("TOVUSB_E2E_PAYLOAD");
    const std::string baselinePath = OwnFolder() + "staging_baseline.exe";
    const int expectedFiles = CountFiles(payload) + 3;
    if (toolPath.empty() || expectedFiles == 3) {
        std::printf("startup: needs scripts/e2e-prefix with --payload (tool \"%s\", payload \"%s\")\n",
                    toolPath.c_str(), payload.c_str());
        std::printf("FIGURE|startup|set-up|-|-|-|-|-|-|MISS\n");
        return false;
    }
    std::vector<double> tool, base;
    bool complete = true;
    for (int round = 0; round <= runs; ++round) {
        double t = 0, b = 0;
        auto runTool = [&] {
            RemoveFolder(kWorkFolder);
            int unpacked = 0;
            t = ToolRun(toolPath, &unpacked);
            complete = complete && unpacked == expectedFiles;
        };
        auto runBaseline = [&] {
            RemoveFolder(kWorkFolder);
            b = BaselineRun(baselinePath);
            complete = complete && CountFiles(kWorkFolder) == expectedFiles;
        };
        if (round % 2) {
            runTool();
            runBaseline();
        } else {
            runBaseline();
            runTool();
        }
        complete = complete && t > 0 && b > 0;
        std::printf("    %s %d: tool %.1f ms, baseline %.1f ms\n", round > 0 ? "run" : "warm-up", round, t, b);
        if (round > 0) {
            tool.push_back(t);
            base.push_back(b);
        }
    }
    RemoveFolder(kWorkFolder);
    if (!complete)
        std::printf(
            "startup: a run failed or unpacked another number of files than the payload's %d\n"
            "FIGURE|startup runs|complete|-|-|-|-|-|-|MISS\n",
            expectedFiles);
    // The tool and the baseline are of one build: the 64-bit tool against a 64-bit baseline with
    // the 64-bit extractor.
    const std::string bits = sizeof(void*) == 8 ? "64-bit" : "32-bit";
    return Report(RatioFigure{"start-up " + bits, "TovUSB-sandbox.exe (" + bits + ") start to main window shown",
                              "staging by hand (" + bits + ": write 3 files, run 7z.exe)", "ms", tool, base, 1.10}) &&
           complete;
}
