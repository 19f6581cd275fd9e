// The Unix side of a test under Wine.
#include "tests/support/unix_side.h"

#include <windows.h>

#include <vector>

namespace {

using UnixFileNameFunction = char*(CDECL*)(const WCHAR*);

}  // namespace

std::string UnixPathOf(const std::string& windowsPath) {
    auto function = reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!function)
        return std::string();
    std::vector<WCHAR> wide(windowsPath.size() + 1);
    const int n = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    if (n == 0)
        return std::string();
    char* unix = function(wide.data());
    if (!unix)
        return std::string();
    std::string path = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

bool StartUnixProgram(const std::string& program, const std::string& arguments) {
    std::string line = "Z:" + program;
    for (char& c : line) {
        if (c == '/')
            c = '\\';
    }
    line += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

std::string UnixQuoted(const std::string& text) {
    return "\"" + text + "\"";
}
