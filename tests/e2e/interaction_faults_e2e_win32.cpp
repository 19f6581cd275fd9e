// What a hurried or unlucky user does to the tool: targets with spaces, GBK characters or 250
// characters, double clicks and close requests while a run is under way, and 200 precise imports
// in one process, whose handles and private memory must stay flat.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/folder_dialog.h"
#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"
#include "tests/e2e/fault_support.h"

namespace {

constexpr char kDone[] = "精准导入驱动完成！\r\n如无效请使用 模糊导入 ";
constexpr char kNotStaged[] =
    "精准导入驱动未生效,以下设备在目标系统中没有可用的驱动:\r\nEtron USB 3.0 eXtensible Host Controller";
constexpr char kEtronListing[] =
    "PCI\\VEN_1B6F&DEV_7023\\4&1F2A3B4C&0&00E6\r\n"
    "    Name: Etron USB 3.0 eXtensible Host Controller\r\n"
    "        PCI\\VEN_1B6F&DEV_7023\r\n";
constexpr char kEtronFolder[] = "X:\\TovUSB\\Win7X64\\Etron_USB3.0_WinA\\";

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return L"\\\\?\\" + wide;
}

// A Windows 7 (64-bit) installation at root, made with the wide functions so that paths past
// MAX_PATH can be made too.
bool MakeWindows7Root(const std::string& root) {
    const std::wstring windows = Wide(root) + L"\\Windows";
    size_t at = Wide(root).find(L'\\', 7);
    while (at != std::wstring::npos) {
        CreateDirectoryW(Wide(root).substr(0, at).c_str(), nullptr);
        at = Wide(root).find(L'\\', at + 1);
    }
    CreateDirectoryW(Wide(root).c_str(), nullptr);
    CreateDirectoryW(windows.c_str(), nullptr);
    CreateDirectoryW((windows + L"\\system32").c_str(), nullptr);
    return CopyFileW(Wide("D:\\Windows\\system32\\cmd.exe").c_str(), (windows + L"\\system32\\cmd.exe").c_str(),
                     FALSE) &&
           CopyFileW(Wide("D:\\Windows\\explorer.exe").c_str(), (windows + L"\\explorer.exe").c_str(), FALSE);
}

void RemoveWideTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveWideTree(path + L"\\" + name);
            else
                DeleteFileW((path + L"\\" + name).c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

class InteractionScenario : public ToolScenario {
  protected:
    std::vector<std::string> FoldersOfRuns(size_t from) const {
        std::vector<std::string> lines;
        const std::vector<DismRun> runs = session_.DismRuns();
        for (size_t i = from; i < runs.size(); ++i)
            lines.push_back(runs[i].commandLine);
        return lines;
    }
    std::vector<std::string> PreciseLines(const std::string& image) const {
        std::vector<std::string> lines;
        for (const std::string& folder : MatchedFolders(true))
            lines.push_back(kDismPath + std::string(" ") + PreciseParameters(image, folder));
        return lines;
    }
};

TEST_F(InteractionScenario, TargetsWithSpacesAndGbkCharactersReachDismWhole) {
    // 乗 is 81 5C: its second byte is a backslash's, right before the closing quote.
    const std::string plainGbk = "G:\\离线系统乗";
    const std::string spacedGbk = "G:\\离线 系统乗";
    ASSERT_TRUE(MakeWindows7Root(plainGbk));
    ASSERT_TRUE(MakeWindows7Root(spacedGbk));
    StartTool();
    struct TargetCase {
        std::string root;
        std::string image;  // as DISM's command line holds it
    };
    const TargetCase targets[] = {
        {kSpacedWin7, "\"H:\\Offline Win7\""},
        {plainGbk, plainGbk},
        {spacedGbk, "\"" + spacedGbk + "\""},
    };
    for (const TargetCase& t : targets) {
        SCOPED_TRACE(t.image);
        // With its separator: the driver's helpers would take the trail byte 5C of 乗 for one.
        const std::string image = t.root + "\\";
        ClearDriverStore(image);
        const size_t before = session_.DismRuns().size();
        ChooseTarget(t.root);
        const MessageBoxView box = ExpectBox(kDone, BoxIcon::kInformation);
        EXPECT_EQ(FoldersOfRuns(before), PreciseLines(t.image));
        for (const DismRun& run : session_.DismRuns())
            EXPECT_EQ(run.exitCode, 0u) << run.output;
        EXPECT_EQ(RecordedPackages(image), PackagesIn(MatchedFolders(true)));
        DismissBox(box);
    }
    // The custom import names the Windows directory; DISM gets the folder above it, whose
    // closing separator must not escape the closing quote.
    ASSERT_TRUE(Click(session_.MainControl(tool::kButton3)));
    HWND custom = WaitForTopLevelWindow(session_.process().id(), tool::kCustomTitle, 15000);
    ASSERT_NE(custom, nullptr);
    ClearDriverStore(spacedGbk + "\\");
    ASSERT_TRUE(TypeText(Control(custom, tool::kCustomEdit1), spacedGbk + "\\Windows"));
    ASSERT_TRUE(TypeText(Control(custom, tool::kCustomEdit2), kSpacedDrivers));
    ASSERT_TRUE(Click(Control(custom, tool::kCustomStart)));
    const MessageBoxView box = ExpectBox("模糊导入驱动完成！", BoxIcon::kInformation);
    EXPECT_EQ(session_.DismRuns().back().commandLine,
              kDismPath + std::string(" ") + CustomParameters("\"" + spacedGbk + "\\\\\"", "\"H:\\My Drivers\""));
    EXPECT_EQ(RecordedPackages(spacedGbk + "\\"), (std::vector<std::string>{"vendor_one.inf", "vendor_two.inf"}));
    DismissBox(box);
    ASSERT_TRUE(PressCloseBox(custom));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(session_.main()) != FALSE; }, 10000));
    CloseAndExpectCleanExit();
    RemoveWideTree(Wide(plainGbk));
    RemoveWideTree(Wide(spacedGbk));
}

TEST_F(InteractionScenario, ATargetOf250CharactersIsRefusedUntouched) {
    // Its cmd.exe lies past MAX_PATH, where the ANSI functions of Windows reach no file: the
    // target is refused as not being Windows 7, and nothing is run or written. (Wine's version
    // functions read past the limit while its file tests do not; the tool keeps to the limit.)
    const std::string root = "G:\\" + std::string(120, 'a') + "\\" + std::string(126, 'b');
    ASSERT_EQ(root.size(), 250u);
    ASSERT_TRUE(MakeWindows7Root(root));
    StartTool();
    ASSERT_TRUE(Click(session_.MainControl(tool::kButton2)));
    HWND dialog = WaitForFolderDialog(session_.process().id(), 20000);
    ASSERT_NE(dialog, nullptr);
    // The desktop, where an early selection may fall back to, is no Windows 7 either.
    ASSERT_TRUE(SelectFolderAndConfirmShown(session_.process().handle(), dialog, root));
    ASSERT_TRUE(ConfirmFolderDialog(dialog));
    const MessageBoxView box = ExpectBox("本功能仅适合Windows7系统，请选择正确的系统", BoxIcon::kStop);
    EXPECT_EQ(session_.Status(), tool::kInitialStatus);
    ExpectAllControlsEnabled(true);
    EXPECT_TRUE(session_.DismRuns().empty());
    EXPECT_FALSE(PathExists("X:\\TovUSB\\hwids.log"));
    DismissBox(box);
    CloseAndExpectCleanExit();
    RemoveWideTree(Wide("G:\\" + std::string(120, 'a')));
}

