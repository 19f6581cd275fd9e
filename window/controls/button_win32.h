// Button: a push button that raises its event 0 for every click.
#pragma once

#include "window/controls/control_win32.h"
#include "window/controls/stored_font_win32.h"

// BS_LEFT/BS_CENTER/BS_RIGHT and BS_TOP/BS_VCENTER/BS_BOTTOM for stored alignments 0, 1, 2.
DWORD ButtonAlignmentStyle(uint32_t horizontal, uint32_t vertical);

class Button : public Control {
  public:
    bool Create(const ControlCreateArgs& args) override;
    PropertyKind ClassPropertyKind(int32_t index) const override;
    TaggedValue ReadClassProperty(int32_t index) override;
    void WriteClassProperty(int32_t index, const TaggedValue& value) override;
    void OnCommand(WORD code) override;

  private:
    StoredFont font_;
};
