// The tool's one kind of box: title "提示", the OK button alone, one of three icons. Windows only.
#pragma once

#include "runtime/info_box.h"

inline void ShowNotice(const char* text, BoxIcon icon) {
    InfoBox(TaggedValue::OfText(text), static_cast<int32_t>(icon), "提示");
}
