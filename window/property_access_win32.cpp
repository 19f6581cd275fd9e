// Reading and writing the properties of loaded windows and their controls.
#include "window/property_access.h"

#include <windows.h>

#include "runtime/byte_set.h"
#include "runtime/fatal_error.h"
#include "runtime/text_commands.h"
#include "window/common_properties.h"
#include "window/controls/control_win32.h"
#include "window/controls/stored_cursor_win32.h"
#include "window/event_dispatch.h"
#include "window/window_list.h"
#include "window/window_loader.h"

namespace {

struct Target {
    LoadedWindow* window;
    WorkingControl* control;
    HWND hwnd;  // null when the control has no live window
};

Target Resolve(uint32_t windowId, uint32_t controlId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window == nullptr)
        ReportFatalError("未载入欲访问窗口组件所在的窗口", 0, windowId, static_cast<int32_t>(controlId));
    WorkingControl* control = FindWorkingControl(*window, controlId);
    if (control == nullptr)
        ReportFatalError("指定窗口或窗口组件不存在或尚未载入", 0, windowId, static_cast<int32_t>(controlId));
    Control* live = LiveControl(*control);
    return {window, control, live ? live->hwnd() : nullptr};
}

bool IsWindowItself(const Target& target) {
    return target.control == &target.window->controls[0];
}

// The control's rectangle in its parent's client coordinates; screen coordinates for a window.
RECT PlacedRect(const Target& target) {
    RECT r;
    GetWindowRect(target.hwnd, &r);
    HWND parent = IsWindowItself(target) ? nullptr : GetParent(target.hwnd);
    if (parent != nullptr)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void SetFlag(WorkingControl& control, uint32_t flag, bool on) {
    control.flags = on ? control.flags | flag : control.flags & ~flag;
}

void WritePosition(const Target& target, int32_t number, int32_t value) {
    (number == kPropertyLeft ? target.control->left : target.control->top) = value;
    if (target.hwnd == nullptr)
        return;
    const RECT r = PlacedRect(target);
    const int left = number == kPropertyLeft ? value : r.left;
    const int top = number == kPropertyTop ? value : r.top;
    MoveWindow(target.hwnd, left, top, r.right - r.left, r.bottom - r.top, TRUE);
}

void WriteSize(const Target& target, int32_t number, int32_t value) {
    (number == kPropertyWidth ? target.control->width : target.control->height) = value;
    if (target.hwnd == nullptr)
        return;
    const RECT r = PlacedRect(target);
    const int width = number == kPropertyWidth ? value : r.right - r.left;
    const int height = number == kPropertyHeight ? value : r.bottom - r.top;
    SetWindowPos(target.hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WriteVisible(const Target& target, bool visible) {
    SetFlag(*target.control, kControlVisible, visible);
    if (target.hwnd == nullptr)
        return;
    if (!visible) {
        ShowWindow(target.hwnd, SW_HIDE);
    } else if (IsWindowItself(target)) {
        ShowLoadedWindow(target.window->id());
    } else if (!target.control->hiddenByPage) {
        ShowWindow(target.hwnd, SW_SHOW);
    }
}

void WriteCursor(const Target& target, const uint8_t* byteSet) {
    const uint8_t* bytes = ByteSetBytes(byteSet);
    target.control->cursor.assign(reinterpret_cast<const char*>(bytes), ByteSetLength(byteSet));
    Control* live = LiveControl(*target.control);
    if (live == nullptr)
        return;
    bool owned = false;
    live->SetCursor(CursorFromBlock(target.control->cursor, owned), owned);
    // The cursor shape changes only when the mouse moves: move it onto itself.
    POINT at;
    if (GetCursorPos(&at))
        SetCursorPos(at.x, at.y);
}

TaggedValue ReadCommon(const Target& target, int32_t number) {
    const WorkingControl& control = *target.control;
    switch (number) {
        case kPropertyLeft:
        case kPropertyTop:
        case kPropertyWidth:
        case kPropertyHeight: {
            if (target.hwnd == nullptr) {
                const int32_t stored[] = {control.left, control.top, control.width, control.height};
                return TaggedValue::OfInt(stored[number]);
            }
            const RECT r = PlacedRect(target);
            const int32_t live[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
            return TaggedValue::OfInt(live[number]);
        }
        case kPropertyTag:
            return TaggedValue::OfText(MakeText(control.tag.data(), control.tag.size()).Detach());
        case kPropertyVisible:
            return TaggedValue::OfLogical(target.hwnd ? IsWindowVisible(target.hwnd) != FALSE : control.Visible());
        case kPropertyDisabled:
            return TaggedValue::OfLogical(target.hwnd ? IsWindowEnabled(target.hwnd) == FALSE
                                                      : (control.flags & kControlDisabled) != 0);
        case kPropertyCursor:
            return TaggedValue::OfByteSet(MakeByteSet(control.cursor.data(), control.cursor.size()).Detach());
        default:
            return {};
    }
}

TaggedValue ConvertForClass(PropertyKind kind, const TaggedValue& value) {
    switch (kind) {
        case PropertyKind::kInt:
            return TaggedValue::OfInt(value.intValue);
        case PropertyKind::kLogical:
            return TaggedValue::OfLogical(value.intValue != 0);
        case PropertyKind::kText:
            return TaggedValue::OfText(value.text ? value.text : "");
        case PropertyKind::kNone:
            break;
    }
    return {};
}

}  // namespace

TaggedValue ReadProperty(uint32_t window, uint32_t control, int32_t number, int32_t /*element*/) {
    const Target target = Resolve(window, control);
    if (number < kFirstClassProperty)
        return ReadCommon(target, number);
    Control* live = LiveControl(*target.control);
    if (live == nullptr || target.hwnd == nullptr)
        ReportFatalError("读取组件属性时发现指定窗口尚未载入", 0, window, static_cast<int32_t>(control));
    const int32_t index = number - kFirstClassProperty;
    TaggedValue value = live->ReadClassProperty(index);
    if (live->ClassPropertyKind(index) == PropertyKind::kLogical)
        value = TaggedValue::OfLogical(value.intValue != 0);
    return value;
}

void WriteProperty(uint32_t window, uint32_t control, int32_t number, int32_t /*element*/, const TaggedValue& value) {
    const Target target = Resolve(window, control);
    switch (number) {
        case kPropertyLeft:
        case kPropertyTop:
            WritePosition(target, number, ClampCommonProperty(number, value.intValue));
            return;
        case kPropertyWidth:
        case kPropertyHeight:
            WriteSize(target, number, ClampCommonProperty(number, value.intValue));
            return;
        case kPropertyTag:
            target.control->tag = value.text ? value.text : "";
            return;
        case kPropertyVisible:
            WriteVisible(target, value.intValue != 0);
            return;
        case kPropertyDisabled:
            SetFlag(*target.control, kControlDisabled, value.intValue != 0);
            if (target.hwnd != nullptr)
                EnableWindow(target.hwnd, value.intValue == 0);
            return;
        case kPropertyCursor:
            WriteCursor(target, value.byteSet);
            return;
        default:
            break;
    }
    if (number < kFirstClassProperty)
        return;
    Control* live = LiveControl(*target.control);
    if (live == nullptr || target.hwnd == nullptr)
        ReportFatalError("修改组件属性时发现指定窗口尚未载入", 0, window, static_cast<int32_t>(control));
    const int32_t index = number - kFirstClassProperty;
    const PropertyKind kind = live->ClassPropertyKind(index);
    if (kind != PropertyKind::kNone)
        live->WriteClassProperty(index, ConvertForClass(kind, value));
}
