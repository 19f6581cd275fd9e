// Reading and writing the properties of loaded windows and their controls.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// Properties 0 to 7 are common to every class (window/common_properties.h); from 8 on they are
// the class's own. The element index is -1 for properties that are not arrays (all of them here).
//
// A Text answer is a new Text the caller owns (null when empty); logicals answer 0 or 1; the
// cursor answers a new ByteSet holding its cursor block. A window that is not loaded is a fatal
// error, and so is a class property of a control without a live window.
TaggedValue ReadProperty(uint32_t window, uint32_t control, int32_t number, int32_t element = -1);

// The value is taken by the property's type, whatever its tag: an integer or logical from its
// 32-bit value (any non-zero logical is true), a text from its text pointer (null is empty), the
// cursor from its ByteSet pointer. Positions and sizes are clamped first.
void WriteProperty(uint32_t window, uint32_t control, int32_t number, int32_t element, const TaggedValue& value);
