// The declared DLL commands with the types and names of windows.h, so that callers pass handles,
// records and constants instead of 32-bit words. Each goes through the runtime's lazy lookup and
// stack check (runtime/dll_commands.h). Windows only.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "runtime/dll_commands.h"

namespace declared {

inline BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES* security, DWORD size) {
    return CallDllCommand(kDllCreatePipe, readEnd, writeEnd, security, size) != 0;
}

inline BOOL CreateProcessA(const char* application,
                           char* commandLine,
                           SECURITY_ATTRIBUTES* processSecurity,
                           SECURITY_ATTRIBUTES* threadSecurity,
                           BOOL inheritHandles,
                           DWORD creationFlags,
                           void* environment,
                           const char* currentDirectory,
                           STARTUPINFOA* startup,
                           PROCESS_INFORMATION* process) {
    return CallDllCommand(kDllCreateProcessA, application, commandLine, processSecurity, threadSecurity, inheritHandles,
                          creationFlags, environment, currentDirectory, startup, process) != 0;
}

inline BOOL CloseHandle(HANDLE handle) {
    return CallDllCommand(kDllCloseHandle, handle) != 0;
}

inline BOOL PeekNamedPipe(HANDLE pipe, void* buffer, DWORD size, DWORD* read, DWORD* available, DWORD* leftInMessage) {
    return CallDllCommand(kDllPeekNamedPipe, pipe, buffer, size, read, available, leftInMessage) != 0;
}

inline BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, OVERLAPPED* overlapped) {
    return CallDllCommand(kDllReadFile, file, buffer, count, read, overlapped) != 0;
}

inline BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
    return CallDllCommand(kDllGetExitCodeProcess, process, exitCode) != 0;
}

inline BOOL GetInputState() {
    return CallDllCommand(kDllGetInputState) != 0;
}

inline HANDLE CreateWaitableTimerA(SECURITY_ATTRIBUTES* security, BOOL manualReset, const char* name) {
    return reinterpret_cast<HANDLE>(
        static_cast<uintptr_t>(CallDllCommand(kDllCreateWaitableTimerA, security, manualReset, name)));
}

inline BOOL SetWaitableTimer(HANDLE timer,
                             const LARGE_INTEGER* dueTime,
                             LONG period,
                             PTIMERAPCROUTINE completion,
                             void* argument,
                             BOOL resume) {
    return CallDllCommand(kDllSetWaitableTimer, timer, dueTime, period, completion, argument, resume) != 0;
}

inline DWORD MsgWaitForMultipleObjects(DWORD count,
                                       const HANDLE* handles,
                                       BOOL waitAll,
                                       DWORD milliseconds,
                                       DWORD wakeMask) {
    return CallDllCommand(kDllMsgWaitForMultipleObjects, count, handles, waitAll, milliseconds, wakeMask);
}

inline HMODULE GetModuleHandleA(const char* name) {
    return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(CallDllCommand(kDllGetModuleHandleA, name)));
}

inline FARPROC GetProcAddress(HMODULE module, const char* name) {
    return reinterpret_cast<FARPROC>(static_cast<uintptr_t>(CallDllCommand(kDllGetProcAddress, module, name)));
}

inline PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info) {
    return reinterpret_cast<PIDLIST_ABSOLUTE>(static_cast<uintptr_t>(CallDllCommand(kDllSHBrowseForFolderA, info)));
}

inline BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE items, char* path) {
    return CallDllCommand(kDllSHGetPathFromIDListA, items, path) != 0;
}

inline LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<LRESULT>(CallDllCommand(kDllSendMessageA, window, message, wParam, lParam));
}

inline BOOL GetBinaryTypeA(const char* path, DWORD* type) {
    return CallDllCommand(kDllGetBinaryTypeA, path, type) != 0;
}

inline HANDLE GetProcessHeap() {
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(CallDllCommand(kDllGetProcessHeap)));
}

inline void* HeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(CallDllCommand(kDllHeapAlloc, heap, flags, size)));
}

inline BOOL PathSearchAndQualifyA(const char* path, char* qualified, UINT size) {
    return CallDllCommand(kDllPathSearchAndQualifyA, path, qualified, size) != 0;
}

// Calls a function found with GetProcAddress, with the runtime's stack check.
template <typename... Args>
DllWord CallProcAddress(FARPROC address, Args... args) {
    static_assert(((sizeof(Args) <= sizeof(DllWord)) && ...), "declared DLL commands take word arguments");
    const DllWord words[sizeof...(Args) + 1] = {ToDllWord(args)..., 0};
    return ::CallProcAddress(reinterpret_cast<const void*>(address), words, static_cast<int>(sizeof...(Args)));
}

}  // namespace declared
