// StatusBar: the common control's status bar with its stored parts.
#pragma once

#include <string>
#include <vector>

#include "window/controls/control_win32.h"
#include "window/controls/stored_font_win32.h"

class StatusBar : public Control {
  public:
    bool Create(const ControlCreateArgs& args) override;
    void OnParentSized() override;

    // Replaces the text of one part, so that a later layout keeps it, and shows it at once. An
    // index outside the parts does nothing.
    void SetPartText(int32_t index, const char* text);

  private:
    struct Part {
        int32_t width = -1;
        uint32_t style = 0;
        std::string text;
        std::string tooltip;
    };
    void LayOutParts();

    StoredFont font_;
    std::vector<Part> parts_;
};

// The status bar method "set part text" as the logic calls it: the control is resolved like a
// property access (a window or control that is not loaded is a fatal error); a null text is empty.
void StatusBarSetPartText(uint32_t window, uint32_t control, int32_t index, const char* text);