TEST_F(InteractionScenario, DoubleClicksStartOneRunAndNothingWhileOneIsUnderWay) {
    StartTool();
    session_.HoldDism(true);
    ChooseTarget(kWin7x64Root);
    ASSERT_TRUE(session_.WaitForHeldRuns(1, 30000));
    ExpectAllControlsEnabled(false);
    for (int control : {tool::kButton2, tool::kButton3, tool::kRadio2, tool::kRadio1})
        ASSERT_TRUE(DoubleClick(session_.MainControl(control)));
    ASSERT_TRUE(WaitForThreadToCatchUp(session_.main())) << "the tool does not answer";
    EXPECT_EQ(FindFolderDialog(session_.process().id()), nullptr);
    EXPECT_EQ(FindTopLevelWindow(session_.process().id(), tool::kCustomTitle), nullptr);
    session_.HoldDism(false);
    MessageBoxView box = ExpectBox(kDone, BoxIcon::kInformation);
    EXPECT_EQ(FoldersOfRuns(0), PreciseLines(kWin7x64Root));
    EXPECT_EQ(CheckState(session_.MainControl(tool::kRadio1)), BST_CHECKED);
    DismissBox(box);

    // In the custom-import window the first click of a double click starts the run, and the
    // second finds the start button already disabled.
    ASSERT_TRUE(Click(session_.MainControl(tool::kButton3)));
    HWND custom = WaitForTopLevelWindow(session_.process().id(), tool::kCustomTitle, 15000);
    ASSERT_NE(custom, nullptr);
    ASSERT_TRUE(TypeText(Control(custom, tool::kCustomEdit1), "D:\\Windows"));
    ASSERT_TRUE(TypeText(Control(custom, tool::kCustomEdit2), "G:\\drivers\\custom_usb"));
    const size_t before = session_.DismRuns().size();
    session_.HoldDism(true);
    ASSERT_TRUE(DoubleClick(Control(custom, tool::kCustomStart)));
    ASSERT_TRUE(session_.WaitForHeldRuns(before + 1, 30000)) << "the double click started nothing";
    ASSERT_TRUE(DoubleClick(Control(custom, tool::kCustomStart)));
    ASSERT_TRUE(WaitForThreadToCatchUp(custom)) << "the tool does not answer";
    EXPECT_EQ(session_.DismRuns().size(), before + 1);
    session_.HoldDism(false);
    box = ExpectBox("模糊导入驱动完成！", BoxIcon::kInformation);
    DismissBox(box);
    ExpectNoBox();
    EXPECT_EQ(session_.DismRuns().size(), before + 1);
    ASSERT_TRUE(PressCloseBox(custom));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(session_.main()) != FALSE; }, 10000));
    CloseAndExpectCleanExit();
}

TEST_F(InteractionScenario, CloseRequestsWhileDismRunsAreRefused) {
    StartTool();
    session_.HoldDism(true);
    ChooseTarget(kWin7x64Root);
    ASSERT_TRUE(session_.WaitForHeldRuns(1, 30000));
    HWND main = session_.main();
    struct CloseCase {
        const char* name;
        std::function<bool(HWND)> request;
    };
    const CloseCase requests[] = {
        {"close box", [](HWND w) { return PressCloseBox(w); }},
        {"Alt+F4",
         [](HWND w) {
             const LPARAM alt = 1 | (static_cast<LPARAM>(MapVirtualKeyA(VK_F4, MAPVK_VK_TO_VSC)) << 16) | (1 << 29);
             return PostMessageA(w, WM_SYSKEYDOWN, VK_F4, alt) != FALSE;
         }},
        {"Esc", [](HWND w) { return PressKey(w, VK_ESCAPE); }},
        {"WM_CLOSE", [](HWND w) { return PostMessageA(w, WM_CLOSE, 0, 0) != FALSE; }},
    };
    for (const CloseCase& c : requests) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.request(main));
        ASSERT_TRUE(WaitForThreadToCatchUp(main)) << "the tool does not answer";
        EXPECT_TRUE(session_.process().Running());
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_TRUE(PathExists("X:\\TovUSB\\dism\\x64\\dism.exe"));
    }
    session_.HoldDism(false);
    MessageBoxView box = ExpectBox(kDone, BoxIcon::kInformation);
    EXPECT_EQ(FoldersOfRuns(0), PreciseLines(kWin7x64Root));
    DismissBox(box);

    ASSERT_TRUE(Click(session_.MainControl(tool::kButton3)));
    HWND custom = WaitForTopLevelWindow(session_.process().id(), tool::kCustomTitle, 15000);
    ASSERT_NE(custom, nullptr);
    ASSERT_TRUE(TypeText(Control(custom, tool::kCustomEdit1), "D:\\Windows"));
    ASSERT_TRUE(TypeText(Control(custom, tool::kCustomEdit2), "G:\\drivers\\custom_usb"));
    const size_t before = session_.DismRuns().size();
    session_.HoldDism(true);
    ASSERT_TRUE(Click(Control(custom, tool::kCustomStart)));
    ASSERT_TRUE(session_.WaitForHeldRuns(before + 1, 30000));
    for (const CloseCase& c : requests) {
        SCOPED_TRACE(std::string("custom-import window: ") + c.name);
        ASSERT_TRUE(c.request(custom));
        ASSERT_TRUE(WaitForThreadToCatchUp(custom)) << "the tool does not answer";
        EXPECT_TRUE(IsWindowVisible(custom));
    }
    session_.HoldDism(false);
    box = ExpectBox("模糊导入驱动完成！", BoxIcon::kInformation);
    DismissBox(box);
    // Once the run is over the same request closes it.
    ASSERT_TRUE(PressKey(custom, VK_ESCAPE));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(custom); }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(session_.main()) != FALSE; }, 10000));
    CloseAndExpectCleanExit();
}

