// The Win32 side of a live control: its window, the creation arguments every class takes, and
// the hooks through which the window runtime reaches the class.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/value.h"
#include "window/control_object.h"
#include "window/window_list.h"

// The runtime's private messages to the controls of a window being loaded.
inline constexpr UINT kMsgAllControlsCreated = 0x806F;  // every control of the window exists
inline constexpr UINT kMsgWindowBuilt = 0x8004;         // sent to the window itself afterwards
inline constexpr UINT kMsgLoadFinished = 0x8076;        // last step of the load

struct ControlCreateArgs {
    const ControlRecord* record = nullptr;
    uint32_t windowId = 0;
    HWND parent = nullptr;  // the window for its controls; the owner (or none) for a window
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    DWORD style = 0;         // WS_DISABLED and WS_TABSTOP from the record's flags
    UINT controlNumber = 0;  // dialog control number; 0 for a window
    bool modal = false;      // a window loaded modal
    bool hasParent = false;  // a window loaded with a parent window
};

enum class PropertyKind {
    kNone,  // the class has no such property
    kInt,
    kLogical,
    kText,
};

class Control : public ControlObject {
  public:
    ~Control() override;

    // Builds the control's window; false when the class refuses the record or creation fails.
    virtual bool Create(const ControlCreateArgs& args) = 0;

    HWND hwnd() const { return hwnd_; }
    uint32_t windowId() const { return windowId_; }
    uint32_t controlId() const { return controlId_; }

    // Class properties, numbered from 0 (property number - 8).
    virtual PropertyKind ClassPropertyKind(int32_t /*index*/) const { return PropertyKind::kNone; }
    // A text answer is a new Text the caller owns.
    virtual TaggedValue ReadClassProperty(int32_t /*index*/) { return {}; }
    // The value arrives converted to the property's kind: logicals as 0 or 1, texts never null.
    virtual void WriteClassProperty(int32_t /*index*/, const TaggedValue& /*value*/) {}

    // A notification the control sent to its parent (WM_COMMAND), handed back to the control.
    // The object may be gone when this returns: callers touch nothing of it afterwards.
    virtual void OnCommand(WORD /*code*/) {}
    // WM_CTLCOLOR* for the control: the brush to paint with, or null for the default.
    virtual HBRUSH OnControlColour(HDC /*dc*/) { return nullptr; }
    // The parent window changed size.
    virtual void OnParentSized() {}
    // The control's window has been destroyed and handed back to its class. The object may free
    // itself here.
    virtual void OnWindowGone() {}

    // The control's mouse cursor (null: the class's own); owned when made from stored data.
    void SetCursor(HCURSOR cursor, bool owned);

  protected:
    // Takes over the window: the object can be found from it and sees its messages first.
    void Attach(HWND hwnd, uint32_t windowId, uint32_t controlId);

    // Messages of the control's own window after the runtime's handling; the default passes them
    // to the window class's procedure.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
    uint32_t windowId_ = 0;
    uint32_t controlId_ = 0;
    HCURSOR cursor_ = nullptr;
    bool ownsCursor_ = false;
};

// A stored counted text as a terminated string.
inline std::string TextOf(FormBytes bytes) {
    return std::string(bytes.begin(), bytes.end());
}
// The window's text as a new Text the caller owns (null when empty).
TaggedValue WindowTextValue(HWND hwnd);
// The module that the runtime's window classes are registered in.
HINSTANCE RuntimeInstance();

// The control object behind a window made by the runtime; null for any other window.
Control* ControlFromWindow(HWND hwnd);
// The live control of a working record, or null.
Control* LiveControl(const WorkingControl& control);
// The window of a loaded window; null while it is not loaded or has no window yet.
HWND LoadedWindowHandle(uint32_t windowId);
