// Start and end of the tool: the refusal outside Windows PE, payload staging, the main window as
// it first shows, a failed extraction, and the clean-up when the window closes.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"

namespace {

bool CaselessLess(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

TEST(StartupE2ETest, RefusesToRunOutsideWindowsPE) {
    if (SandboxToolPath().empty())
        GTEST_FAIL() << "TovUSB-sandbox.exe is not built (the e2e_tests target builds it)";
    struct RefusalCase {
        const char* name;
        bool sandbox;
        std::string systemRoot;
    };
    const RefusalCase cases[] = {
        // The real program reads no variable: it sees Wine's C:\windows even with one set.
        {"TovUSB.exe", false, "X:\\Windows"},
        {"sandbox without the variable", true, ""},
        {"sandbox on drive C:", true, "C:\\Windows"},
        {"sandbox on drive D:", true, "D:\\Windows"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        if ((c.sandbox ? SandboxToolPath() : PlainToolPath()).empty()) {
            ADD_FAILURE() << "the program is not built";
            continue;
        }
        ToolSession session;
        SessionOptions options;
        options.sandbox = c.sandbox;
        options.systemRoot = c.systemRoot;
        ASSERT_TRUE(session.Start(options));
        const MessageBoxView box = session.WaitForBox();
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.title, tool::kBoxTitle);
        EXPECT_EQ(box.text, "本程序仅支持WinPE环境！");
        EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(BoxIcon::kExclamation));
        // The main window is never shown, and nothing is written anywhere.
        EXPECT_EQ(FindTopLevelWindow(session.process().id(), tool::kMainTitle), nullptr);
        ASSERT_TRUE(session.Dismiss(box));
        DWORD code = 0xFFFF;
        ASSERT_TRUE(session.process().WaitForExit(15000, &code));
        EXPECT_EQ(code, 0u);
        for (const char* root : {"X:\\TovUSB", "C:\\TovUSB", "D:\\TovUSB"})
            EXPECT_FALSE(PathExists(root)) << root;
    }
}

using StartupScenario = ToolScenario;

TEST_F(StartupScenario, StagesThePayloadAndShowsTheMainWindow) {
    StartTool();
    // The hidden work directory with the payload unpacked beside the archive and the extractor.
    const DWORD attributes = AttributesOf("X:\\TovUSB");
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN) << "Wine keeps the attribute in an extended attribute";
    std::vector<std::string> expected = FilesBelow(PayloadFolder());
    ASSERT_FALSE(expected.empty()) << "no payload folder at " << PayloadFolder();
    for (const char* own : {"USB.7z", "7z.exe", "7z.dll"})
        expected.push_back(own);
    std::sort(expected.begin(), expected.end(), CaselessLess);
    std::vector<std::string> unpacked = FilesBelow("X:\\TovUSB");
    // The recording stand-in moved the real DISM aside.
    unpacked.erase(std::remove_if(unpacked.begin(), unpacked.end(),
                                  [](const std::string& f) { return f.find("dism_sim.exe") != std::string::npos; }),
                   unpacked.end());
    EXPECT_EQ(unpacked, expected);
    for (const std::string& file : FilesBelow(PayloadFolder())) {
        if (file.find("dism.exe") != std::string::npos)
            continue;
        EXPECT_EQ(ReadWholeFile("X:\\TovUSB\\" + file), ReadWholeFile(PayloadFolder() + file)) << file;
    }
    EXPECT_FALSE(PathExists("C:\\TovUSB"));

    // Title, place and size: centred on the screen, 436 x 217.
    HWND main = session_.main();
    EXPECT_EQ(TextOf(main), tool::kMainTitle);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(main, &rect));
    EXPECT_EQ(rect.right - rect.left, 436);
    EXPECT_EQ(rect.bottom - rect.top, 217);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 436) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 217) / 2);

    EXPECT_EQ(session_.Status(), tool::kInitialStatus);
    EXPECT_EQ(session_.Status().size(), 69u);
    struct ControlCase {
        int number;
        const char* caption;
        bool shown;
        int check;  // -1: no radio button
    };
    const ControlCase controls[] = {
        {tool::kButton1, "向当前系统安装驱动和补丁", false, -1},
        {tool::kButton2, "离线向目标系统导入USB3.X驱动", true, -1},
        {tool::kButton3, "离线向目标系统导入自定义驱动", true, -1},
        {tool::kLabel2, "注入类型:", true, -1},
        {tool::kRadio1, "精准导入", true, BST_CHECKED},
        {tool::kRadio2, "模糊导入", true, BST_UNCHECKED},
    };
    for (const ControlCase& c : controls) {
        SCOPED_TRACE(c.number);
        HWND control = session_.MainControl(c.number);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(TextOf(control), c.caption);
        EXPECT_EQ(IsShown(control), c.shown);
        if (c.check >= 0) {
            EXPECT_EQ(CheckState(control), c.check);
        }
    }
    ExpectAllControlsEnabled(true);
    CloseAndExpectCleanExit();
}

TEST_F(StartupScenario, AFailedExtractionEndsTheProgramWithAStopBox) {
    // A file where the payload needs a folder: 7-Zip cannot unpack into it.
    RemoveTree(tool::kWorkDir);
    ASSERT_TRUE(CreateDirectoryA(tool::kWorkDir, nullptr));
    ASSERT_TRUE(WriteWholeFile("X:\\TovUSB\\Win7X64", "not a folder"));
    ToolSession& session = session_;
    SessionOptions options;
    options.keepWorkDir = true;
    ASSERT_TRUE(session.Start(options));
    const MessageBoxView box = session.WaitForBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.title, tool::kBoxTitle);
    EXPECT_EQ(box.text.rfind("程序初始化失败", 0), 0u) << box.text;
    EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(BoxIcon::kStop));
    EXPECT_EQ(FindTopLevelWindow(session.process().id(), tool::kMainTitle), nullptr);
    ASSERT_TRUE(session.Dismiss(box));
    DWORD code = 0xFFFF;
    ASSERT_TRUE(session.process().WaitForExit(15000, &code));
    EXPECT_EQ(code, 0u);
    RemoveTree(tool::kWorkDir);
}

}  // namespace
