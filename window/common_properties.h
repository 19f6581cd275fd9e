// The property numbers shared by every control class and the value limits of their writes.
#pragma once

#include <cstdint>

// Numbers 0 to 7 are handled by the runtime itself; a class sees its own properties as
// (number - kFirstClassProperty).
enum CommonProperty : int32_t {
    kPropertyLeft = 0,
    kPropertyTop = 1,
    kPropertyWidth = 2,
    kPropertyHeight = 3,
    kPropertyTag = 4,
    kPropertyVisible = 5,
    kPropertyDisabled = 6,
    kPropertyCursor = 7,
};
inline constexpr int32_t kFirstClassProperty = 8;

// Coordinates beyond this stop Windows from placing a window reliably.
inline constexpr int32_t kCoordinateLimit = 32627;

// Left and top stay within -32627 .. 32627.
int32_t ClampPosition(int32_t value);
// Width and height stay within 0 .. 32627.
int32_t ClampSize(int32_t value);
// The limit that applies to a written common property; other numbers pass unchanged.
int32_t ClampCommonProperty(int32_t number, int32_t value);
