// Array blocks: header, dimension sizes, members.
#include "runtime/array_block.h"

#include <cstring>

#include "runtime/memory.h"

namespace {

uint32_t Word(const void* block, size_t index) {
    uint32_t w;
    std::memcpy(&w, static_cast<const uint8_t*>(block) + 4 * index, 4);
    return w;
}

// Members start behind the header, rounded up to the width of a pointer so that pointer members
// stay aligned on 64-bit hosts; on the 32-bit program this is exactly the header's end.
size_t HeaderBytes(uint32_t dimensions) {
    const size_t raw = 4 + 4 * static_cast<size_t>(dimensions);
    return (raw + sizeof(void*) - 1) / sizeof(void*) * sizeof(void*);
}

}  // namespace

uint32_t ArrayMemberCount(const void* block) {
    if (block == nullptr)
        return 0;
    const uint32_t dimensions = Word(block, 0);
    if (dimensions == 0)
        return 0;
    uint32_t count = 1;
    for (uint32_t d = 1; d <= dimensions; ++d)
        count *= Word(block, d);
    return count;
}

void* ArrayMembers(void* block) {
    return static_cast<uint8_t*>(block) + HeaderBytes(Word(block, 0));
}

const void* ArrayMembers(const void* block) {
    return static_cast<const uint8_t*>(block) + HeaderBytes(Word(block, 0));
}

void* NewPointerArray(uint32_t count) {
    const size_t bytes = HeaderBytes(1) + sizeof(void*) * static_cast<size_t>(count);
    auto* block = static_cast<uint8_t*>(RuntimeAlloc(bytes));
    const uint32_t header[2] = {1, count};
    std::memcpy(block, header, sizeof header);
    std::memset(block + 8, 0, bytes - 8);
    return block;
}

void* NewEmptyArray() {
    return NewPointerArray(0);
}

void MakeArrayPrivate(size_t elementSize, void** variable) {
    void* block = *variable;
    if (block == nullptr || !IsConstantData(block))
        return;
    const size_t bytes = HeaderBytes(Word(block, 0)) + elementSize * ArrayMemberCount(block);
    void* copy = RuntimeAlloc(bytes);
    std::memcpy(copy, block, bytes);
    *variable = copy;
}
