// The demo's driver: starts TovUSB-sandbox.exe in the simulated Windows PE and either leaves it to
// the user (--interactive) or runs one precise import from start to finish, writing a screenshot
// of every step as a BMP file (--shots FOLDER), and the documentation's pictures (--docs FOLDER).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/folder_dialog.h"
#include "tests/e2e/driver/message_box.h"
#include "tests/e2e/driver/screen_pixels.h"
#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"

namespace {

std::string g_shots;
std::string g_docs;
int g_step = 0;

// The smallest rectangle around the windows, a margin of 8 pixels, kept on the screen.
RECT Around(std::initializer_list<HWND> windows) {
    RECT all = {};
    bool first = true;
    for (HWND window : windows) {
        RECT r;
        if (!window || !GetWindowRect(window, &r))
            continue;
        if (first)
            all = r;
        else
            UnionRect(&all, &all, &r);
        first = false;
    }
    InflateRect(&all, 8, 8);
    all.left = std::max<LONG>(all.left, 0);
    all.top = std::max<LONG>(all.top, 0);
    all.right = std::min<LONG>(all.right, GetSystemMetrics(SM_CXSCREEN));
    all.bottom = std::min<LONG>(all.bottom, GetSystemMetrics(SM_CYSCREEN));
    return all;
}

void Settle(std::initializer_list<HWND> windows) {
    for (HWND window : windows)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(400);
}

// One step's picture; `doc` names the documentation's copy, if the step has one.
void Shot(const char* name, std::initializer_list<HWND> windows, const char* doc = nullptr) {
    Settle(windows);
    const Pixels pixels = CaptureScreen(Around(windows));
    char file[64];
    std::snprintf(file, sizeof file, "%02d-%s.bmp", ++g_step, name);
    if (!g_shots.empty() && !SaveBitmapFile(pixels, g_shots + file))
        std::printf("cannot write %s%s\n", g_shots.c_str(), file);
    if (doc && !g_docs.empty())
        SaveBitmapFile(pixels, g_docs + "screenshot-" + doc + ".bmp");
    std::printf("step %d: %s\n", g_step, name);
    std::fflush(stdout);
}

int Fail(const char* what) {
    std::printf("demo failed: %s\n", what);
    return 1;
}

int RunInteractive(ToolSession& session) {
    std::printf(
        "TovUSB-sandbox.exe runs in the simulated Windows PE: X: is the system drive, D: an offline\n"
        "Windows 7 x64, E: Windows 7 x86, F: Windows 8.1, H: Windows 7 in \"H:\\Offline Win7\".\n"
        "Close its window to end the demo.\n");
    std::fflush(stdout);
    DWORD code = 0;
    session.process().WaitForExit(INFINITE, &code);
    std::printf("TovUSB-sandbox.exe ended with exit code %lu\n", static_cast<unsigned long>(code));
    return 0;
}

int RunPreciseImport(ToolSession& session) {
    HWND main = session.main();
    Shot("main-window", {main}, "main-window");

    if (!Click(session.MainControl(tool::kButton2)))
        return Fail("cannot click the import button");
    HWND dialog = WaitForFolderDialog(session.process().id(), 20000);
    if (!dialog)
        return Fail("no folder dialog");
    Shot("folder-dialog", {main, dialog});
    if (!SelectFolderAndConfirmShown(session.process().handle(), dialog, kWin7x64Root))
        return Fail("the dialog does not show D:\\ selected");
    Shot("folder-dialog-target-chosen", {main, dialog}, "folder-dialog");
    ConfirmFolderDialog(dialog);

    const MessageBoxView box = session.WaitForBox();
    if (!box.window)
        return Fail("no completion box");
    Shot("import-finished", {main, box.window}, "completion-box");
    std::printf("the box says the import %s (%s icon)\n", box.icon == BoxIcon::kInformation ? "finished" : "failed",
                BoxIconName(box.icon));
    session.Dismiss(box);
    Shot("status-after-import", {main});

    if (!Click(session.MainControl(tool::kButton3)))
        return Fail("cannot open the custom-import window");
    HWND custom = WaitForTopLevelWindow(session.process().id(), tool::kCustomTitle, 15000);
    if (!custom)
        return Fail("no custom-import window");
    TypeText(Control(custom, tool::kCustomEdit1), "D:\\Windows");
    TypeText(Control(custom, tool::kCustomEdit2), kSpacedDrivers);
    Shot("custom-import-window", {custom}, "custom-import");
    PressCloseBox(custom);
    WaitUntil([&] { return !IsWindow(custom); }, 10000);

    DWORD code = 0;
    if (!session.CloseMainWindow(&code))
        return Fail("the tool did not end");
    std::printf("closed: exit code %lu, work directory %s\n", static_cast<unsigned long>(code),
                PathExists(tool::kWorkDir) ? "still there" : "removed");
    return code == 0 ? 0 : 1;
}

std::string WithSeparator(std::string path) {
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    bool interactive = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--interactive") == 0)
            interactive = true;
        else if (std::strcmp(argv[i], "--shots") == 0 && i + 1 < argc)
            g_shots = WithSeparator(argv[++i]);
        else if (std::strcmp(argv[i], "--docs") == 0 && i + 1 < argc)
            g_docs = WithSeparator(argv[++i]);
    }
    if (SandboxToolPath().empty())
        return Fail("TovUSB-sandbox.exe is not built");
    ToolSession session;
    SessionOptions options;
    options.listing = MatchingListing();
    options.recordDism = false;
    if (!session.Start(options))
        return Fail("cannot start TovUSB-sandbox.exe");
    if (!session.WaitForMainWindow())
        return Fail("the main window did not appear");
    return interactive ? RunInteractive(session) : RunPreciseImport(session);
}
