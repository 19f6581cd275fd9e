// Byte rules of GBK paths: which paths the directory-tree removal accepts, and whether a path
// already ends in its separator.
#pragma once

#include <cstddef>

// The path with its leading spaces skipped, or null when nothing is left or when what is left is
// only a drive ("X:") or a drive root ("X:\"), which are never removed.
const char* RemovableDirectoryPath(const char* path);

// Whether a full path (as GetFullPathNameA gives it) names the root of a whole volume: a drive
// (C:\), a share (\\server\share) or the volume of a device path (\\?\C:\, \\?\UNC\server\share,
// \\.\Volume{...}), whatever runs of separators, "." and ".." spell it. The system leaves device
// paths as they are, so they are read the way a file system may still read them (Wine resolves
// their ".." itself); names of dots and spaces alone count for nothing, since Windows strips
// them. A relative path is no full path: false.
bool NamesWholeVolume(const char* fullPath);

// Whether the last character of the n bytes is a backslash. The second byte of a two-byte
// character may be 0x5C as well; such a path still lacks its separator.
bool EndsWithSeparator(const char* path, size_t n);
