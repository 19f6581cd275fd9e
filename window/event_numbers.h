// The event numbers that the form description binds routines to, per control class.
#pragma once

#include <cstdint>

// Common to every control class.
inline constexpr int32_t kEventGotFocus = -7;

// Window events.
inline constexpr int32_t kEventCreated = 0;
inline constexpr int32_t kEventCloseQuery = 1;
inline constexpr int32_t kEventDestroyed = 2;
inline constexpr int32_t kEventMoved = 3;
inline constexpr int32_t kEventSized = 4;
inline constexpr int32_t kEventCloseRequest = 12;

// Button events.
inline constexpr int32_t kEventClicked = 0;
