// Clocks, folders and plain child runs of the benchmarks.
#include "bench/bench_clock_win32.h"

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

double ProcessCpuMs(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

std::string OwnFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string ScratchFolder() {
    char value[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("TOVUSB_E2E_SCRATCH", value, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        n = GetTempPathA(MAX_PATH, value);
    std::string folder(value, n);
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string ChildProgram() {
    return OwnFolder() + "..\\fixtures\\tov_child.exe";
}

HANDLE StartChild(const std::string& commandLine, HANDLE output) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | (output ? STARTF_USESTDHANDLES : 0);
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, output != nullptr, 0, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

bool RunToEnd(const std::string& commandLine, HANDLE output, DWORD* code) {
    const HANDLE process = StartChild(commandLine, output);
    if (process == nullptr)
        return false;
    WaitForSingleObject(process, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    if (code)
        *code = exitCode;
    CloseHandle(process);
    return true;
}
