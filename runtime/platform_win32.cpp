// The runtime core's Windows services: the process heap, the image's read-only sections, the
// fatal box and process exit.
#include "runtime/platform.h"

#include <windows.h>

namespace {

HANDLE Heap() {
    static HANDLE heap = GetProcessHeap();
    return heap;
}

}  // namespace

void* PlatformHeapAlloc(size_t n) {
    return HeapAlloc(Heap(), 0, n);
}

void* PlatformHeapRealloc(void* p, size_t n) {
    return HeapReAlloc(Heap(), 0, p, n);
}

void PlatformHeapFree(void* p) {
    if (p != nullptr)
        HeapFree(Heap(), 0, p);
}

void PlatformForEachImageConstantRange(void (*callback)(const void* begin, size_t length)) {
    // Literals and payload blocks live in the image's sections that are mapped without write
    // access (.rdata and friends); their extents come from the image's own section table.
    auto* base = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (section->Characteristics & IMAGE_SCN_MEM_WRITE)
            continue;
        if (!(section->Characteristics & (IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_CNT_CODE)))
            continue;
        callback(base + section->VirtualAddress, section->Misc.VirtualSize);
    }
}

void PlatformShowFatalBox(const char* text, const char* caption, uint32_t style) {
    MessageBoxA(nullptr, text, caption, style);
}

void PlatformExitProcess(uint32_t code) {
    ExitProcess(code);
}
