// EditBox: a Windows edit control whose content the logic reads and writes.
#include "window/controls/edit_box_win32.h"

#include <variant>

namespace {

constexpr int32_t kContent = 0;  // property 8

// Input modes of the stored settings.
constexpr uint32_t kReadOnly = 1;
constexpr uint32_t kPassword = 2;

DWORD BorderExStyle(uint32_t border) {
    switch (border) {
        case 1:
            return WS_EX_CLIENTEDGE;
        case 2:
            return WS_EX_DLGMODALFRAME;
        case 3:
            return WS_EX_STATICEDGE;
        case 4:
            return WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
        default:
            return 0;
    }
}

DWORD EditStyle(const EditBoxProperties& p) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (!p.hideSelection)
        style |= ES_NOHIDESEL;
    if (p.multiline) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        // Scroll bars: 1 horizontal, 2 vertical, 3 both; without a horizontal bar lines wrap.
        if (p.scrollBars & 1)
            style |= WS_HSCROLL | ES_AUTOHSCROLL;
        if (p.scrollBars & 2)
            style |= WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (p.align == 1)
        style |= ES_CENTER;
    else if (p.align == 2)
        style |= ES_RIGHT;
    if (p.inputMode == kReadOnly)
        style |= ES_READONLY;
    else if (p.inputMode == kPassword)
        style |= ES_PASSWORD;
    if (p.caseConversion == 1)
        style |= ES_UPPERCASE;
    else if (p.caseConversion == 2)
        style |= ES_LOWERCASE;
    if (p.borderStyle == 5)
        style |= WS_BORDER;
    return style;
}

}  // namespace

bool EditBox::Create(const ControlCreateArgs& args) {
    const auto* stored = std::get_if<EditBoxProperties>(&args.record->properties);
    const EditBoxProperties defaults;
    if (args.record->propertiesRefused)
        return false;
    const EditBoxProperties& p = stored ? *stored : defaults;
    HWND hwnd =
        CreateWindowExA(BorderExStyle(p.borderStyle), "EDIT", "", EditStyle(p) | args.style, args.left, args.top,
                        args.width, args.height, args.parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlNumber)), RuntimeInstance(), nullptr);
    if (hwnd == nullptr)
        return false;
    Attach(hwnd, args.windowId, args.record->id);
    font_.Make({});
    background_.Make(p.backgroundColour);
    textColour_ = ResolveColour(p.textColour);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageA(hwnd, EM_LIMITTEXT, p.maxLength, 0);
    if (p.inputMode == kPassword)
        SendMessageA(hwnd, EM_SETPASSWORDCHAR, p.passwordChar, 0);
    SendMessageA(hwnd, EM_SETSEL, p.selectionStart, p.selectionStart + p.selectionLength);
    SendMessageA(hwnd, EM_SCROLLCARET, 0, 0);
    return true;
}

PropertyKind EditBox::ClassPropertyKind(int32_t index) const {
    return index == kContent ? PropertyKind::kText : PropertyKind::kNone;
}

TaggedValue EditBox::ReadClassProperty(int32_t index) {
    if (index == kContent)
        return WindowTextValue(hwnd());
    return {};
}

void EditBox::WriteClassProperty(int32_t index, const TaggedValue& value) {
    // Setting the text makes the edit control send its single EN_CHANGE itself.
    if (index == kContent)
        SetWindowTextA(hwnd(), value.text);
}

HBRUSH EditBox::OnControlColour(HDC dc) {
    SetTextColor(dc, textColour_);
    SetBkColor(dc, background_.colour());
    return background_.get();
}
