// Writing the console mode's lines.
#include "app/console/console_output.h"

#include <string>

namespace {

bool IsRedirected(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    const DWORD type = GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

std::wstring Wide(const char* text, UINT codePage) {
    const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
    const int n =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

void WriteAll(HANDLE handle, const char* bytes, size_t size) {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0)
            return;
        bytes += written;
        size -= written;
    }
}

}  // namespace

ConsoleOutput::ConsoleOutput() {
    const HANDLE inherited = GetStdHandle(STD_OUTPUT_HANDLE);
    // A process that has a console already (Wine gives a windowed child its parent's) is refused
    // the attachment, and has one all the same.
    AttachConsole(ATTACH_PARENT_PROCESS);
    attached_ = GetConsoleOutputCP() != 0;
    if (IsRedirected(inherited)) {
        out_ = inherited;
        return;
    }
    if (!attached_)
        return;
    console_.Attach(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    // The prompt that started a windowed program does not wait for it and has printed itself
    // again already: the report starts on a line of its own.
    WriteOut("\r\n");
}

Result ConsoleOutput::OpenLog(const char* path) {
    log_.Attach(
        CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log_)
        return Result::Failure(GetLastError());
    return Result::Success();
}

void ConsoleOutput::Line(const char* text) {
    Text((std::string(text ? text : "") + "\r\n").c_str());
}

void ConsoleOutput::Text(const char* text) {
    WriteOut(text);
    if (log_)
        WriteAll(log_.get(), text, std::char_traits<char>::length(text));
}

void ConsoleOutput::WriteOut(const char* text) {
    if (console_) {
        const std::wstring wide = Wide(text, CP_ACP);
        DWORD written = 0;
        WriteConsoleW(console_.get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    if (out_ == nullptr)
        return;
    // A redirected report is read in the console's code page, which the program's own texts (in
    // the ANSI code page) need not share.
    const UINT codePage = attached_ ? GetConsoleOutputCP() : GetACP();
    if (codePage == GetACP()) {
        WriteAll(out_, text, std::char_traits<char>::length(text));
        return;
    }
    const std::string bytes = Narrow(Wide(text, CP_ACP), codePage);
    WriteAll(out_, bytes.data(), bytes.size());
}
