// The shell's folder dialog (SHBrowseForFolder) of another process: finding it, choosing a
// folder in it, and OK or Cancel.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The dialog's caption is the shell's own and localised, so it is found as a visible dialog
// ("#32770") of the process that holds a folder tree.
HWND FindFolderDialog(DWORD processId);
HWND WaitForFolderDialog(DWORD processId, DWORD timeoutMs);

// The prompt the caller gave (the dialog's first static text that is not empty).
std::string FolderDialogPrompt(HWND dialog);

// The path as the dialog can find it: "/" as "\", runs of separators as one, no trailing
// separator except after a drive ("D:" becomes "D:\"). The dialog silently selects the desktop
// for a path with a doubled separator or one that does not exist.
std::string NormaliseFolderPath(const std::string& path);

// Selects the folder through BFFM_SETSELECTIONA with the normalised path written into the
// dialog's process; false when the message could not be delivered.
bool SelectFolder(HANDLE process, HWND dialog, const std::string& path);

// The text of the tree's selected item, read through the dialog's process; empty when none.
std::string SelectedFolderItemText(HANDLE process, HWND dialog);
// The texts of the selected item and of every item above it, nearest first (for D:\Windows under
// Wine: "Windows", a drive item naming "D:", "My Computer", "Desktop"); empty when none is selected.
std::vector<std::string> SelectedFolderItemChain(HANDLE process, HWND dialog);
// Whether such a chain shows the path selected: the path's folders, last first, are the nearest
// items (ASCII case ignored), and its drive ("D:") is the item after them, whose text names it.
bool ChainShowsFolder(const std::vector<std::string>& chain, const std::string& path);

// Selects the folder, reads back what the dialog selected and selects it again until the dialog
// shows it: a selection given before the tree is filled silently falls back to the desktop.
// False when the dialog did not show the folder within the time.
bool SelectFolderAndConfirmShown(HANDLE process, HWND dialog, const std::string& path, DWORD timeoutMs = 30000);

// WM_COMMAND with IDOK or IDCANCEL, posted.
bool ConfirmFolderDialog(HWND dialog);
bool CancelFolderDialog(HWND dialog);
