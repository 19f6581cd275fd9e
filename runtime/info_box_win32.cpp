// The message box command over MessageBoxA.
#include "runtime/info_box.h"

#include <windows.h>

#include "runtime/display_text.h"
#include "runtime/owned.h"

int32_t InfoBox(const TaggedValue& message, int32_t flags, std::optional<const char*> title, void* owner) {
    const OwnedText text = DisplayText(message);
    const char* caption = title ? (*title ? *title : "") : "信息：";
    UINT style = static_cast<UINT>(flags);
    // Without an owner the box would leave the program's other windows usable behind it.
    if ((style & MB_SYSTEMMODAL) == 0)
        style |= MB_TASKMODAL;
    const int pressed = MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption, style);
    return pressed >= IDOK && pressed <= IDNO ? pressed - 1 : 0;
}
