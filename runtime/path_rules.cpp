// Byte rules of GBK paths: which paths the directory-tree removal accepts, and whether a path
// already ends in its separator.
#include "runtime/path_rules.h"

#include <cstdint>

#include "runtime/text_rules.h"

const char* RemovableDirectoryPath(const char* path) {
    if (path == nullptr)
        return nullptr;
    while (*path == ' ')
        ++path;
    if (*path == '\0')
        return nullptr;
    // The first byte is not tested: whatever stands before the colon, a path this short that ends
    // at the colon or right after its backslash names a whole drive.
    if (path[1] == ':' && (path[2] == '\0' || (path[2] == '\\' && path[3] == '\0')))
        return nullptr;
    return path;
}

bool EndsWithSeparator(const char* path, size_t n) {
    if (path == nullptr || n == 0)
        return false;
    size_t last = 0;
    for (size_t i = 0; i < n; i += (IsLeadByte(static_cast<uint8_t>(path[i])) && i + 1 < n) ? 2 : 1)
        last = i;
    return path[last] == '\\';
}
