// Array blocks: a dimension count, the dimension sizes, then the members packed in row order.
// Text, ByteSet and record members are stored as pointers.
#pragma once

#include <cstddef>
#include <cstdint>

// Member count: the product of the dimension sizes; 0 for null or a block without dimensions.
uint32_t ArrayMemberCount(const void* block);
// Address of the first member, behind the header and the dimension sizes.
void* ArrayMembers(void* block);
const void* ArrayMembers(const void* block);
// A new one-dimensional heap block of count zeroed pointer members.
void* NewPointerArray(uint32_t count);
// A new array variable's value: one dimension, no members.
void* NewEmptyArray();
// Copies an array that still lies in the constant data into the heap before the logic writes
// into it; a heap array is left alone.
void MakeArrayPrivate(size_t elementSize, void** variable);
