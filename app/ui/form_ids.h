// Identifiers of the two windows and their controls in the form description.
#pragma once

#include <cstdint>

inline constexpr uint32_t kMainWindow = 0x52010001;
inline constexpr uint32_t kMainButton1 = 0x160125F0;    // 按钮1, never seen
inline constexpr uint32_t kMainButton2 = 0x160125F1;    // 按钮2, precise or fuzzy import
inline constexpr uint32_t kMainButton3 = 0x160125F2;    // 按钮3, custom-import window
inline constexpr uint32_t kMainRadio1 = 0x160125F5;     // 单选框1, precise import
inline constexpr uint32_t kMainRadio2 = 0x160125F6;     // 单选框2, fuzzy import
inline constexpr uint32_t kMainStatusBar = 0x160125FB;  // 状态条1

inline constexpr uint32_t kCustomWindow = 0x5201268A;
inline constexpr uint32_t kCustomEdit1 = 0x1601268C;    // 编辑框1, target Windows directory
inline constexpr uint32_t kCustomEdit2 = 0x1601268F;    // 编辑框2, driver folder
inline constexpr uint32_t kCustomButton3 = 0x16012691;  // 按钮3, start

// Class properties the program uses.
inline constexpr int32_t kRadioSelected = 18;
inline constexpr int32_t kButtonCaption = 10;
inline constexpr int32_t kEditContent = 8;