// Moves the dialog off its window, so that clicks meant for the window land on it.
void MoveBeside(HWND dialog, HWND window) {
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    ASSERT_TRUE(SetWindowPos(dialog, nullptr, rect.right + 8, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
}

size_t FolderDialogCount(DWORD processId) {
    size_t count = 0;
    for (HWND window : TopLevelWindows(processId, true))
        count += ClassNameOf(window) == "#32770";
    return count;
}

// A folder dialog belongs to the window that opened it: while it is up, that window takes no
// clicks and does not close, so nothing can start beside it or pull the window from under it.
TEST_F(InteractionScenario, AnOpenFolderDialogHoldsTheWindowThatOpenedIt) {
    StartTool();
    const DWORD id = session_.process().id();
    HWND main = session_.main();
    ASSERT_TRUE(Click(session_.MainControl(tool::kButton2)));
    HWND dialog = WaitForFolderDialog(id, 20000);
    ASSERT_NE(dialog, nullptr);
    MoveBeside(dialog, main);
    ASSERT_TRUE(DoubleClick(session_.MainControl(tool::kButton3)));
    ASSERT_TRUE(DoubleClick(session_.MainControl(tool::kButton2)));
    ASSERT_TRUE(DoubleClick(session_.MainControl(tool::kRadio2)));
    ASSERT_TRUE(ClickCloseBox(main));
    // Another program may still ask the window to close.
    ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
    ASSERT_TRUE(WaitForThreadToCatchUp(main)) << "the tool does not answer";
    EXPECT_EQ(FindTopLevelWindow(id, tool::kCustomTitle), nullptr);
    EXPECT_EQ(FolderDialogCount(id), 1u);
    EXPECT_EQ(CheckState(session_.MainControl(tool::kRadio1)), BST_CHECKED);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(PathExists("X:\\TovUSB\\dism\\x64\\dism.exe"));
    // The dialog still serves its window.
    ASSERT_TRUE(SelectFolderAndConfirmShown(session_.process().handle(), dialog, kWin7x64Root));
    ASSERT_TRUE(ConfirmFolderDialog(dialog));
    MessageBoxView box = ExpectBox(kDone, BoxIcon::kInformation);
    EXPECT_EQ(FoldersOfRuns(0), PreciseLines(kWin7x64Root));
    DismissBox(box);
    const size_t runs = session_.DismRuns().size();

    // The custom-import window and its two dialogs: closing it under a dialog would leave the
    // dialog's answer with no edit box to go to.
    ASSERT_TRUE(Click(session_.MainControl(tool::kButton3)));
    HWND custom = WaitForTopLevelWindow(id, tool::kCustomTitle, 15000);
    ASSERT_NE(custom, nullptr);
    const struct {
        int browse;
        int edit;
        const char* folder;
    } browses[] = {{tool::kCustomBrowse1, tool::kCustomEdit1, "D:\\Windows"},
                   {tool::kCustomBrowse2, tool::kCustomEdit2, "G:\\drivers\\custom_usb"}};
    for (const auto& b : browses) {
        SCOPED_TRACE(b.folder);
        ASSERT_TRUE(Click(Control(custom, b.browse)));
        dialog = WaitForFolderDialog(id, 20000);
        ASSERT_NE(dialog, nullptr);
        MoveBeside(dialog, custom);
        ASSERT_TRUE(DoubleClick(Control(custom, tool::kCustomStart)));
        ASSERT_TRUE(ClickCloseBox(custom));
        ASSERT_TRUE(PostMessageA(custom, WM_CLOSE, 0, 0));
        ASSERT_TRUE(WaitForThreadToCatchUp(custom)) << "the tool does not answer";
        EXPECT_TRUE(IsWindowVisible(custom));
        EXPECT_EQ(FindMessageBox(id), nullptr);
        ASSERT_TRUE(SelectFolderAndConfirmShown(session_.process().handle(), dialog, b.folder));
        ASSERT_TRUE(ConfirmFolderDialog(dialog));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
        EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(custom, b.edit)) == b.folder; }, 5000))
            << TextOf(Control(custom, b.edit));
        EXPECT_TRUE(session_.process().Running());
    }
    ASSERT_TRUE(PressCloseBox(custom));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(custom); }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));
    EXPECT_EQ(session_.DismRuns().size(), runs);
    CloseAndExpectCleanExit();
}

