// System queries over GetVersionExA, the shell folder paths, the system directories and the
// system's message table.
#include "runtime/system_commands.h"

#include <windows.h>

#include <shlobj.h>

#include <cstring>

#include "runtime/error_reason.h"
#include "runtime/memory.h"
#include "runtime/path_rules.h"
#include "runtime/text_commands.h"

namespace {

SystemDirectoryOverride g_directoryOverride = nullptr;

// Shell folder numbers of codes 1 to 8.
constexpr int kShellFolders[] = {CSIDL_PERSONAL,  CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
                                 CSIDL_STARTMENU, CSIDL_PROGRAMS,  CSIDL_STARTUP,          CSIDL_APPDATA};

// Writes the directory into the 260-byte buffer; false when there is none.
bool QueryDirectory(int32_t code, char (&buffer)[MAX_PATH]) {
    if ((code == 9 || code == 10) && g_directoryOverride && g_directoryOverride(code, buffer, MAX_PATH))
        return true;
    UINT n = 0;
    if (code >= 1 && code <= 8)
        return SHGetSpecialFolderPathA(nullptr, buffer, kShellFolders[code - 1], FALSE) != FALSE;
    if (code == 9)
        n = GetWindowsDirectoryA(buffer, MAX_PATH);
    else if (code == 10)
        n = GetSystemDirectoryA(buffer, MAX_PATH);
    else if (code == 11)
        n = GetTempPathA(MAX_PATH, buffer);
    // A count of MAX_PATH or more is the size the path would need: it did not fit.
    return n > 0 && n < MAX_PATH;
}

}  // namespace

int32_t OsPlatform() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    static_assert(sizeof(OSVERSIONINFOA) == 148);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version))
        return 0;
#pragma GCC diagnostic pop
    switch (version.dwPlatformId) {
        case VER_PLATFORM_WIN32s:
            return 1;
        case VER_PLATFORM_WIN32_WINDOWS:
            return 2;
        case VER_PLATFORM_WIN32_NT:
            return 3;
        default:
            return 0;
    }
}

OwnedText SpecialDirectory(int32_t code) {
    char buffer[MAX_PATH] = {};
    if (!QueryDirectory(code, buffer))
        return OwnedText();
    const size_t n = strnlen(buffer, MAX_PATH - 1);
    if (n == 0)
        return OwnedText();
    const bool needsSlash = !EndsWithSeparator(buffer, n);
    const size_t length = n + (needsSlash ? 1 : 0);
    auto* text = static_cast<char*>(RuntimeAlloc(length + 1));
    std::memcpy(text, buffer, n);
    text[n] = '\\';
    text[length] = '\0';
    return OwnedText(text);
}

void SetSystemDirectoryOverride(SystemDirectoryOverride hook) {
    g_directoryOverride = hook;
}

OwnedText SystemErrorText(uint32_t code) {
    // Language 0: the user's language, which is what the ANSI code page was chosen for (936 under
    // a Chinese Windows PE). The system sizes the text: a few of its texts run to several lines.
    char* text = nullptr;
    DWORD n =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    // The system's texts end in CR LF, some in a space before it as well; no GBK trail byte is
    // one of these bytes.
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' '))
        --n;
    OwnedText result = MakeText(text, n);
    if (text)
        LocalFree(text);
    return result;
}

OwnedText SystemErrorReason(uint32_t code) {
    return ErrorReasonText(code, SystemErrorText);
}
