// Button: a push button that raises its event 0 for every click.
#include "window/controls/button_win32.h"

#include <variant>

#include "window/event_dispatch.h"
#include "window/event_numbers.h"

namespace {

constexpr int32_t kCaption = 2;  // property 10

}  // namespace

DWORD ButtonAlignmentStyle(uint32_t horizontal, uint32_t vertical) {
    static const DWORD kHorizontal[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
    static const DWORD kVertical[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    return (horizontal < 3 ? kHorizontal[horizontal] : 0) | (vertical < 3 ? kVertical[vertical] : 0);
}

bool Button::Create(const ControlCreateArgs& args) {
    const auto* stored = std::get_if<ButtonProperties>(&args.record->properties);
    const ButtonProperties defaults;
    if (args.record->propertiesRefused)
        return false;
    const ButtonProperties& p = stored ? *stored : defaults;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE | args.style;
    style |= p.type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    style |= ButtonAlignmentStyle(p.horizontalAlign, p.verticalAlign);
    const std::string caption = TextOf(p.caption);
    HWND hwnd =
        CreateWindowExA(0, "BUTTON", caption.c_str(), style, args.left, args.top, args.width, args.height, args.parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlNumber)), RuntimeInstance(), nullptr);
    if (hwnd == nullptr)
        return false;
    Attach(hwnd, args.windowId, args.record->id);
    font_.Make(p.font);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return true;
}

PropertyKind Button::ClassPropertyKind(int32_t index) const {
    return index == kCaption ? PropertyKind::kText : PropertyKind::kNone;
}

TaggedValue Button::ReadClassProperty(int32_t index) {
    if (index == kCaption)
        return WindowTextValue(hwnd());
    return {};
}

void Button::WriteClassProperty(int32_t index, const TaggedValue& value) {
    if (index == kCaption)
        SetWindowTextA(hwnd(), value.text);
}

void Button::OnCommand(WORD code) {
    if (code == BN_CLICKED)
        RaiseSimpleEvent(windowId(), controlId(), kEventClicked);
}