TEST_F(InteractionScenario, TwoHundredPreciseImportsKeepHandlesAndMemoryFlat) {
    StartTool(kEtronListing);
    ASSERT_TRUE(InstallFaultyDism(""));
    constexpr int kImports = 200;
    constexpr int kWarmUp = 20;
    ProcessCounters warm;
    ProcessCounters last;
    const DWORD start = GetTickCount();
    for (int i = 1; i <= kImports && !HasFatalFailure(); ++i) {
        ChooseTarget(kWin7x64Root);
        // The text only: the icon, told from screen pixels, is checked by the other scenarios;
        // over 200 boxes on a loaded machine a misread capture would fail this test for nothing
        // it measures.
        const MessageBoxView box = session_.WaitForBox();
        ASSERT_NE(box.window, nullptr) << "no box after import " << i;
        // The stand-in DISM stages nothing, so each import also reads the store and names the device.
        EXPECT_EQ(box.text, kNotStaged) << "import " << i;
        DismissBox(box);
        if (i == kWarmUp) {
            ASSERT_TRUE(ReadProcessCounters(session_.process().handle(), &warm));
        }
    }
    ASSERT_TRUE(ReadProcessCounters(session_.process().handle(), &last));
    std::printf("[ 200      ] %d imports in %lu ms; after %d: %lu handles, %lu KB; after %d: %lu handles, %lu KB\n",
                kImports, GetTickCount() - start, kWarmUp, warm.handles,
                static_cast<unsigned long>(warm.privateBytes / 1024), kImports, last.handles,
                static_cast<unsigned long>(last.privateBytes / 1024));
    EXPECT_EQ(session_.DismRuns().size(), static_cast<size_t>(kImports));
    EXPECT_LE(last.handles, warm.handles + 2);
    EXPECT_LE(last.privateBytes, warm.privateBytes + 1024 * 1024);
    // Both logs hold every import.
    const std::string log = ReadWholeFile("X:\\TovUSB\\USB.log");
    const std::string entry = LogEntry(PreciseParameters(kWin7x64Root, kEtronFolder));
    size_t entries = 0;
    for (size_t at = log.find(entry); at != std::string::npos; at = log.find(entry, at + entry.size()))
        ++entries;
    EXPECT_EQ(entries, static_cast<size_t>(kImports));
    CloseAndExpectCleanExit();
}

}  // namespace
