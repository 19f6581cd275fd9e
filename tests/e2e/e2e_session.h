// The end-to-end setting as the tests and the demo see it: the folders that scripts/e2e-prefix
// prepared, the tool's own texts and control numbers, and one run of the tool driven from outside.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/message_box.h"
#include "tests/e2e/driver/process_under_test.h"

// Windows paths that scripts/e2e-prefix passes in the environment; folders end in "\".
std::string E2EVariable(const char* name);
std::string E2EBinFolder();      // bin\e2e\ of the build: the helper programs
std::string E2EScratchFolder();  // a folder of this run for listings and records
std::string SandboxToolPath();   // TovUSB-sandbox.exe; empty when the build has none
std::string PlainToolPath();     // TovUSB.exe; empty when the build has none
std::string PayloadFolder();     // the folder USB.7z was made from

// Drives of the prefix (each a folder of the run).
inline constexpr char kPeRoot[] = "X:\\";                   // Windows PE: Windows\system32\cmd.exe 10.0
inline constexpr char kWin7x64Root[] = "D:\\";              // offline Windows 7, 64-bit
inline constexpr char kWin7x86Root[] = "E:\\";              // offline Windows 7, 32-bit
inline constexpr char kWin81Root[] = "F:\\";                // offline Windows 8.1
inline constexpr char kPlainRoot[] = "G:\\";                // no Windows at all
inline constexpr char kSpacedWin7[] = "H:\\Offline Win7";   // Windows 7 x64 in a folder with a space
inline constexpr char kSpacedDrivers[] = "H:\\My Drivers";  // driver packages in a folder with a space
inline constexpr char kBrokenWin7Root[] = "K:\\";           // Windows 7 x64 whose driver store cannot be made

// The tool's windows and controls.
namespace tool {
inline constexpr char kMainTitle[] = "TovanUSB3.X 驱动一键安装ForWin7";
inline constexpr char kCustomTitle[] = "离线向目标系统导入自定义驱动";
inline constexpr char kInitialStatus[] = "状态:等待操作,支持第八代英特尔主板                          Ver:2.1.0";
inline constexpr char kBoxTitle[] = "提示";
inline constexpr char kWorkDir[] = "X:\\TovUSB";
// Main window.
inline constexpr int kButton1 = 100;
inline constexpr int kButton2 = 110;
inline constexpr int kButton3 = 120;
inline constexpr int kLabel2 = 130;
inline constexpr int kRadio1 = 140;
inline constexpr int kRadio2 = 150;
inline constexpr int kStatusBar = 160;
// Custom-import window.
inline constexpr int kCustomLabel1 = 100;
inline constexpr int kCustomEdit1 = 110;
inline constexpr int kCustomBrowse1 = 120;
inline constexpr int kCustomLabel2 = 130;
inline constexpr int kCustomEdit2 = 140;
inline constexpr int kCustomBrowse2 = 150;
inline constexpr int kCustomStart = 160;
}  // namespace tool

// One DISM run as the stand-in recorded it.
struct DismRun {
    std::string commandLine;
    std::string output;
    DWORD exitCode = 0;
    bool finished = false;
};

struct SessionOptions {
    bool sandbox = true;                     // TovUSB-sandbox.exe, else TovUSB.exe
    std::string program;                     // another build of the tool instead, when not empty
    std::string systemRoot = "X:\\Windows";  // TOVUSB_SANDBOX_SYSTEMROOT; empty: not set
    std::string processorBrand;              // TOVUSB_SANDBOX_PROCESSOR_BRAND; empty: the processor's own
    bool noWow64 = false;                    // TOVUSB_SANDBOX_NO_WOW64=1: a system without WoW64
    std::string listing;                     // what devcon lists
    bool recordDism = true;                  // put the recording stand-in before DISM
    bool keepWorkDir = false;                // leave X:\TovUSB as the test prepared it
};

class ToolSession {
  public:
    ToolSession() = default;
    ~ToolSession();
    ToolSession(const ToolSession&) = delete;
    ToolSession& operator=(const ToolSession&) = delete;

    // Clears what an earlier run may have left (X:\TovUSB unless kept, the records) and starts
    // the tool.
    bool Start(const SessionOptions& options);
    // Waits until the main window is shown (after payload staging) and, when asked, puts the
    // recording stand-in before DISM. Null when it does not appear.
    HWND WaitForMainWindow(DWORD timeoutMs = 60000);

    ProcessUnderTest& process() { return process_; }
    // The processor brand the tool reads: the one given, or the processor's own.
    std::string Brand() const;
    HWND main() const { return main_; }
    HWND MainControl(int number) const;
    std::string Status() const;
    // 按钮1, 按钮2, 按钮3, 单选框1 and 单选框2 enabled (one flag each, in that order).
    std::vector<bool> MainControlsEnabled() const;

    // Rewrites what devcon lists from now on.
    void SetListing(const std::string& bytes);
    // While held, every DISM run waits before it starts the real one.
    void HoldDism(bool hold);
    // Runs recorded so far, in order.
    std::vector<DismRun> DismRuns() const;
    // True once `count` runs have reached the hold.
    bool WaitForHeldRuns(size_t count, DWORD timeoutMs) const;

    // Clicks the button, waits for the folder dialog, checks nothing, and chooses the folder
    // (or cancels when `folder` is empty): OK is pressed only once the dialog shows the folder
    // selected (SelectFolderAndConfirmShown). The dialog's prompt goes to *prompt.
    bool ClickAndChooseFolder(HWND button, const std::string& folder, std::string* prompt = nullptr);
    // The next message box of the tool, read; its window is null when none came in time.
    MessageBoxView WaitForBox(DWORD timeoutMs = 60000) const;
    // Dismisses the box and waits until it is gone.
    bool Dismiss(const MessageBoxView& box) const;

    // The close box of the main window, then the end of the process.
    bool CloseMainWindow(DWORD* exitCode, DWORD timeoutMs = 30000);

  private:
    bool InstallDismRecorder();

    ProcessUnderTest process_;
    std::string brand_;
    HWND main_ = nullptr;
    bool recordDism_ = true;
};

// Files and folders seen from the test.
bool PathExists(const std::string& path);
DWORD AttributesOf(const std::string& path);
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool RemoveTree(const std::string& path);
// Files below the folder, as paths relative to it with "\" separators, sorted without case.
std::vector<std::string> FilesBelow(const std::string& folder);
// The packages the DISM simulator staged in an image: the INF names of the store folders under
// Windows\System32\DriverStore\FileRepository whose INF is published as Windows\inf\oemNN.inf,
// sorted without case, each once. The in-box packages of the store are never among them.
std::vector<std::string> RecordedPackages(const std::string& imageRoot);
// Removes what DISM staged and published; the in-box packages stay.
void ClearDriverStore(const std::string& imageRoot);
// The processor brand text as the CPUID brand leaves give it (up to the first zero byte): what
// the tool reads when no brand is given to it.
std::string ProcessorBrand();
