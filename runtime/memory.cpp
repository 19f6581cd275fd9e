// The runtime heap and the constant ranges that it never frees.
#include "runtime/memory.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "runtime/fatal_error.h"
#include "runtime/platform.h"

namespace {

struct ConstantRange {
    uintptr_t begin;
    uintptr_t end;
};

// The image has a handful of read-only sections; tests may add a few ranges of their own.
constexpr int kMaxConstantRanges = 16;
ConstantRange g_ranges[kMaxConstantRanges];
int g_rangeCount = 0;
bool g_imageRangesKnown = false;
size_t g_failSize = 0;
bool g_failArmed = false;

void AddRange(const void* begin, size_t length) {
    if (length == 0 || g_rangeCount == kMaxConstantRanges)
        return;
    const auto b = reinterpret_cast<uintptr_t>(begin);
    g_ranges[g_rangeCount++] = {b, b + length};
}

void EnsureImageRanges() {
    if (g_imageRangesKnown)
        return;
    g_imageRangesKnown = true;
    PlatformForEachImageConstantRange(AddRange);
}

const ConstantRange* RangeOf(const void* p) {
    if (p == nullptr)
        return nullptr;
    EnsureImageRanges();
    const auto a = reinterpret_cast<uintptr_t>(p);
    for (int i = 0; i < g_rangeCount; ++i) {
        if (a >= g_ranges[i].begin && a < g_ranges[i].end)
            return &g_ranges[i];
    }
    return nullptr;
}

[[noreturn]] void ReportExhaustion(size_t n) {
    char message[64];
    // unsigned long is 32 bits on 64-bit Windows too: a size_t would lose its upper half there.
    std::snprintf(message, sizeof message, "分配 %llu 字节内存失败!", static_cast<unsigned long long>(n));
    ReportFatalError(message, 0, 0, 0);
}

bool ShouldFail(size_t n) {
    if (g_failArmed && n == g_failSize) {
        g_failArmed = false;
        return true;
    }
    return false;
}

}  // namespace

void* RuntimeAlloc(size_t n) {
    void* p = ShouldFail(n) ? nullptr : PlatformHeapAlloc(n);
    if (p == nullptr)
        ReportExhaustion(n);
    return p;
}

void* RuntimeRealloc(void* p, size_t n) {
    if (p == nullptr)
        return RuntimeAlloc(n);
    if (const ConstantRange* range = RangeOf(p)) {
        // A constant is never resized in place: the caller gets a private copy.
        void* copy = RuntimeAlloc(n);
        const size_t available = range->end - reinterpret_cast<uintptr_t>(p);
        std::memcpy(copy, p, n < available ? n : available);
        return copy;
    }
    void* q = ShouldFail(n) ? nullptr : PlatformHeapRealloc(p, n);
    if (q == nullptr)
        ReportExhaustion(n);
    return q;
}

void RuntimeFree(const void* p) {
    if (p == nullptr || RangeOf(p) != nullptr)
        return;
    PlatformHeapFree(const_cast<void*>(p));
}

void RegisterConstantData(const void* begin, size_t length) {
    EnsureImageRanges();
    AddRange(begin, length);
}

bool IsConstantData(const void* p) {
    return RangeOf(p) != nullptr;
}

size_t ConstantBytesFrom(const void* p) {
    const ConstantRange* range = RangeOf(p);
    return range ? range->end - reinterpret_cast<uintptr_t>(p) : 0;
}

void FailNextAllocationOfSize(size_t n) {
    g_failSize = n;
    g_failArmed = true;
}
