// Byte rules of GBK paths: which paths the directory-tree removal accepts, and whether a path
// already ends in its separator.
#include "runtime/path_rules.h"

#include <cstdint>
#include <cstring>
#include <string_view>

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

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// "." and "..", but also "...", ". " and the like, which Windows strips to nothing.
bool IsDotsAndSpaces(std::string_view name) {
    for (char c : name) {
        if (c != '.' && c != ' ')
            return false;
    }
    return true;
}

bool IsUncMarker(std::string_view name) {
    return name.size() == 3 && AsciiUpper(static_cast<uint8_t>(name[0])) == 'U' &&
           AsciiUpper(static_cast<uint8_t>(name[1])) == 'N' && AsciiUpper(static_cast<uint8_t>(name[2])) == 'C';
}

}  // namespace

bool NamesWholeVolume(const char* fullPath) {
    if (fullPath == nullptr)
        return false;
    const size_t n = std::strlen(fullPath);
    size_t at = 0;
    // The names that make up the volume itself: none after a drive's colon, server and share
    // after "\\", the device (or "UNC", server and share) after "\\?\" and "\\.\".
    int volumeNames = 0;
    bool device = false;
    if (n >= 2 && IsSeparator(fullPath[0]) && IsSeparator(fullPath[1])) {
        device = n >= 4 && (fullPath[2] == '?' || fullPath[2] == '.') && IsSeparator(fullPath[3]);
        at = device ? 4 : 2;
        volumeNames = device ? 1 : 2;
    } else if (n >= 2 && fullPath[1] == ':') {
        at = 2;
    } else if (n >= 1 && IsSeparator(fullPath[0])) {
        at = 1;
    } else {
        return false;
    }
    int volumeNamesSeen = 0;
    int depth = 0;
    while (at < n) {
        const size_t start = at;
        while (at < n && !IsSeparator(fullPath[at]))
            at += IsLeadByte(static_cast<uint8_t>(fullPath[at])) && at + 1 < n ? 2 : 1;
        const std::string_view name(fullPath + start, at - start);
        if (at < n)
            ++at;
        if (name.empty())
            continue;
        if (volumeNamesSeen < volumeNames) {
            if (device && volumeNamesSeen == 0 && IsUncMarker(name))
                volumeNames = 3;
            ++volumeNamesSeen;
            continue;
        }
        if (name == "..")
            depth = depth > 0 ? depth - 1 : 0;
        else if (!IsDotsAndSpaces(name))
            ++depth;
    }
    return depth == 0;
}

bool EndsWithSeparator(const char* path, size_t n) {
    if (path == nullptr || n == 0)
        return false;
    size_t last = 0;
    for (size_t i = 0; i < n; i += (IsLeadByte(static_cast<uint8_t>(path[i])) && i + 1 < n) ? 2 : 1)
        last = i;
    return path[last] == '\\';
}
