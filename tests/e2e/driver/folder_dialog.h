// The shell's folder dialog (SHBrowseForFolder) of another process: finding it, choosing a
// folder in it, and OK or Cancel.
#pragma once

#include <windows.h>

#include <string>

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

// WM_COMMAND with IDOK or IDCANCEL, posted.
bool ConfirmFolderDialog(HWND dialog);
bool CancelFolderDialog(HWND dialog);
