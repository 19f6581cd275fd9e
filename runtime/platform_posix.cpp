// The runtime core's services on the native test host: malloc, the executable's read-only
// segments, the fatal box printed to standard error, exit.
#include "runtime/platform.h"

#include <link.h>

#include <cstdio>
#include <cstdlib>

void* PlatformHeapAlloc(size_t n) {
    return std::malloc(n == 0 ? 1 : n);
}

void* PlatformHeapRealloc(void* p, size_t n) {
    return std::realloc(p, n == 0 ? 1 : n);
}

void PlatformHeapFree(void* p) {
    std::free(p);
}

namespace {

using RangeCallback = void (*)(const void* begin, size_t length);

int VisitMainProgram(dl_phdr_info* info, size_t, void* data) {
    auto callback = reinterpret_cast<RangeCallback>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        if (ph.p_type == PT_LOAD && !(ph.p_flags & PF_W))
            callback(reinterpret_cast<const void*>(info->dlpi_addr + ph.p_vaddr), ph.p_memsz);
    }
    return 1;  // the first object reported is the program itself
}

}  // namespace

void PlatformForEachImageConstantRange(RangeCallback callback) {
    dl_iterate_phdr(VisitMainProgram, reinterpret_cast<void*>(callback));
}

void PlatformShowFatalBox(const char* text, const char* caption, uint32_t style) {
    std::fprintf(stderr, "[%s 0x%X]\n%s", caption, style, text);
    std::fflush(stderr);
}

void PlatformExitProcess(uint32_t code) {
    std::fflush(nullptr);
    std::_Exit(static_cast<int>(code));
}

void PlatformReleaseDllModules() {}
