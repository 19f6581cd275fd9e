// Reading the file version record from a program's version resource.
#include "runtime/version_info.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "runtime/text_rules.h"

namespace {

constexpr size_t kMemberBlock = 256;

// Resource names in member order; the language names have no entry of their own.
constexpr const char* kValueNames[kVersionMemberCount] = {
    "FileVersion",      "FileDescription", "InternalName",   "CompanyName", "LegalCopyright", "LegalTrademarks",
    "OriginalFilename", "ProductName",     "ProductVersion", nullptr,       "Comments"};

// Bytes of text that fit in limit without cutting a two-byte character in half.
size_t FittingBytes(const char* text, size_t n, size_t limit) {
    size_t fit = 0;
    while (fit < n) {
        const size_t width = (IsLeadByte(static_cast<uint8_t>(text[fit])) && fit + 1 < n) ? 2 : 1;
        if (fit + width > limit)
            break;
        fit += width;
    }
    return fit;
}

// A member block: 256 bytes, at most 255 characters and the terminator; null for no text.
char* MemberBlock(const char* text, size_t n) {
    n = FittingBytes(text, n, kMemberBlock - 1);
    if (n == 0)
        return nullptr;
    auto* block = static_cast<char*>(RuntimeAlloc(kMemberBlock));
    std::memcpy(block, text, n);
    block[n] = '\0';
    return block;
}

// The names of the resource's languages joined with ", ", written as far as the member holds.
char* LanguageNames(const WORD* table, UINT entries) {
    char joined[kMemberBlock * 2] = {};
    size_t used = 0;
    for (UINT i = 0; i < entries && used < kMemberBlock; ++i) {
        char name[kMemberBlock] = {};
        VerLanguageNameA(table[2 * i], name, sizeof name);
        used += std::snprintf(joined + used, sizeof joined - used, i ? ", %s" : "%s", name);
        if (used >= sizeof joined)
            used = sizeof joined - 1;
    }
    return MemberBlock(joined, used);
}

// Windows' ANSI file functions take no path of MAX_PATH characters or more. Wine's version
// functions do, while its file tests do not: a target whose cmd.exe lies past the limit would pass
// the version test and then look 32-bit to the architecture test, whatever it is.
bool BeyondAnsiPathLimit(const char* path) {
    const int characters = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    return characters == 0 || characters > MAX_PATH;
}

}  // namespace

bool ReadFileVersionInfo(const char* path, FileVersionInfo& record) {
    record.Clear();
    if (path != nullptr && BeyondAnsiPathLimit(path))
        return false;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path ? path : "", &ignored);
    if (size == 0)
        return false;
    auto* resource = static_cast<uint8_t*>(RuntimeAlloc(size));
    if (!GetFileVersionInfoA(path, 0, size, resource)) {
        RuntimeFree(resource);
        return false;
    }

    // Without a translation table, US English with the Western code page is what most resources use.
    char key[9] = "040904E4";
    void* table = nullptr;
    UINT tableBytes = 0;
    if (VerQueryValueA(resource, "\\VarFileInfo\\Translation", &table, &tableBytes) && tableBytes >= 4) {
        const auto* words = static_cast<const WORD*>(table);
        std::snprintf(key, sizeof key, "%04x%04x", words[0], words[1]);
        record.members[kLanguageNames] = LanguageNames(words, tableBytes / 4);
    }

    const uint8_t* end = resource + size;
    for (int m = 0; m < kVersionMemberCount; ++m) {
        if (kValueNames[m] == nullptr)
            continue;
        char query[64];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%s\\%s", key, kValueNames[m]);
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(resource, query, &value, &length) || value == nullptr)
            continue;
        const char* text = static_cast<const char*>(value);
        // The value lies inside the resource; never read past its end looking for the terminator.
        const auto room = static_cast<size_t>(end - reinterpret_cast<const uint8_t*>(text));
        record.members[m] = MemberBlock(text, strnlen(text, room < kMemberBlock ? room : kMemberBlock));
    }
    RuntimeFree(resource);
    return true;
}
