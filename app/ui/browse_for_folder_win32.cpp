// The shell's folder browser with the tool's titles and defaults.
#include "app/ui/browse_for_folder.h"

#include <windows.h>

#include <shlobj.h>

#include "app/flows/close_guard.h"
#include "app/startup/program_globals.h"
#include "runtime/declared_api.h"
#include "runtime/text_commands.h"
#include "window/controls/control_win32.h"

namespace {

// Hands the dialog the last initial folder once it is up; a null text names no folder.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM) {
    if (message == BFFM_INITIALIZED)
        declared::SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(LastBrowsedFolder.get()));
    return 1;
}

}  // namespace

uintptr_t DialogOwner(uint32_t windowId) {
    return reinterpret_cast<uintptr_t>(LoadedWindowHandle(windowId));
}

OwnedText BrowseForFolder(std::optional<const char*> title,
                          std::optional<bool> includeFiles,
                          std::optional<const char*> initialFolder,
                          std::optional<bool> editBox,
                          std::optional<bool> newStyle,
                          std::optional<uintptr_t> owner) {
    BROWSEINFOA info = {};
    info.hwndOwner = reinterpret_cast<HWND>(owner.value_or(0));
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = title.value_or("请选择一个文件夹");
    info.ulFlags = (editBox.value_or(false) ? BIF_EDITBOX : 0) | (newStyle.value_or(true) ? BIF_NEWDIALOGSTYLE : 0) |
                   (includeFiles.value_or(false) ? BIF_BROWSEINCLUDEFILES : 0);
    info.lpfn = BrowseCallback;
    info.lParam = 0;
    info.iImage = 0;

    OwnedText buffer = SpaceText(512);
    LastBrowsedFolder = CopyText(initialFolder.value_or(""));
    if (LastBrowsedFolder.empty())
        LastBrowsedFolder = OwnedText();

    LPITEMIDLIST items = nullptr;
    {
        CloseGuard dialogOpen;
        items = declared::SHBrowseForFolderA(&info);
    }
    declared::SHGetPathFromIDListA(items, buffer.get());
    if (items != nullptr)
        CoTaskMemFree(items);
    OwnedText path = PointerToText(buffer.get());
    return TrimSpaces(path.get());
}
