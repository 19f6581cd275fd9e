// Member access of the owned heap blocks.
#include "runtime/owned.h"

#include "runtime/array_block.h"
#include "runtime/byte_set.h"
#include "runtime/fatal_error.h"

size_t OwnedByteSet::size() const {
    return ByteSetLength(block_);
}

uint32_t TextArray::size() const {
    return ArrayMemberCount(block_);
}

const char* TextArray::operator[](size_t slot) const {
    return static_cast<char* const*>(ArrayMembers(block_))[slot];
}

const char* TextArray::Member(int32_t index, uint32_t unit, int32_t position) const {
    if (index < 1)
        ReportRuntimeError(4, unit, position);
    if (static_cast<uint32_t>(index) > size())
        ReportRuntimeError(1, unit, position);
    return (*this)[static_cast<size_t>(index - 1)];
}

void TextArray::Attach(void* block) {
    if (block_ != nullptr && !IsConstantData(block_)) {
        char** members = static_cast<char**>(ArrayMembers(block_));
        for (uint32_t i = 0, n = size(); i < n; ++i)
            RuntimeFree(members[i]);
    }
    RuntimeFree(block_);
    block_ = block;
}
