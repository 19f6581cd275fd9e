// Stored colours and the brushes that paint them.
#include "window/controls/stored_colour_win32.h"

#include "window/form_format.h"

COLORREF ResolveColour(uint32_t stored) {
    if (stored == kButtonFaceColour)
        return GetSysColor(COLOR_BTNFACE);
    return static_cast<COLORREF>(stored & 0x00FFFFFFu);
}

void ColourBrush::Make(uint32_t stored) {
    owned_.Close();
    system_ = nullptr;
    colour_ = ResolveColour(stored);
    if (stored == kButtonFaceColour) {
        system_ = GetSysColorBrush(COLOR_BTNFACE);
        return;
    }
    owned_.Attach(CreateSolidBrush(colour_));
}
