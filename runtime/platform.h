// The few operating-system services the portable runtime core needs: heap, constant ranges,
// the fatal box and process exit. One implementation for Windows, one for the native test host.
#pragma once

#include <cstddef>
#include <cstdint>

void* PlatformHeapAlloc(size_t n);
void* PlatformHeapRealloc(void* p, size_t n);
void PlatformHeapFree(void* p);

// Calls back for every read-only section of the program image.
void PlatformForEachImageConstantRange(void (*callback)(const void* begin, size_t length));

// Shows a message box without owner and waits until it is dismissed; natively prints it.
void PlatformShowFatalBox(const char* text, const char* caption, uint32_t style);

[[noreturn]] void PlatformExitProcess(uint32_t code);

// Releases the modules the declared DLL commands loaded (nothing natively).
void PlatformReleaseDllModules();
