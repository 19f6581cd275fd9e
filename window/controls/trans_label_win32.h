// TransLabel: a label that draws only its text, so that the window shows through around it.
#pragma once

#include "window/controls/control_win32.h"
#include "window/controls/stored_font_win32.h"

class TransLabel : public Control {
  public:
    bool Create(const ControlCreateArgs& args) override;
    PropertyKind ClassPropertyKind(int32_t index) const override;
    TaggedValue ReadClassProperty(int32_t index) override;
    void WriteClassProperty(int32_t index, const TaggedValue& value) override;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Paint(HDC dc);
    // Repaints the label together with what shows through it.
    void Redraw();

    StoredFont font_;
    TransLabelProperties settings_;
};
