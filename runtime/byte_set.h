// ByteSet blocks: the 32-bit word 1, a 32-bit length n, then n data bytes; null is the empty set.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/owned.h"

// The constant empty ByteSet (words 1 and 0), passed where a ByteSet variable is empty.
extern const uint8_t kEmptyByteSet[8];

inline uint32_t ByteSetLength(const uint8_t* block) {
    if (block == nullptr)
        return 0;
    uint32_t n;
    std::memcpy(&n, block + 4, 4);
    return n;
}
inline const uint8_t* ByteSetBytes(const uint8_t* block) {
    return block ? block + 8 : nullptr;
}
// A new heap ByteSet holding a copy of the bytes; null when there are none.
OwnedByteSet MakeByteSet(const void* bytes, size_t n);
