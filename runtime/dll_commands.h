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

// One argument or result of a declared command: a machine word, as wide as a pointer.
using DllWord = uintptr_t;

// The most arguments a declared command takes.
inline constexpr int kMaxDllArguments = 12;

// Resolves the entry if needed and calls it; `position` is reported with runtime error 6.
DllWord CallDllEntry(DllCommandEntry& entry, const DllWord* args, int count, int32_t position);

// Calls entry `index` with its arguments as the API expects them. On the 32-bit build a stack
// left unbalanced by the call (a wrongly declared command) is runtime error 6; the 64-bit calling
// convention leaves the stack to the caller, so nothing can unbalance it there. An entry that
// cannot be resolved is a fatal error.
DllWord CallDllCommandWords(int index, const DllWord* args, int count);

template <typename T>
DllWord ToDllWord(T value) {
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<DllWord>(value);
    else
        return static_cast<DllWord>(value);
}

// A result as the declared type: a pointer whole; an integer cut to its width, since a 64-bit
// callee that returns a BOOL, DWORD or UINT leaves the upper half of the word undefined.
template <typename R>
R FromDllWord(DllWord word) {
    if constexpr (std::is_pointer_v<R>)
        return reinterpret_cast<R>(word);
    else
        return static_cast<R>(word);
}

template <typename... Args>
DllWord CallDllCommand(int index, Args... args) {
    static_assert(((sizeof(Args) <= sizeof(DllWord)) && ...), "declared DLL commands take word arguments");
    static_assert(sizeof...(Args) <= kMaxDllArguments);
    const DllWord words[sizeof...(Args) + 1] = {ToDllWord(args)..., 0};
    return CallDllCommandWords(index, words, static_cast<int>(sizeof...(Args)));
}

// Calls through an arbitrary address with the same check (CallProcAddress).
DllWord CallProcAddress(const void* address, const DllWord* args, int count);

// The module directory recorded at start-up, searched after the program directory.
void SetDllModuleDirectory(const char* directoryWithSlash);

// Unit and position numbers reported with runtime error 6 for a DLL call.
inline constexpr uint32_t kDllCallUnit = 0x04000001;
