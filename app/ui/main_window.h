// The routines bound to the two windows' events. Windows only.
#pragma once

// Main window: 按钮2, 按钮3 and the window being destroyed.
void StartTargetInjection();
void OpenCustomImportWindow();
void RemoveWorkDirectory();

// Custom-import window: the start button and the two browse buttons.
void StartCustomImport();
void BrowseTargetDirectory();
void BrowseDriverFolder();

// Either window asked to close: refused while an import runs.
bool MayCloseWindow();
