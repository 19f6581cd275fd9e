// The runtime heap: allocation that never returns null, and constants that are never freed.
#pragma once

#include <cstddef>

// Allocates n bytes (contents undefined); memory exhaustion is a fatal error, never a null result.
void* RuntimeAlloc(size_t n);
// null: as RuntimeAlloc. A constant: a fresh heap copy of at most n bytes. Otherwise a resize.
void* RuntimeRealloc(void* p, size_t n);
// Does nothing for null and for constants.
void RuntimeFree(const void* p);

// Constant data: the program's literals and payload blocks. Pointers inside are never freed or
// resized in place. The program image's read-only sections are registered on first use; further
// ranges (tests, generated data) may be added.
void RegisterConstantData(const void* begin, size_t length);
bool IsConstantData(const void* p);
// Bytes from p to the end of the constant range holding it (0 when p is not a constant).
size_t ConstantBytesFrom(const void* p);

// Test builds inject an allocation failure: the next allocation of exactly this size fails.
void FailNextAllocationOfSize(size_t n);
