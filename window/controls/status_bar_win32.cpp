// StatusBar: the common control's status bar with its stored parts.
#include "window/controls/status_bar_win32.h"

#include <commctrl.h>

#include <variant>

#include "window/controls/stored_colour_win32.h"
#include "window/runtime_notify.h"

namespace {

DWORD PlacementStyle(uint32_t placement) {
    switch (placement) {
        case 1:
            return CCS_TOP;
        case 2:
            return CCS_NOPARENTALIGN | CCS_NORESIZE;
        default:
            return CCS_BOTTOM;
    }
}

void RegisterStatusBarClass() {
    static bool done = false;
    if (done)
        return;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    done = InitCommonControlsEx(&classes) != FALSE;
}

}  // namespace

bool StatusBar::Create(const ControlCreateArgs& args) {
    const auto* stored = std::get_if<StatusBarProperties>(&args.record->properties);
    const StatusBarProperties defaults;
    if (args.record->propertiesRefused)
        return false;
    const StatusBarProperties& p = stored ? *stored : defaults;
    RegisterStatusBarClass();
    // A status bar takes no focus: the tab-stop flag has no meaning for it.
    DWORD style = WS_CHILD | SBT_TOOLTIPS | PlacementStyle(p.placement) | (args.style & WS_DISABLED);
    if (p.sizeGrip)
        style |= SBARS_SIZEGRIP;
    HWND hwnd =
        CreateWindowExA(0, STATUSCLASSNAMEA, "", style, args.left, args.top, args.width, args.height, args.parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlNumber)), RuntimeInstance(), nullptr);
    if (hwnd == nullptr)
        return false;
    Attach(hwnd, args.windowId, args.record->id);
    font_.Make(p.font);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageA(hwnd, SB_SIMPLE, FALSE, 0);
    SendMessageA(hwnd, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColour(p.backgroundColour)));
    for (const StatusBarPart& stored : p.parts)
        parts_.push_back({stored.width, stored.style, TextOf(stored.text), TextOf(stored.tooltip)});
    LayOutParts();
    return true;
}

void StatusBar::LayOutParts() {
    std::vector<int> edges;
    int right = 0;
    for (const Part& part : parts_) {
        if (part.width == -1) {
            edges.push_back(-1);
            break;
        }
        right += part.width;
        edges.push_back(right);
    }
    SendMessageA(hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < edges.size(); ++i) {
        const Part& part = parts_[i];
        SendMessageA(hwnd(), SB_SETTEXTA, i | part.style, reinterpret_cast<LPARAM>(part.text.c_str()));
        SendMessageA(hwnd(), SB_SETICON, i, 0);
        SendMessageA(hwnd(), SB_SETTIPTEXTA, i, reinterpret_cast<LPARAM>(part.tooltip.c_str()));
    }
}

void StatusBar::OnParentSized() {
    // The bar places itself along its parent's edge when told the parent's size changed.
    SendMessageA(hwnd(), WM_SIZE, 0, 0);
}

void StatusBar::SetPartText(int32_t index, const char* text) {
    if (index < 0 || static_cast<size_t>(index) >= parts_.size())
        return;
    Part& part = parts_[static_cast<size_t>(index)];
    part.text = text ? text : "";
    SendMessageA(hwnd(), SB_SETTEXTA, static_cast<WPARAM>(index) | part.style,
                 reinterpret_cast<LPARAM>(part.text.c_str()));
}

void StatusBarSetPartText(uint32_t window, uint32_t control, int32_t index, const char* text) {
    auto* object = reinterpret_cast<ControlObject*>(RuntimeNotify(kNotifyGetControl, window, control));
    auto* bar = dynamic_cast<StatusBar*>(object);
    if (bar != nullptr)
        bar->SetPartText(index, text);
}
