// Where the Windows version probes look for a system's cmd.exe, and which FileVersion prefixes
// name which Windows: plain computation, shared by the Windows probes and the native tests.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/owned.h"

// Joined after a drive letter (the first byte of a root text).
inline constexpr char kSystem32CmdAfterDrive[] = ":\\Windows\\system32\\cmd.exe";
inline constexpr char kSysnativeCmdAfterDrive[] = ":\\Windows\\sysnative\\cmd.exe";
// Joined after a root or folder text as it stands: a root such as "X:\" gives a doubled
// separator, and the path is used that way.
inline constexpr char kSystem32CmdAfterRoot[] = "\\Windows\\system32\\cmd.exe";
inline constexpr char kSysnativeCmdAfterRoot[] = "\\Windows\\sysnative\\cmd.exe";

// IsWindows8Family and IsWindows7: with an empty prefix, the first byte of the root +
// ":\Windows\system32\cmd.exe" (just the constant when the root is empty too); otherwise the
// prefix + "\Windows\system32\cmd.exe". Null reads as empty.
OwnedText FamilyProbeCmdPath(const char* root, const char* prefix);

// IsWindowsVistaOrLater: mode omitted or 1 joins the root itself, any other mode its first byte
// as a drive letter.
OwnedText VistaProbeCmdPath(const char* root, std::optional<int32_t> mode);

// Byte-exact tests of the FileVersion's first bytes: "6.3" or "6.2"; "6.1"; "6." or "10".
bool IsWindows8FamilyVersion(const char* fileVersion);
bool IsWindows7Version(const char* fileVersion);
bool IsVistaOrLaterVersion(const char* fileVersion);
