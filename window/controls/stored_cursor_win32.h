// Mouse cursors made from the cursor blocks that controls store.
#pragma once

#include <windows.h>

#include <string>

// The cursor a block asks for: none for an empty block or a first DWORD of 0 (the class's own
// cursor), a system cursor for a standard cursor number, or a cursor made from the cursor file
// that follows -1. `owned` tells whether the caller must destroy it.
HCURSOR CursorFromBlock(const std::string& block, bool& owned);
