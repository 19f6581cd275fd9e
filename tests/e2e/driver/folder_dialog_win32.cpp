// The shell folder dialog driven from outside its process.
#include "tests/e2e/driver/folder_dialog.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/remote_memory.h"
#include "tests/e2e/driver/window_search.h"

namespace {

HWND FolderTree(HWND dialog) {
    for (HWND child : Descendants(dialog)) {
        if (lstrcmpiA(ClassNameOf(child).c_str(), "SysTreeView32") == 0)
            return child;
    }
    return nullptr;
}

bool IsLeadByteOfAnsi(unsigned char b) {
    return IsDBCSLeadByte(b) != FALSE;
}

}  // namespace

HWND FindFolderDialog(DWORD processId) {
    for (HWND window : TopLevelWindows(processId, true)) {
        if (ClassNameOf(window) == "#32770" && FolderTree(window))
            return window;
    }
    return nullptr;
}

HWND WaitForFolderDialog(DWORD processId, DWORD timeoutMs) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindFolderDialog(processId)) != nullptr; }, timeoutMs);
    return dialog;
}

std::string FolderDialogPrompt(HWND dialog) {
    for (HWND child : Descendants(dialog)) {
        if (lstrcmpiA(ClassNameOf(child).c_str(), "Static") != 0 || !IsWindowVisible(child))
            continue;
        std::string text = TextOf(child);
        if (!text.empty())
            return text;
    }
    return std::string();
}

std::string NormaliseFolderPath(const std::string& path) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto b = static_cast<unsigned char>(path[i]);
        if (IsLeadByteOfAnsi(b) && i + 1 < path.size()) {
            out += path[i];
            out += path[++i];
            continue;
        }
        const char c = b == '/' ? '\\' : static_cast<char>(b);
        if (c == '\\' && !out.empty() && out.back() == '\\' &&
            !(out.size() >= 2 && IsLeadByteOfAnsi(static_cast<unsigned char>(out[out.size() - 2]))))
            continue;
        out += c;
    }
    if (out.size() == 2 && out[1] == ':')
        out += '\\';
    // A trailing separator is dropped unless it is the root's, or a GBK character's second byte.
    if (out.size() > 3 && out.back() == '\\' && !IsLeadByteOfAnsi(static_cast<unsigned char>(out[out.size() - 2])))
        out.pop_back();
    return out;
}

bool SelectFolder(HANDLE process, HWND dialog, const std::string& path) {
    const std::string normal = NormaliseFolderPath(path);
    RemoteBlock text(process, normal.size() + 1);
    if (!text.ok() || !text.Write(normal.c_str(), normal.size() + 1))
        return false;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, TRUE, text.lparam(), SMTO_ABORTIFHUNG, 10000, &answer) != 0;
}

std::string SelectedFolderItemText(HANDLE process, HWND dialog) {
    HWND tree = FolderTree(dialog);
    if (!tree)
        return std::string();
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item)
        return std::string();
    constexpr size_t kTextSize = 520;
    RemoteBlock block(process, sizeof(TVITEMA) + kTextSize);
    if (!block.ok())
        return std::string();
    TVITEMA request = {};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = static_cast<char*>(block.address()) + sizeof(TVITEMA);
    request.cchTextMax = kTextSize;
    const char zero = '\0';
    if (!block.Write(&request, sizeof request) || !block.Write(&zero, 1, sizeof(TVITEMA)))
        return std::string();
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(tree, TVM_GETITEMA, 0, block.lparam(), SMTO_ABORTIFHUNG, 5000, &answer) || !answer)
        return std::string();
    // The control may answer with a pointer of its own instead of filling the buffer.
    TVITEMA answered = {};
    if (!block.Read(&answered, sizeof answered))
        return std::string();
    if (answered.pszText == request.pszText)
        return block.ReadText(sizeof(TVITEMA));
    char own[kTextSize] = {};
    SIZE_T got = 0;
    ReadProcessMemory(process, answered.pszText, own, sizeof own - 1, &got);
    return std::string(own, strnlen(own, sizeof own - 1));
}

bool ConfirmFolderDialog(HWND dialog) {
    return dialog && PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

bool CancelFolderDialog(HWND dialog) {
    return dialog && PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}
