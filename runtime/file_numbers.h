// File numbers: files opened for the logic by number, the registry of open file objects, and
// inserting text lines at a file's current position.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "runtime/value.h"

// The registry of open file objects is shared with the other runtime libraries (the window
// runtime answers their requests with it). Kind byte of an ordinary disk file:
inline constexpr uint8_t kDiskFileKind = 1;

// Kind byte of a registered file object, -1 when it is not registered.
int32_t FileObjectKind(const void* file);
// Registers the object with its kind; an object already registered keeps its kind.
void RegisterFileObject(const void* file, uint8_t kind);
// 1 when the object was registered, else 0.
int32_t UnregisterFileObject(const void* file);

// Opens a file without text translation at position 0. Mode (default 3): 1 read an existing
// file, 2 write one, 3 read and write one, 4 create or truncate for writing, 5 create if missing
// for writing, 6 create if missing for reading and writing. Sharing (default 1): 1 deny nothing,
// 2 deny reading, 3 deny writing, 4 exclusive. 0 for an empty path, a mode or sharing value out
// of range, or a file that cannot be opened. A number is not handed out again after its file is
// closed (until two thousand million openings wrap the count).
int32_t OpenFileNumber(const char* path,
                       std::optional<int32_t> mode = std::nullopt,
                       std::optional<int32_t> sharing = std::nullopt);
// Closes a registered number; any other number is ignored.
void CloseFileNumber(int32_t number);
// The Windows handle behind a registered number, null for any other number.
void* FileNumberHandle(int32_t number);

// Inserts one line per value (its text and CR LF) at the current position, moving what follows
// towards the end; the position ends up behind the inserted lines. Numbers, logicals, date-times
// and Text make lines, other values none. False for a number that is not registered or a file
// error, after which the position is where it was.
bool InsertTextLines(int32_t number, std::initializer_list<TaggedValue> values);
