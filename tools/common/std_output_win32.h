// Raw writes to the standard handles, so every byte (CR LF, GBK, zero bytes) leaves unchanged.
#pragma once

#include <windows.h>

#include <string_view>

// Writes all bytes to STD_OUTPUT_HANDLE or STD_ERROR_HANDLE; false when the handle refuses them.
inline bool WriteStd(DWORD which, std::string_view bytes) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = bytes.size() > 0x10000 ? 0x10000 : static_cast<DWORD>(bytes.size());
        if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}
