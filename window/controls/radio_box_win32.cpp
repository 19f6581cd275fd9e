// RadioBox: an automatic radio button; Windows clears the others of its group when one is chosen.
#include "window/controls/radio_box_win32.h"

#include <variant>

#include "window/controls/button_win32.h"

namespace {

constexpr int32_t kCaption = 3;    // property 11
constexpr int32_t kSelected = 10;  // property 18

}  // namespace

bool RadioBox::Create(const ControlCreateArgs& args) {
    const auto* stored = std::get_if<RadioBoxProperties>(&args.record->properties);
    const RadioBoxProperties defaults;
    if (args.record->propertiesRefused)
        return false;
    const RadioBoxProperties& p = stored ? *stored : defaults;
    // No control of a window starts a group, so all radio buttons of the window form one.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE | BS_AUTORADIOBUTTON | args.style;
    if (p.pushLike)
        style |= BS_PUSHLIKE;
    if (p.flat)
        style |= BS_FLAT;
    if (p.textOnLeft)
        style |= BS_LEFTTEXT;
    style |= ButtonAlignmentStyle(p.horizontalAlign, p.verticalAlign);
    const std::string caption = TextOf(p.caption);
    HWND hwnd =
        CreateWindowExA(0, "BUTTON", caption.c_str(), style, args.left, args.top, args.width, args.height, args.parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlNumber)), RuntimeInstance(), nullptr);
    if (hwnd == nullptr)
        return false;
    Attach(hwnd, args.windowId, args.record->id);
    font_.Make(p.font);
    background_.Make(p.backgroundColour);
    textColour_ = ResolveColour(p.textColour);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageA(hwnd, BM_SETCHECK, p.selected ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

PropertyKind RadioBox::ClassPropertyKind(int32_t index) const {
    switch (index) {
        case kCaption:
            return PropertyKind::kText;
        case kSelected:
            return PropertyKind::kLogical;
        default:
            return PropertyKind::kNone;
    }
}

TaggedValue RadioBox::ReadClassProperty(int32_t index) {
    switch (index) {
        case kCaption:
            return WindowTextValue(hwnd());
        case kSelected:
            // The indeterminate state counts as not selected.
            return TaggedValue::OfLogical(SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED);
        default:
            return {};
    }
}

void RadioBox::WriteClassProperty(int32_t index, const TaggedValue& value) {
    switch (index) {
        case kCaption:
            SetWindowTextA(hwnd(), value.text);
            break;
        case kSelected:
            SendMessageA(hwnd(), BM_SETCHECK, value.intValue ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        default:
            break;
    }
}

HBRUSH RadioBox::OnControlColour(HDC dc) {
    SetTextColor(dc, textColour_);
    SetBkColor(dc, background_.colour());
    return background_.get();
}
