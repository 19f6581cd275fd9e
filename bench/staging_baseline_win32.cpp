// The start-up benchmark's baseline: the work of payload staging done by hand, with nothing of
// the tool around it. Writes the three payload files that the tool carries into the work folder
// and runs the extractor with the tool's command line, its output on a pipe, then exits with the
// extractor's exit code (255 when something could not be done).
//
// Usage: staging_baseline WORK_FOLDER  (ending in "\", as X:\TovUSB\)
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "resources/payload_constants.h"

namespace {

bool WriteByteSet(const std::string& path, const uint8_t* byteSet) {
    uint32_t length = 0;
    std::memcpy(&length, byteSet + 4, 4);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, byteSet + 8, length, &written, nullptr) && written == length;
    CloseHandle(file);
    return ok;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    const std::string work = arguments;
    if (work.empty() || work.back() != '\\')
        return 255;
    CreateDirectoryA(work.c_str(), nullptr);
    SetFileAttributesA(work.c_str(), FILE_ATTRIBUTE_HIDDEN);
    // The tool joins "\USB.7z" to a folder that ends in "\": the same doubled separator here.
    const std::string archive = work + "\\USB.7z";
    const std::string extractor = work + "\\7z.exe";
    if (!WriteByteSet(archive, kPayloadArchive) || !WriteByteSet(extractor, kExtractorProgram) ||
        !WriteByteSet(work + "\\7z.dll", kExtractorLibrary))
        return 255;

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return 255;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::string line = extractor + "  x  \"" + archive + "\"  -y -aos -pk537204968  -o" + work;
    PROCESS_INFORMATION process = {};
    const bool started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started)
        return 255;
    // The output is read to its end and dropped, as the tool drops it.
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 255;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}
