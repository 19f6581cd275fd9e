// The declared DLL commands with the types and names of windows.h, so that callers pass handles,
// records and constants instead of 32-bit words. Each goes through the runtime's lazy lookup and
// stack check (runtime/dll_commands.h). Windows only.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "runtime/dll_commands.h"

namespace declared {

inline BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES* security, DWORD size) {
    return FromDllWord<BOOL>(CallDllCommand(kDllCreatePipe, readEnd, writeEnd, security, size)) != FALSE;
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
    return FromDllWord<BOOL>(CallDllCommand(kDllCreateProcessA, application, commandLine, processSecurity,
                                            threadSecurity, inheritHandles, creationFlags, environment,
                                            currentDirectory, startup, process)) != FALSE;
}

inline BOOL CloseHandle(HANDLE handle) {
    return FromDllWord<BOOL>(CallDllCommand(kDllCloseHandle, handle)) != FALSE;
}

inline BOOL PeekNamedPipe(HANDLE pipe, void* buffer, DWORD size, DWORD* read, DWORD* available, DWORD* leftInMessage) {
    return FromDllWord<BOOL>(CallDllCommand(kDllPeekNamedPipe, pipe, buffer, size, read, available, leftInMessage)) !=
           FALSE;
}

inline BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, OVERLAPPED* overlapped) {
    return FromDllWord<BOOL>(CallDllCommand(kDllReadFile, file, buffer, count, read, overlapped)) != FALSE;
}

inline BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
    return FromDllWord<BOOL>(CallDllCommand(kDllGetExitCodeProcess, process, exitCode)) != FALSE;
}

inline BOOL GetInputState() {
    return FromDllWord<BOOL>(CallDllCommand(kDllGetInputState)) != FALSE;
}

inline HANDLE CreateWaitableTimerA(SECURITY_ATTRIBUTES* security, BOOL manualReset, const char* name) {
    return FromDllWord<HANDLE>(CallDllCommand(kDllCreateWaitableTimerA, security, manualReset, name));
}

inline BOOL SetWaitableTimer(HANDLE timer,
                             const LARGE_INTEGER* dueTime,
                             LONG period,
                             PTIMERAPCROUTINE completion,
                             void* argument,
                             BOOL resume) {
    return FromDllWord<BOOL>(
               CallDllCommand(kDllSetWaitableTimer, timer, dueTime, period, completion, argument, resume)) != FALSE;
}

inline DWORD MsgWaitForMultipleObjects(DWORD count,
                                       const HANDLE* handles,
                                       BOOL waitAll,
                                       DWORD milliseconds,
                                       DWORD wakeMask) {
    return FromDllWord<DWORD>(
        CallDllCommand(kDllMsgWaitForMultipleObjects, count, handles, waitAll, milliseconds, wakeMask));
}

inline HMODULE GetModuleHandleA(const char* name) {
    return FromDllWord<HMODULE>(CallDllCommand(kDllGetModuleHandleA, name));
}

inline FARPROC GetProcAddress(HMODULE module, const char* name) {
    return FromDllWord<FARPROC>(CallDllCommand(kDllGetProcAddress, module, name));
}

inline PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info) {
    return FromDllWord<PIDLIST_ABSOLUTE>(CallDllCommand(kDllSHBrowseForFolderA, info));
}

inline BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE items, char* path) {
    return FromDllWord<BOOL>(CallDllCommand(kDllSHGetPathFromIDListA, items, path)) != FALSE;
}

inline LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return FromDllWord<LRESULT>(CallDllCommand(kDllSendMessageA, window, message, wParam, lParam));
}

inline BOOL GetBinaryTypeA(const char* path, DWORD* type) {
    return FromDllWord<BOOL>(CallDllCommand(kDllGetBinaryTypeA, path, type)) != FALSE;
}

inline HANDLE GetProcessHeap() {
    return FromDllWord<HANDLE>(CallDllCommand(kDllGetProcessHeap));
}

inline void* HeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
    return FromDllWord<void*>(CallDllCommand(kDllHeapAlloc, heap, flags, size));
}

inline BOOL PathSearchAndQualifyA(const char* path, char* qualified, UINT size) {
    return FromDllWord<BOOL>(CallDllCommand(kDllPathSearchAndQualifyA, path, qualified, size)) != FALSE;
}

// Calls a function found with GetProcAddress, with the runtime's stack check.
template <typename... Args>
DllWord CallProcAddress(FARPROC address, Args... args) {
    static_assert(((sizeof(Args) <= sizeof(DllWord)) && ...), "declared DLL commands take word arguments");
    const DllWord words[sizeof...(Args) + 1] = {ToDllWord(args)..., 0};
    return ::CallProcAddress(reinterpret_cast<const void*>(address), words, static_cast<int>(sizeof...(Args)));
}

}  // namespace declared
