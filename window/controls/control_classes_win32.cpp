// The table from stored class codes to the control classes that build them.
#include "window/controls/control_classes_win32.h"

#include "window/controls/button_win32.h"
#include "window/controls/edit_box_win32.h"
#include "window/controls/radio_box_win32.h"
#include "window/controls/status_bar_win32.h"
#include "window/controls/trans_label_win32.h"
#include "window/controls/window_frame_win32.h"

std::unique_ptr<Control> NewControlOfClass(ControlClass cls) {
    switch (cls) {
        case ControlClass::kWindow:
            return std::make_unique<WindowFrame>();
        case ControlClass::kEditBox:
            return std::make_unique<EditBox>();
        case ControlClass::kButton:
            return std::make_unique<Button>();
        case ControlClass::kRadioBox:
            return std::make_unique<RadioBox>();
        case ControlClass::kStatusBar:
            return std::make_unique<StatusBar>();
        case ControlClass::kTransLabel:
            return std::make_unique<TransLabel>();
        case ControlClass::kMenuItem:
            break;
    }
    return nullptr;
}
