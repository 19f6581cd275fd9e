// Code page conversions on Windows, through UTF-16 with the system's own tables.
#include "inf/code_page.h"

#include <windows.h>

#include <climits>
#include <string>

namespace {

bool ToWide(std::string_view bytes, uint32_t codePage, std::wstring& wide) {
    if (bytes.size() > static_cast<size_t>(INT_MAX))
        return false;
    const int length = static_cast<int>(bytes.size());
    wide.clear();
    if (length == 0)
        return true;
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0)
        return false;
    wide.resize(static_cast<size_t>(units));
    return MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), units) == units;
}

bool FromWide(const std::wstring& wide, uint32_t codePage, std::string& out, BOOL* usedDefault) {
    out.clear();
    if (wide.empty())
        return true;
    if (wide.size() > static_cast<size_t>(INT_MAX))
        return false;
    const int units = static_cast<int>(wide.size());
    // UTF-8 takes no default character: the call fails when one is asked for.
    BOOL* flag = codePage == CP_UTF8 ? nullptr : usedDefault;
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), units, nullptr, 0, nullptr, flag);
    if (length <= 0)
        return false;
    out.resize(static_cast<size_t>(length));
    return WideCharToMultiByte(codePage, 0, wide.data(), units, out.data(), length, nullptr, flag) == length;
}

}  // namespace

bool AnsiToUtf8(std::string_view bytes, uint32_t codePage, std::string& utf8, bool* damaged) {
    if (!IsValidCodePage(codePage))
        return false;
    std::wstring wide;
    if (!ToWide(bytes, codePage, wide))
        return false;
    if (damaged && wide.find(L'\xFFFD') != std::wstring::npos)
        *damaged = true;
    return FromWide(wide, CP_UTF8, utf8, nullptr);
}

bool Utf8ToAnsi(std::string_view utf8, uint32_t codePage, std::string& ansi, bool* lossy) {
    if (!IsValidCodePage(codePage))
        return false;
    std::wstring wide;
    if (!ToWide(utf8, CP_UTF8, wide))
        return false;
    BOOL usedDefault = FALSE;
    if (!FromWide(wide, codePage, ansi, &usedDefault))
        return false;
    if (lossy && usedDefault)
        *lossy = true;
    return true;
}
