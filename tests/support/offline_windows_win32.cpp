// Fixture programs and offline Windows roots in temporary folders; drive letters mapped onto them.
#include "tests/support/offline_windows.h"

#include <windows.h>
#include <winioctl.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char* FakeCmdFolder(FakeCmd kind) {
    switch (kind) {
        case FakeCmd::kWin7x64:
            return "win7-x64";
        case FakeCmd::kWin7x86:
            return "win7-x86";
        case FakeCmd::kWin8:
            return "win8";
        case FakeCmd::kWin81:
            return "win81";
        case FakeCmd::kWin10:
            return "win10";
        case FakeCmd::kNoVersion:
            return "noversion";
        case FakeCmd::kNone:
            break;
    }
    return nullptr;
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Wine's own mount manager request that winecfg uses to add and remove drive letters.
struct WineUnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

using UnixFileNameFunction = char*(CDECL*)(const WCHAR*);

UnixFileNameFunction WineUnixFileName() {
    return reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
}

// Points the lower-case drive letter at the Unix folder, or removes it when unixPath is null.
bool DefineWineDrive(char letter, const char* unixPath) {
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> request(sizeof(WineUnixDrive) + (unixPath ? std::strlen(unixPath) + 1 : 0));
    auto* drive = reinterpret_cast<WineUnixDrive*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = unixPath ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
    drive->letter = static_cast<WCHAR>(letter);
    if (unixPath) {
        drive->mountPointOffset = sizeof(WineUnixDrive);
        std::memcpy(request.data() + sizeof(WineUnixDrive), unixPath, std::strlen(unixPath) + 1);
    }
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()), nullptr, 0,
                              &returned, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

}  // namespace

std::string FixtureDirectory() {
    char module[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string dir(module, n);
    dir.resize(dir.find_last_of('\\') + 1);
    return dir + "fixtures\\";
}

std::string FakeCmdPath(FakeCmd kind) {
    const char* folder = FakeCmdFolder(kind);
    return folder ? FixtureDirectory() + folder + "\\cmd.exe" : std::string();
}

bool Runs32BitPrograms() {
    static const bool runs = [] {
        std::string command = FakeCmdPath(FakeCmd::kWin7x86) + " /c exit";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &startup, &process))
            return false;
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }();
    return runs;
}

std::string ChildProgramPath() {
    return FixtureDirectory() + "tov_child.exe";
}

std::string ExplorerStubPath() {
    return FixtureDirectory() + "explorer.exe";
}

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH)
        return;
    for (int attempt = 0; attempt < 100 && !ok_; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof(name), "tovtest-%lu-%u-%lu", GetCurrentProcessId(), counter++, GetTickCount());
        path_ = std::string(temp) + name;
        ok_ = CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
    }
}

TempFolder::~TempFolder() {
    if (ok_)
        RemoveFolderTree(path_);
}

OfflineWindowsRoot::OfflineWindowsRoot(const OfflineWindowsLayout& layout) {
    if (!folder_.ok())
        return;
    const std::string windows = folder_.path() + "\\Windows";
    ok_ = MakeFolder(windows) && MakeFolder(windows + "\\system32");
    if (ok_ && layout.system32 != FakeCmd::kNone)
        ok_ = CopyFixture(FakeCmdPath(layout.system32), windows + "\\system32\\cmd.exe");
    if (ok_ && layout.sysnative != FakeCmd::kNone)
        ok_ = MakeFolder(windows + "\\sysnative") &&
              CopyFixture(FakeCmdPath(layout.sysnative), windows + "\\sysnative\\cmd.exe");
    if (ok_ && layout.explorer)
        ok_ = CopyFixture(ExplorerStubPath(), windows + "\\explorer.exe");
}

MappedDrive::MappedDrive(const std::string& folder) {
    const DWORD used = GetLogicalDrives();
    char letter = 0;
    for (char c = 'P'; c <= 'Y' && letter == 0; ++c) {
        if (!(used & (1u << (c - 'A'))))
            letter = c;
    }
    if (letter == 0)
        return;
    if (UnixFileNameFunction unixName = WineUnixFileName()) {
        WCHAR wide[MAX_PATH];
        if (!MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH))
            return;
        char* unixPath = unixName(wide);
        if (unixPath == nullptr)
            return;
        const bool ok = DefineWineDrive(static_cast<char>(letter - 'A' + 'a'), unixPath);
        HeapFree(GetProcessHeap(), 0, unixPath);
        if (!ok)
            return;
        wine_ = true;
    } else {
        const char device[3] = {letter, ':', '\0'};
        if (!DefineDosDeviceA(0, device, folder.c_str()))
            return;
    }
    letter_ = letter;
}

MappedDrive::~MappedDrive() {
    if (letter_ == 0)
        return;
    if (wine_) {
        DefineWineDrive(static_cast<char>(letter_ - 'A' + 'a'), nullptr);
    } else {
        const char device[3] = {letter_, ':', '\0'};
        DefineDosDeviceA(DDD_REMOVE_DEFINITION, device, nullptr);
    }
}

std::string MappedDrive::root() const {
    return letter_ ? std::string{letter_, ':', '\\'} : std::string();
}

bool RemoveFolderTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolderTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool CopyFixture(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}
