// Stored colours and the brushes that paint them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/scoped_handle.h"

// A stored COLORREF; 0xFF000000 stands for the system's button-face colour.
COLORREF ResolveColour(uint32_t stored);

// A solid brush of a stored colour; the button face uses the system's own brush, which is never
// deleted.
class ColourBrush {
  public:
    ColourBrush() = default;
    ColourBrush(const ColourBrush&) = delete;
    ColourBrush& operator=(const ColourBrush&) = delete;

    // Makes the brush of the colour (replacing any made before).
    void Make(uint32_t stored);

    HBRUSH get() const { return owned_ ? owned_.get() : system_; }
    COLORREF colour() const { return colour_; }

  private:
    GdiBrush owned_;
    HBRUSH system_ = nullptr;
    COLORREF colour_ = 0;
};
