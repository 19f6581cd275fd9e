// Stored colours and the brushes that paint them.
#include "window/controls/stored_colour_win32.h"

#include "window/form_format.h"

COLORREF ResolveColour(uint32_t stored) {
    if (stored == kButtonFaceColour)
        return GetSysColor(COLOR_BTNFACE);
    return static_cast<COLORREF>(stored & 0x00FFFFFFu);
}

void ColourBrush::Make(uint32_t stored) {
    if (owned_)
        DeleteObject(brush_);
    owned_ = false;
    colour_ = ResolveColour(stored);
    if (stored == kButtonFaceColour) {
        brush_ = GetSysColorBrush(COLOR_BTNFACE);
        return;
    }
    brush_ = CreateSolidBrush(colour_);
    owned_ = brush_ != nullptr;
}

ColourBrush::~ColourBrush() {
    if (owned_)
        DeleteObject(brush_);
}
