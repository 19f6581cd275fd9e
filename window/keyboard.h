// The keys that a loaded window handles before its controls see them: Esc, Tab and Enter.
#pragma once

#include <windows.h>

#include <cstdint>

// Offers a queued message to the runtime's windows before it is translated and dispatched; true
// when a window used it, and the message must then go no further.
bool OfferKeyToWindows(const MSG& msg);

// The control that the Tab key reaches first in the window, or null when none can take the focus.
HWND FirstTabStop(uint32_t windowId);
