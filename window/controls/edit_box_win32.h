// EditBox: a Windows edit control whose content the logic reads and writes.
#pragma once

#include "window/controls/control_win32.h"
#include "window/controls/stored_colour_win32.h"
#include "window/controls/stored_font_win32.h"

class EditBox : public Control {
  public:
    bool Create(const ControlCreateArgs& args) override;
    PropertyKind ClassPropertyKind(int32_t index) const override;
    TaggedValue ReadClassProperty(int32_t index) override;
    void WriteClassProperty(int32_t index, const TaggedValue& value) override;
    HBRUSH OnControlColour(HDC dc) override;

  private:
    StoredFont font_;
    ColourBrush background_;
    COLORREF textColour_ = 0;
};
