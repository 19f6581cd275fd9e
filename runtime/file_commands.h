// File and directory commands: create, remove, test, change attributes, read and write whole
// files. Paths are GBK Text passed to the ANSI file functions unchanged; failures are results.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/owned.h"

// One level only: an existing directory or a missing parent gives false.
bool MakeDirectory(const char* path);
// Removes the directory after its contents. Drives and drive roots are refused; entries whose
// names begin with "." are left alone, so a directory holding one stays and the result is false.
bool RemoveDirectoryTree(const char* path);
// Wildcards allowed; a directory matches too.
bool FileExists(const char* path);
// Only read-only, hidden, system and archive (mask 0x27) can be set; other bits are dropped.
bool ChangeFileAttributes(const char* path, int32_t attributes);
// The whole file; null for a missing, unreadable or empty file alike.
OwnedByteSet ReadFileBytes(const char* path);
// Creates or replaces the file and writes the byte sets in order, skipping empty ones (null or
// the empty constant). Writing only the empty constant leaves a zero-length file.
bool WriteFileBytes(const char* path, std::initializer_list<const uint8_t*> byteSets);
