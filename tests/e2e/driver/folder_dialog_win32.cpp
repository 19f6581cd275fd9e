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

namespace {

// The item's text, read through a buffer in the tree's own process; empty when it cannot be read.
std::string ItemText(HANDLE process, HWND tree, HTREEITEM item) {
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

HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM from) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from), SMTO_ABORTIFHUNG, 5000,
                             &answer))
        return nullptr;
    return reinterpret_cast<HTREEITEM>(answer);
}

// The path's parts between separators (GBK characters kept whole), empty ones left out.
std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < path.size(); ++i) {
        const auto b = static_cast<unsigned char>(path[i]);
        if (IsLeadByteOfAnsi(b) && i + 1 < path.size()) {
            parts.back() += path[i];
            parts.back() += path[++i];
        } else if (b == '\\' || b == '/') {
            if (!parts.back().empty())
                parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(b);
        }
    }
    if (parts.back().empty())
        parts.pop_back();
    return parts;
}

}  // namespace

std::string SelectedFolderItemText(HANDLE process, HWND dialog) {
    HWND tree = FolderTree(dialog);
    if (!tree)
        return std::string();
    HTREEITEM item = NextItem(tree, TVGN_CARET, nullptr);
    return item ? ItemText(process, tree, item) : std::string();
}

std::vector<std::string> SelectedFolderItemChain(HANDLE process, HWND dialog) {
    std::vector<std::string> chain;
    HWND tree = FolderTree(dialog);
    if (!tree)
        return chain;
    // A tree deeper than any path the tests choose is no tree of folders.
    for (HTREEITEM item = NextItem(tree, TVGN_CARET, nullptr); item && chain.size() < 64;
         item = NextItem(tree, TVGN_PARENT, item))
        chain.push_back(ItemText(process, tree, item));
    return chain;
}

bool ChainShowsFolder(const std::vector<std::string>& chain, const std::string& path) {
    const std::vector<std::string> parts = PathParts(NormaliseFolderPath(path));
    if (parts.empty() || chain.size() < parts.size())
        return false;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[parts.size() - 1 - i];
        const std::string& item = chain[i];
        const bool drive = i == parts.size() - 1 && part.size() == 2 && part[1] == ':';
        if (drive) {
            // The drive's item shows its label and letter, such as "Local Disk (D:)".
            std::string upperItem = item;
            CharUpperBuffA(upperItem.data(), static_cast<DWORD>(upperItem.size()));
            std::string upperPart = part;
            CharUpperBuffA(upperPart.data(), static_cast<DWORD>(upperPart.size()));
            if (upperItem.find(upperPart) == std::string::npos)
                return false;
        } else if (lstrcmpiA(item.c_str(), part.c_str()) != 0) {
            return false;
        }
    }
    return true;
}

bool SelectFolderAndConfirmShown(HANDLE process, HWND dialog, const std::string& path, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (!IsWindow(dialog) || !SelectFolder(process, dialog, path))
            return false;
        if (WaitUntil([&] { return ChainShowsFolder(SelectedFolderItemChain(process, dialog), path); }, 1000))
            return true;
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

bool ConfirmFolderDialog(HWND dialog) {
    return dialog && PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

bool CancelFolderDialog(HWND dialog) {
    return dialog && PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}
