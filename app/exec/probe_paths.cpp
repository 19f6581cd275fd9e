// Paths and FileVersion prefixes of the Windows version probes.
#include "app/exec/probe_paths.h"

#include <string_view>

#include "runtime/text_commands.h"

namespace {

OwnedText DriveLetterPath(const char* root, const char* afterDrive) {
    OwnedText letter = LeftText(root ? root : "", 1);
    return ConcatText(letter.c_str(), afterDrive);
}

// The first `n` bytes of the version equal `prefix` (n bytes); a shorter version never does.
bool HasPrefix(const char* fileVersion, std::string_view prefix) {
    const std::string_view version = fileVersion ? fileVersion : "";
    return version.substr(0, prefix.size()) == prefix;
}

}  // namespace

OwnedText FamilyProbeCmdPath(const char* root, const char* prefix) {
    if (prefix == nullptr || prefix[0] == '\0')
        return DriveLetterPath(root, kSystem32CmdAfterDrive);
    return ConcatText(prefix, kSystem32CmdAfterRoot);
}

OwnedText VistaProbeCmdPath(const char* root, std::optional<int32_t> mode) {
    if (mode.value_or(1) == 1)
        return ConcatText(root ? root : "", kSystem32CmdAfterRoot);
    return DriveLetterPath(root, kSystem32CmdAfterDrive);
}

bool IsWindows8FamilyVersion(const char* fileVersion) {
    return HasPrefix(fileVersion, "6.3") || HasPrefix(fileVersion, "6.2");
}

bool IsWindows7Version(const char* fileVersion) {
    return HasPrefix(fileVersion, "6.1");
}

bool IsVistaOrLaterVersion(const char* fileVersion) {
    return HasPrefix(fileVersion, "6.") || HasPrefix(fileVersion, "10");
}
