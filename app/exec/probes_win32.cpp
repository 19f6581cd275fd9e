// Host bitness, the processor brand and the Windows version probes.
#include "app/exec/probes.h"

#include <cpuid.h>

#include <cstring>

#include "app/exec/probe_paths.h"
#include "runtime/declared_api.h"
#include "runtime/text_commands.h"
#include "runtime/version_info.h"

namespace {

bool g_wow64Absent = false;
ProcessorBrandOverride g_brandOverride = nullptr;

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

void SetProcessorBrandOverride(ProcessorBrandOverride answer) {
    g_brandOverride = answer;
}

OwnedText ReadProcessorBrand() {
    char brand[kProcessorBrandBytes + 1];
    if (g_brandOverride != nullptr && g_brandOverride(brand)) {
        brand[kProcessorBrandBytes] = '\0';
        return PointerToText(brand);
    }
    const HANDLE heap = declared::GetProcessHeap();
    auto* buffer = static_cast<uint32_t*>(declared::HeapAlloc(heap, 0, kProcessorBrandBytes));
    for (unsigned i = 2; i <= 4; ++i) {
        unsigned a = 0, b = 0, c = 0, d = 0;
        __cpuid(0x80000000u + i, a, b, c, d);
        uint32_t* at = buffer + (i - 2) * 4;
        at[0] = a;
        at[1] = b;
        at[2] = c;
        at[3] = d;
    }
    // The brand leaves promise a terminator within their 48 bytes; a processor that fills all 48
    // must not make the copy run past the buffer.
    std::memcpy(brand, buffer, kProcessorBrandBytes);
    brand[kProcessorBrandBytes] = '\0';
    HeapFree(heap, 0, buffer);
    return PointerToText(brand);
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
