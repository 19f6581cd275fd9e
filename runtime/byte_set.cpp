// ByteSet construction.
#include "runtime/byte_set.h"

#include <cstring>

alignas(4) const uint8_t kEmptyByteSet[8] = {1, 0, 0, 0, 0, 0, 0, 0};

OwnedByteSet MakeByteSet(const void* bytes, size_t n) {
    // The length word holds 32 bits; more bytes (possible only in the 64-bit program) make no
    // ByteSet, as a file of that size reads as none.
    if (n == 0 || n > UINT32_MAX)
        return OwnedByteSet();
    auto* block = static_cast<uint8_t*>(RuntimeAlloc(8 + n));
    const uint32_t header[2] = {1, static_cast<uint32_t>(n)};
    std::memcpy(block, header, 8);
    std::memcpy(block + 8, bytes, n);
    return OwnedByteSet(block);
}
