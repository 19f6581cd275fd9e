// File and directory commands: create, remove, test, change attributes, read and write whole
// files. Paths are GBK Text passed to the ANSI file functions unchanged; failures are results.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/owned.h"
#include "runtime/result.h"

// One level only: an existing directory or a missing parent is a failure.
Result MakeDirectory(const char* path);
// Removes the directory after its contents. Whatever names a whole volume in its full form (a
// drive root, however spelt, or a share) is refused; entries whose names begin with "." are left
// alone, so a directory holding one stays and the result is false.
bool RemoveDirectoryTree(const char* path);
// Wildcards allowed; a directory matches too.
bool FileExists(const char* path);
// Only read-only, hidden, system and archive (mask 0x27) can be set; other bits are dropped.
Result ChangeFileAttributes(const char* path, int32_t attributes);
// The whole file; null for a missing, unreadable or empty file alike.
OwnedByteSet ReadFileBytes(const char* path);
// Creates or replaces the file and writes the byte sets in order, skipping empty ones (null or
// the empty constant). Writing only the empty constant leaves a zero-length file. A failure after
// the file was opened may leave part of the data in it.
Result WriteFileBytes(const char* path, std::initializer_list<const uint8_t*> byteSets);
// The bytes of the volume that holds the path (a drive root, say) that this process may still
// fill: what is free within its quota.
Result DriveFreeSpace(const char* path, uint64_t* freeBytes);
