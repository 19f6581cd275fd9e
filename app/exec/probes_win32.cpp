// Host bitness and the Windows version probes.
#include "app/exec/probes.h"

#include "app/exec/probe_paths.h"
#include "runtime/dll_commands.h"
#include "runtime/text_commands.h"
#include "runtime/version_info.h"

bool IsHost64Bit() {
    const uint32_t kernel = CallDllCommand(kDllGetModuleHandleA, "kernel32.dll");
    const uint32_t query = CallDllCommand(kDllGetProcAddress, kernel, "GetSystemWow64DirectoryA");
    if (query == 0)
        return false;
    constexpr int32_t kBufferSize = 255;
    OwnedText buffer = SpaceText(kBufferSize);
    const uint32_t args[] = {ToDllWord(buffer.get()), static_cast<uint32_t>(kBufferSize)};
    const uint32_t length = CallProcAddress(reinterpret_cast<const void*>(static_cast<uintptr_t>(query)), args, 2);
    // The length is unsigned; a 32-bit system answers 0 (ERROR_CALL_NOT_IMPLEMENTED).
    return length > 0;
}

OwnedText GetFileVersionText(const char* path) {
    FileVersionInfo record;
    ReadFileVersionInfo(path ? path : "", record);
    const char* version = record.members[kFileVersion];
    return version ? PointerToText(version) : OwnedText();
}

namespace {

OwnedText CmdVersion(const OwnedText& cmdPath) {
    return GetFileVersionText(cmdPath.c_str());
}

}  // namespace

bool IsWindows8Family(const char* root, const char* prefix) {
    return IsWindows8FamilyVersion(CmdVersion(FamilyProbeCmdPath(root, prefix)).get());
}

bool IsWindows7(const char* root, const char* prefix) {
    return IsWindows7Version(CmdVersion(FamilyProbeCmdPath(root, prefix)).get());
}

bool IsWindowsVistaOrLater(const char* root, std::optional<int32_t> mode) {
    return IsVistaOrLaterVersion(CmdVersion(VistaProbeCmdPath(root, mode)).get());
}
