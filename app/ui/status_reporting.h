// What the injection flows show in the main window: the status text and the controls' state.
#pragma once

// Part 0 of the main window's status bar.
void SetStatusText(const char* text);
// Greys out (true) or enables 按钮1, 按钮2, 按钮3, 单选框1 and 单选框2 of the main window.
void SetMainControlsDisabled(bool disabled);
