// The runtime command that loads a window, modal or not, at the logic's request.
#pragma once

#include <cstdint>
#include <optional>

// Loads the window, optionally with a loaded parent window. A modal window returns only after it
// has been destroyed. False when the parent is not loaded, the window is unknown or cannot be
// built; nothing is shown then.
bool LoadWindowCommand(uint32_t windowId, std::optional<uint32_t> parentWindowId, bool modal);
