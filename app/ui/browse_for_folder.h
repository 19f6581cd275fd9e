// Every folder choice of the tool: the shell's folder browser. Windows only.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/owned.h"

// The chosen file-system path (a drive root keeps its "\"), or empty when cancelled. Every
// argument may be left out: title "请选择一个文件夹", no files listed, no initial folder, no edit
// box, the new-style dialog, no owner. No window may close while the dialog is up.
OwnedText BrowseForFolder(std::optional<const char*> title = std::nullopt,
                          std::optional<bool> includeFiles = std::nullopt,
                          std::optional<const char*> initialFolder = std::nullopt,
                          std::optional<bool> editBox = std::nullopt,
                          std::optional<bool> newStyle = std::nullopt,
                          std::optional<uintptr_t> owner = std::nullopt);

// The owner argument for a folder dialog of a loaded window of the form. An owned dialog keeps
// its window from taking clicks, so nothing starts beside it.
uintptr_t DialogOwner(uint32_t windowId);
