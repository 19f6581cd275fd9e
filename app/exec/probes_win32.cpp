// Host bitness and the Windows version probes.
#include "app/exec/probes.h"

#include "app/exec/probe_paths.h"
#include "runtime/declared_api.h"
#include "runtime/text_commands.h"
#include "runtime/version_info.h"

namespace {

bool g_wow64Absent = false;

bool HasWow64Directory() {
    if (g_wow64Absent)
        return false;
    const HMODULE kernel = declared::GetModuleHandleA("kernel32.dll");
    const FARPROC query = declared::GetProcAddress(kernel, "GetSystemWow64DirectoryA");
    if (query == nullptr)
        return false;
    constexpr UINT kBufferSize = 255;
    OwnedText buffer = SpaceText(kBufferSize);
    const UINT length = FromDllWord<UINT>(declared::CallProcAddress(query, buffer.get(), kBufferSize));
    // The length is unsigned; a system without WoW64 answers 0 (ERROR_CALL_NOT_IMPLEMENTED).
    return length > 0;
}

constexpr bool kSixtyFourBitProgram = sizeof(void*) == 8;

}  // namespace

void SetWow64AbsentOverride(bool absent) {
    g_wow64Absent = absent;
}

bool IsHost64Bit() {
    // Asking would be wrong here: a 64-bit Windows PE has no WoW64 and answers 0, which would send
    // the tool to the 32-bit devcon and DISM that cannot start there.
    if (kSixtyFourBitProgram)
        return true;
    return HasWow64Directory();
}

bool HostRuns32BitPrograms() {
    if (!kSixtyFourBitProgram)
        return true;
    return HasWow64Directory();
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
