// The declared DLL commands: lazy resolution by the runtime's search rules, and calls whose
// stack balance is checked afterwards.
#include "runtime/dll_commands.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include "runtime/fatal_error.h"
#include "runtime/platform.h"

namespace {

DllCommandEntry g_table[kDllCommandCount] = {
    {"", "CreatePipe", nullptr, nullptr},
    {"", "CreateProcessA", nullptr, nullptr},
    {"kernel32", "CloseHandle", nullptr, nullptr},
    {"", "PeekNamedPipe", nullptr, nullptr},
    {"", "ReadFile", nullptr, nullptr},
    {"", "GetExitCodeProcess", nullptr, nullptr},
    {"user32", "GetInputState", nullptr, nullptr},
    {"", "CreateWaitableTimerA", nullptr, nullptr},
    {"", "SetWaitableTimer", nullptr, nullptr},
    {"", "MsgWaitForMultipleObjects", nullptr, nullptr},
    {"", "GetModuleHandleA", nullptr, nullptr},
    {"kernel32.dll", "GetProcAddress", nullptr, nullptr},
    {"kernel32.dll", "lstrcpyn", nullptr, nullptr},
    {"", "SHBrowseForFolderA", nullptr, nullptr},
    {"", "SHGetPathFromIDListA", nullptr, nullptr},
    {"user32", "SendMessageA", nullptr, nullptr},
    {"kernel32", "GetBinaryTypeA", nullptr, nullptr},
    {"kernel32", "GetProcessHeap", nullptr, nullptr},
    {"kernel32", "HeapAlloc", nullptr, nullptr},
    {"shlwapi.dll", "PathSearchAndQualifyA", nullptr, nullptr},
};

// Searched in this order when a command names no library.
const char* const kSystemLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                        "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

char g_moduleDirectory[MAX_PATH];

// "#n" names an export by ordinal (low 16 bits of n).
LPCSTR ExportKey(const char* name) {
    if (name[0] != '#')
        return name;
    unsigned long n = 0;
    for (const char* p = name + 1; *p >= '0' && *p <= '9'; ++p)
        n = n * 10 + static_cast<unsigned long>(*p - '0');
    return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(n & 0xFFFF));
}

HMODULE LoadNamedLibrary(const char* name) {
    if (std::strchr(name, ':') != nullptr)
        return LoadLibraryA(name);
    char path[MAX_PATH * 2];
    char program[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
    if (n > 0 && n < sizeof program) {
        char* slash = std::strrchr(program, '\\');
        if (slash != nullptr) {
            *slash = '\0';
            std::snprintf(path, sizeof path, "%s\\%s", program, name);
            if (HMODULE h = LoadLibraryA(path))
                return h;
        }
    }
    if (g_moduleDirectory[0] != '\0') {
        std::snprintf(path, sizeof path, "%s%s", g_moduleDirectory, name);
        if (HMODULE h = LoadLibraryA(path))
            return h;
    }
    return LoadLibraryA(name);
}

[[noreturn]] void ReportUnresolved(const DllCommandEntry& e) {
    char message[512];
    if (e.library[0] == '\0')
        std::snprintf(message, sizeof message, "无法找到指定DLL库文件中的输出命令“%s”", e.exportName);
    else
        std::snprintf(message, sizeof message, "无法找到指定DLL库文件“%s”中的输出命令“%s”", e.library, e.exportName);
    ReportFatalError(message, 0, 0, 0);
}

void* Resolve(DllCommandEntry& e) {
    if (e.address != nullptr)
        return e.address;
    const LPCSTR key = ExportKey(e.exportName);
    HMODULE module = nullptr;
    FARPROC address = nullptr;
    if (e.library[0] == '\0') {
        for (const char* library : kSystemLibraries) {
            module = LoadLibraryA(library);
            if (module == nullptr)
                continue;
            address = GetProcAddress(module, key);
            if (address != nullptr)
                break;
            FreeLibrary(module);
            module = nullptr;
        }
    } else {
        module = LoadNamedLibrary(e.library);
        if (module != nullptr)
            address = GetProcAddress(module, key);
    }
    if (address == nullptr) {
        if (module != nullptr)
            FreeLibrary(module);
        ReportUnresolved(e);
    }
    e.address = reinterpret_cast<void*>(address);
    e.module = module;
    return e.address;
}

}  // namespace

#if defined(__i386__)
// Pushes count words (last first), calls fn and reports through *delta how far the stack pointer
// ended up from where it was before the pushes: 0 when the callee removed exactly its arguments.
// The stack pointer is restored either way, so a wrongly declared call cannot corrupt the caller.
extern "C" uint32_t TovCallChecked(const void* fn, const uint32_t* args, int count, int32_t* delta);
asm(R"(
    .text
    .globl _TovCallChecked
    .def _TovCallChecked; .scl 2; .type 32; .endef
_TovCallChecked:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    pushl -4(%esi,%ecx,4)
    decl %ecx
    jmp 1b
2:  call *8(%ebp)
    movl %esp, %ecx
    subl %edi, %ecx
    movl %edi, %esp
    movl 20(%ebp), %edx
    movl %ecx, (%edx)
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

namespace {

DllWord CallChecked(const void* fn, const DllWord* args, int count, int32_t position) {
    int32_t delta = 0;
    const DllWord result = TovCallChecked(fn, args, count, &delta);
    if (delta != 0)
        ReportRuntimeError(6, kDllCallUnit, position);
    return result;
}

}  // namespace
#else
namespace {

// Every argument of the 64-bit convention is one integer word, whatever the callee declares, and
// the caller owns the stack: a call through a type of N word parameters fits any export of N.
template <size_t... I>
DllWord CallWithWords(const void* fn, const DllWord* args, std::index_sequence<I...>) {
    using Function = DllWord (*)(decltype(static_cast<void>(I), DllWord{})...);
    return reinterpret_cast<Function>(const_cast<void*>(fn))(args[I]...);
}

template <size_t... N>
DllWord CallWithCount(const void* fn, const DllWord* args, int count, std::index_sequence<N...>) {
    DllWord result = 0;
    static_cast<void>(
        ((count == static_cast<int>(N) ? (result = CallWithWords(fn, args, std::make_index_sequence<N>{}), true)
                                       : false) ||
         ...));
    return result;
}

DllWord CallChecked(const void* fn, const DllWord* args, int count, int32_t) {
    return CallWithCount(fn, args, count, std::make_index_sequence<kMaxDllArguments + 1>{});
}

}  // namespace
#endif

DllWord CallDllEntry(DllCommandEntry& entry, const DllWord* args, int count, int32_t position) {
    return CallChecked(Resolve(entry), args, count, position);
}

DllWord CallDllCommandWords(int index, const DllWord* args, int count) {
    return CallDllEntry(g_table[index], args, count, index + 1);
}

DllWord CallProcAddress(const void* address, const DllWord* args, int count) {
    return CallChecked(address, args, count, 0);
}

void SetDllModuleDirectory(const char* directoryWithSlash) {
    std::snprintf(g_moduleDirectory, sizeof g_moduleDirectory, "%s", directoryWithSlash ? directoryWithSlash : "");
}

void PlatformReleaseDllModules() {
    for (DllCommandEntry& e : g_table) {
        if (e.module != nullptr)
            FreeLibrary(static_cast<HMODULE>(e.module));
        e.module = nullptr;
        e.address = nullptr;
    }
}
