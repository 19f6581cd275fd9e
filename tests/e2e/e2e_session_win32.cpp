// The end-to-end setting and one driven run of the tool.
#include "tests/e2e/e2e_session.h"

#include <cpuid.h>

#include <algorithm>
#include <cstring>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/folder_dialog.h"
#include "tests/e2e/driver/window_search.h"

namespace {

std::string WithSeparator(std::string path) {
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

std::string RecordsFolder() {
    return E2EScratchFolder() + "dism-records";
}

std::string ListingPath() {
    return E2EScratchFolder() + "devcon-listing.txt";
}

bool CaselessLess(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

void CollectFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectFiles(folder + "\\" + name, prefix + name + "\\", out);
        else
            out.push_back(prefix + name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

}  // namespace

std::string E2EVariable(const char* name) {
    char value[1024];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

std::string E2EBinFolder() {
    return WithSeparator(E2EVariable("TOVUSB_E2E_BIN"));
}

std::string E2EScratchFolder() {
    return WithSeparator(E2EVariable("TOVUSB_E2E_SCRATCH"));
}

std::string SandboxToolPath() {
    const std::string path = E2EVariable("TOVUSB_E2E_TOOL");
    return PathExists(path) ? path : std::string();
}

std::string PlainToolPath() {
    const std::string path = E2EVariable("TOVUSB_E2E_PLAIN_TOOL");
    return PathExists(path) ? path : std::string();
}

std::string PayloadFolder() {
    return WithSeparator(E2EVariable("TOVUSB_E2E_PAYLOAD"));
}

ToolSession::~ToolSession() {
    HoldDism(false);
    process_.Terminate();
}

bool ToolSession::Start(const SessionOptions& options) {
    if (!options.keepWorkDir)
        RemoveTree(tool::kWorkDir);
    RemoveTree(RecordsFolder());
    CreateDirectoryA(RecordsFolder().c_str(), nullptr);
    SetListing(options.listing);
    recordDism_ = options.recordDism;
    brand_ = options.processorBrand;
    const std::string program = !options.program.empty() ? options.program
                                : options.sandbox        ? SandboxToolPath()
                                                         : PlainToolPath();
    if (program.empty())
        return false;
    return process_.Start(program, std::string(),
                          {{"TOVUSB_SANDBOX_SYSTEMROOT", options.systemRoot},
                           {"TOVUSB_SANDBOX_PROCESSOR_BRAND", options.processorBrand},
                           {"TOVUSB_SANDBOX_NO_WOW64", options.noWow64 ? "1" : ""},
                           {"TOVUSB_DEVCON_LISTING", ListingPath()},
                           {"TOVUSB_E2E_DISM_RECORDS", RecordsFolder()}});
}

HWND ToolSession::WaitForMainWindow(DWORD timeoutMs) {
    main_ = WaitForTopLevelWindow(process_.id(), tool::kMainTitle, timeoutMs);
    if (main_ && recordDism_ && !InstallDismRecorder())
        main_ = nullptr;
    return main_;
}

bool ToolSession::InstallDismRecorder() {
    bool any = false;
    for (const char* build : {"x64", "x86"}) {
        const std::string folder = std::string(tool::kWorkDir) + "\\dism\\" + build + "\\";
        if (!PathExists(folder + "dism.exe"))
            continue;
        if (!MoveFileA((folder + "dism.exe").c_str(), (folder + "dism_sim.exe").c_str()) ||
            !CopyFileA((E2EBinFolder() + "dism_shim.exe").c_str(), (folder + "dism.exe").c_str(), TRUE))
            return false;
        any = true;
    }
    return any;
}

std::string ToolSession::Brand() const {
    return brand_.empty() ? ProcessorBrand() : brand_;
}

HWND ToolSession::MainControl(int number) const {
    return Control(main_, number);
}

std::string ToolSession::Status() const {
    return StatusPartText(process_.handle(), MainControl(tool::kStatusBar), 0);
}

std::vector<bool> ToolSession::MainControlsEnabled() const {
    std::vector<bool> enabled;
    for (int number : {tool::kButton1, tool::kButton2, tool::kButton3, tool::kRadio1, tool::kRadio2})
        enabled.push_back(IsEnabled(MainControl(number)));
    return enabled;
}

void ToolSession::SetListing(const std::string& bytes) {
    WriteWholeFile(ListingPath(), bytes);
}

void ToolSession::HoldDism(bool hold) {
    const std::string gate = RecordsFolder() + "\\hold";
    if (hold)
        WriteWholeFile(gate, "");
    else
        DeleteFileA(gate.c_str());
}

std::vector<DismRun> ToolSession::DismRuns() const {
    std::vector<DismRun> runs;
    for (int n = 1;; ++n) {
        const std::string record = RecordsFolder() + "\\run-" + std::to_string(n);
        if (!PathExists(record + ".cmd"))
            break;
        DismRun run;
        run.commandLine = ReadWholeFile(record + ".cmd");
        run.finished = PathExists(record + ".exit");
        run.output = ReadWholeFile(record + ".out");
        run.exitCode = run.finished ? std::strtoul(ReadWholeFile(record + ".exit").c_str(), nullptr, 10) : 0;
        runs.push_back(std::move(run));
    }
    return runs;
}

bool ToolSession::WaitForHeldRuns(size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return PathExists(RecordsFolder() + "\\run-" + std::to_string(count) + ".held"); },
                     timeoutMs);
}

bool ToolSession::ClickAndChooseFolder(HWND button, const std::string& folder, std::string* prompt) {
    if (!Click(button))
        return false;
    HWND dialog = WaitForFolderDialog(process_.id(), 20000);
    if (!dialog)
        return false;
    if (prompt)
        *prompt = FolderDialogPrompt(dialog);
    if (folder.empty())
        return CancelFolderDialog(dialog) && WaitUntil([&] { return !IsWindow(dialog); }, 10000);
    // OK only once the dialog shows the folder: an early selection may have fallen back to the desktop.
    return SelectFolderAndConfirmShown(process_.handle(), dialog, folder) && ConfirmFolderDialog(dialog) &&
           WaitUntil([&] { return !IsWindow(dialog); }, 10000);
}

MessageBoxView ToolSession::WaitForBox(DWORD timeoutMs) const {
    HWND box = WaitForMessageBox(process_.id(), timeoutMs);
    if (!box)
        return MessageBoxView();
    return ReadMessageBox(box);
}

bool ToolSession::Dismiss(const MessageBoxView& box) const {
    return DismissMessageBox(box.window) && WaitUntil([&] { return !IsWindow(box.window); }, 10000);
}

bool ToolSession::CloseMainWindow(DWORD* exitCode, DWORD timeoutMs) {
    return PressCloseBox(main_) && process_.WaitForExit(timeoutMs, exitCode);
}

bool PathExists(const std::string& path) {
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    return CloseHandle(file) && ok;
}

bool RemoveTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileA(path.c_str()) != FALSE;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    std::string base = folder;
    while (!base.empty() && base.back() == '\\')
        base.pop_back();
    CollectFiles(base, "", files);
    std::sort(files.begin(), files.end(), CaselessLess);
    return files;
}

namespace {

// Each published Windows\inf\oemNN.inf with the store folder whose INF has its bytes: what DISM
// staged, as opposed to the in-box packages that scripts/e2e-prefix put in the store.
struct StagedPackage {
    std::string published;
    std::string folder;
    std::string infName;
};

std::vector<std::string> Entries(const std::string& pattern, bool folders) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = entry.cFileName;
        const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != "." && name != ".." && folder == folders)
            names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

std::vector<StagedPackage> StagedPackages(const std::string& imageRoot) {
    const std::string root = WithSeparator(imageRoot);
    const std::string store = root + "Windows\\System32\\DriverStore\\FileRepository\\";
    std::vector<StagedPackage> staged;
    for (const std::string& oem : Entries(root + "Windows\\inf\\oem*.inf", false)) {
        const std::string published = ReadWholeFile(root + "Windows\\inf\\" + oem);
        for (const std::string& folder : Entries(store + "*", true)) {
            for (const std::string& inf : Entries(store + folder + "\\*.inf", false)) {
                if (ReadWholeFile(store + folder + "\\" + inf) == published)
                    staged.push_back({root + "Windows\\inf\\" + oem, store + folder, inf});
            }
        }
    }
    return staged;
}

}  // namespace

std::vector<std::string> RecordedPackages(const std::string& imageRoot) {
    std::vector<std::string> names;
    for (const StagedPackage& package : StagedPackages(imageRoot))
        names.push_back(package.infName);
    std::sort(names.begin(), names.end(), CaselessLess);
    names.erase(
        std::unique(names.begin(), names.end(),
                    [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }),
        names.end());
    return names;
}

void ClearDriverStore(const std::string& imageRoot) {
    for (const StagedPackage& package : StagedPackages(imageRoot)) {
        RemoveTree(package.folder);
        DeleteFileA(package.published.c_str());
    }
    // An oemNN.inf whose package folder is gone (a test may have removed it) goes as well.
    const std::string inf = WithSeparator(imageRoot) + "Windows\\inf\\";
    for (const std::string& oem : Entries(inf + "oem*.inf", false))
        DeleteFileA((inf + oem).c_str());
}

std::string ProcessorBrand() {
    char brand[49] = {};
    for (unsigned i = 0; i < 3; ++i) {
        unsigned regs[4] = {};
        __cpuid(0x80000002u + i, regs[0], regs[1], regs[2], regs[3]);
        std::memcpy(brand + i * 16, regs, 16);
    }
    return std::string(brand, strnlen(brand, 48));
}
