// Stored colours and the brushes that paint them.
#pragma once

#include <windows.h>

#include <cstdint>

// A stored COLORREF; 0xFF000000 stands for the system's button-face colour.
COLORREF ResolveColour(uint32_t stored);

// A solid brush of a stored colour; the button face uses the system's own brush, which is never
// deleted.
class ColourBrush {
  public:
    ColourBrush() = default;
    ColourBrush(const ColourBrush&) = delete;
    ColourBrush& operator=(const ColourBrush&) = delete;
    ~ColourBrush();

    // Makes the brush of the colour (replacing any made before).
    void Make(uint32_t stored);

    HBRUSH get() const { return brush_; }
    COLORREF colour() const { return colour_; }

  private:
    HBRUSH brush_ = nullptr;
    COLORREF colour_ = 0;
    bool owned_ = false;
};
