// RadioBox: an automatic radio button; Windows clears the others of its group when one is chosen.
#pragma once

#include "window/controls/control_win32.h"
#include "window/controls/stored_colour_win32.h"
#include "window/controls/stored_font_win32.h"

class RadioBox : public Control {
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
