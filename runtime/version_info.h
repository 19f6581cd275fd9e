// The file version record: eleven Text members read from a program's version resource.
#pragma once

#include <cstdint>

#include "runtime/memory.h"

enum VersionMember : int {
    kFileVersion = 0,
    kFileDescription,
    kInternalName,
    kCompanyName,
    kLegalCopyright,
    kLegalTrademarks,
    kOriginalFilename,
    kProductName,
    kProductVersion,
    kLanguageNames,
    kComments,
    kVersionMemberCount
};

// Each member is null or a 256-byte heap block holding at most 255 characters.
struct FileVersionInfo {
    char* members[kVersionMemberCount] = {};

    FileVersionInfo() = default;
    FileVersionInfo(const FileVersionInfo&) = delete;
    FileVersionInfo& operator=(const FileVersionInfo&) = delete;
    ~FileVersionInfo() { Clear(); }
    void Clear() {
        for (char*& m : members) {
            RuntimeFree(m);
            m = nullptr;
        }
    }
};

// Frees the record's members, then fills them from the file's version resource. False when the
// file has none (every member stays empty).
bool ReadFileVersionInfo(const char* path, FileVersionInfo& record);
