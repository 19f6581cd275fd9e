// The program's declared DLL commands: twenty Windows API functions resolved by name on first
// use, each call checked for leaving the stack as it found it. Windows only.
#pragma once

#include <cstdint>
#include <type_traits>

enum DllCommand : int {
    kDllCreatePipe = 0,
    kDllCreateProcessA,
    kDllCloseHandle,
    kDllPeekNamedPipe,
    kDllReadFile,
    kDllGetExitCodeProcess,
    kDllGetInputState,
    kDllCreateWaitableTimerA,
    kDllSetWaitableTimer,
    kDllMsgWaitForMultipleObjects,
    kDllGetModuleHandleA,
    kDllGetProcAddress,
    kDllLstrcpyn,
    kDllSHBrowseForFolderA,
    kDllSHGetPathFromIDListA,
    kDllSendMessageA,
    kDllGetBinaryTypeA,
    kDllGetProcessHeap,
    kDllHeapAlloc,
    kDllPathSearchAndQualifyA,
    kDllCommandCount
};

// One declared command: library (may be empty), exported name ("#n" for an ordinal), and the
// address and module cached after the first successful resolution.
struct DllCommandEntry {
    const char* library;
    const char* exportName;
    void* address;
    void* module;
};

// Resolves the entry if needed and calls it; `position` is reported with runtime error 6.
uint32_t CallDllEntry(DllCommandEntry& entry, const uint32_t* args, int count, int32_t position);

// Calls entry `index` with 32-bit arguments pushed as the API expects; a stack left unbalanced
// by the call is runtime error 6. An entry that cannot be resolved is a fatal error.
uint32_t CallDllCommandWords(int index, const uint32_t* args, int count);

template <typename T>
uint32_t ToDllWord(T value) {
    if constexpr (std::is_pointer_v<T>)
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
    else
        return static_cast<uint32_t>(value);
}

template <typename... Args>
uint32_t CallDllCommand(int index, Args... args) {
    static_assert(((sizeof(Args) <= 4) && ...), "declared DLL commands take 32-bit arguments");
    const uint32_t words[sizeof...(Args) + 1] = {ToDllWord(args)..., 0};
    return CallDllCommandWords(index, words, static_cast<int>(sizeof...(Args)));
}

// Calls through an arbitrary stdcall address with the same stack check (CallProcAddress).
uint32_t CallProcAddress(const void* address, const uint32_t* args, int count);

// The module directory recorded at start-up, searched after the program directory.
void SetDllModuleDirectory(const char* directoryWithSlash);

// Unit and position numbers reported with runtime error 6 for a DLL call.
inline constexpr uint32_t kDllCallUnit = 0x04000001;
