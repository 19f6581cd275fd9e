// The fuzzy import (every package of the target's architecture) and the custom import from the
// second window, as a user runs them.
#include <gtest/gtest.h>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/folder_dialog.h"
#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"

namespace {

using FuzzyImportScenario = ToolScenario;

TEST_F(FuzzyImportScenario, InjectsTheWholeArchitectureFolderWithoutLogs) {
    StartTool();
    ASSERT_TRUE(Click(session_.MainControl(tool::kRadio2)));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(session_.MainControl(tool::kRadio2)) == BST_CHECKED; }, 5000));
    EXPECT_EQ(CheckState(session_.MainControl(tool::kRadio1)), BST_UNCHECKED);
    struct TargetCase {
        const char* root;
        bool is64Bit;
    };
    const TargetCase targets[] = {{kWin7x64Root, true}, {kWin7x86Root, false}};
    for (size_t i = 0; i < 2; ++i) {
        const TargetCase& target = targets[i];
        SCOPED_TRACE(target.root);
        session_.HoldDism(true);
        ChooseTarget(target.root);
        ASSERT_TRUE(session_.WaitForHeldRuns(i + 1, 30000));
        EXPECT_EQ(session_.Status(), "状态: 正在模糊导入驱动,请稍候...");
        ExpectAllControlsEnabled(false);
        session_.HoldDism(false);
        const MessageBoxView box = ExpectBox("模糊导入驱动完成！", BoxIcon::kInformation);
        EXPECT_EQ(session_.Status(), "状态: 模糊导入驱动完成！");
        ExpectAllControlsEnabled(true);
        const std::vector<DismRun> runs = session_.DismRuns();
        ASSERT_EQ(runs.size(), i + 1);
        EXPECT_EQ(runs[i].commandLine, kDismPath + std::string(" ") + FuzzyParameters(target.root, target.is64Bit));
        EXPECT_EQ(runs[i].exitCode, 0u) << runs[i].output;
        EXPECT_EQ(RecordedPackages(target.root), ArchitecturePackages(target.is64Bit));
        // No survey and no DISM log.
        EXPECT_FALSE(PathExists("X:\\TovUSB\\hwids.log"));
        EXPECT_FALSE(PathExists("X:\\TovUSB\\USB.log"));
        DismissBox(box);
    }
    // The choice of import stays as the user left it.
    EXPECT_EQ(CheckState(session_.MainControl(tool::kRadio2)), BST_CHECKED);
    CloseAndExpectCleanExit();
}

TEST_F(FuzzyImportScenario, ReportsAFailingDismWithItsExitCode) {
    StartTool();
    ASSERT_TRUE(Click(session_.MainControl(tool::kRadio2)));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(session_.MainControl(tool::kRadio2)) == BST_CHECKED; }, 5000));
    ChooseTarget(kBrokenWin7Root);
    const MessageBoxView box = session_.WaitForBox();
    ASSERT_NE(box.window, nullptr);
    const std::vector<DismRun> runs = session_.DismRuns();
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_NE(runs[0].exitCode, 0u) << runs[0].output;
    EXPECT_EQ(box.text.rfind("模糊导入驱动失败", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(std::to_string(runs[0].exitCode)), std::string::npos) << box.text;
    EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(BoxIcon::kStop));
    ExpectAllControlsEnabled(true);
    DismissBox(box);
    CloseAndExpectCleanExit();
}

class CustomImportScenario : public ToolScenario {
  protected:
    // Opens the custom-import window from the main window, which hides meanwhile.
    void OpenCustomWindow() {
        ASSERT_TRUE(Click(session_.MainControl(tool::kButton3)));
        custom_ = WaitForTopLevelWindow(session_.process().id(), tool::kCustomTitle, 15000);
        ASSERT_NE(custom_, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(session_.main()); }, 5000));
    }
    HWND Custom(int number) const { return Control(custom_, number); }
    void Browse(int button, const std::string& folder, const char* prompt) {
        std::string shown;
        ASSERT_TRUE(session_.ClickAndChooseFolder(Custom(button), folder, &shown));
        EXPECT_EQ(shown, prompt);
    }
    // Closes the custom-import window; the main window comes back unchanged.
    void CloseCustomWindow() {
        ASSERT_TRUE(PressCloseBox(custom_));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(custom_); }, 10000));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(session_.main()) != FALSE; }, 5000));
    }

    HWND custom_ = nullptr;
};

TEST_F(CustomImportScenario, ChecksItsInputsInOrderThenInjectsTheFolder) {
    StartTool();
    OpenCustomWindow();
    struct ControlCase {
        int number;
        const char* text;
    };
    const ControlCase controls[] = {
        {tool::kCustomLabel1, "请选择目标系统的Windows目录:"},
        {tool::kCustomEdit1, ""},
        {tool::kCustomBrowse1, "浏  览"},
        {tool::kCustomLabel2, "请选择驱动所在目录:"},
        {tool::kCustomEdit2, ""},
        {tool::kCustomBrowse2, "浏  览"},
        {tool::kCustomStart, "开始导入"},
    };
    for (const ControlCase& c : controls) {
        EXPECT_EQ(TextOf(Custom(c.number)), c.text) << c.number;
        EXPECT_TRUE(IsShown(Custom(c.number))) << c.number;
    }

    // The three checks, each stopping the flow with its own box.
    struct CheckCase {
        const char* target;
        const char* folder;
        const char* message;
    };
    const CheckCase checks[] = {
        {"", "", "请选择目标系统的Windows目录！"},
        {"D:\\Windows", "", "请选择驱动所在目录！"},
        {"G:\\Documents", "G:\\drivers\\custom_usb", "请选择正确的Windows系统！"},
    };
    for (const CheckCase& c : checks) {
        SCOPED_TRACE(c.message);
        ASSERT_TRUE(TypeText(Custom(tool::kCustomEdit1), c.target));
        ASSERT_TRUE(TypeText(Custom(tool::kCustomEdit2), c.folder));
        ASSERT_TRUE(Click(Custom(tool::kCustomStart)));
        const MessageBoxView box = ExpectBox(c.message, BoxIcon::kExclamation);
        EXPECT_EQ(TextOf(Custom(tool::kCustomStart)), "开始导入");
        EXPECT_TRUE(IsEnabled(Custom(tool::kCustomStart)));
        DismissBox(box);
    }
    EXPECT_TRUE(session_.DismRuns().empty());

    // The browse buttons fill the edit boxes; a cancelled dialog leaves them as they were.
    Browse(tool::kCustomBrowse1, "D:\\Windows", "请选择目标系统目录:");
    EXPECT_EQ(TextOf(Custom(tool::kCustomEdit1)), "D:\\Windows");
    Browse(tool::kCustomBrowse2, std::string(), "请选择驱动所在目录:");
    EXPECT_EQ(TextOf(Custom(tool::kCustomEdit2)), "G:\\drivers\\custom_usb");
    Browse(tool::kCustomBrowse2, kSpacedDrivers, "请选择驱动所在目录:");
    EXPECT_EQ(TextOf(Custom(tool::kCustomEdit2)), kSpacedDrivers);

    // The run: the start button is busy, the window refuses to close, DISM gets the texts.
    session_.HoldDism(true);
    ASSERT_TRUE(Click(Custom(tool::kCustomStart)));
    ASSERT_TRUE(session_.WaitForHeldRuns(1, 30000));
    EXPECT_EQ(TextOf(Custom(tool::kCustomStart)), "正在导入");
    EXPECT_FALSE(IsEnabled(Custom(tool::kCustomStart)));
    ASSERT_TRUE(PressCloseBox(custom_));
    ASSERT_TRUE(WaitForThreadToCatchUp(custom_)) << "the tool does not answer";
    EXPECT_TRUE(IsWindow(custom_));
    session_.HoldDism(false);
    const MessageBoxView done = ExpectBox("模糊导入驱动完成！", BoxIcon::kInformation);
    EXPECT_EQ(TextOf(Custom(tool::kCustomStart)), "开始导入");
    EXPECT_TRUE(IsEnabled(Custom(tool::kCustomStart)));
    const std::vector<DismRun> runs = session_.DismRuns();
    ASSERT_EQ(runs.size(), 1u);
    // DISM takes the image by the root that holds the Windows directory that the user named.
    EXPECT_EQ(runs[0].commandLine, kDismPath + std::string(" ") + CustomParameters("D:\\", "\"H:\\My Drivers\""));
    EXPECT_EQ(runs[0].exitCode, 0u) << runs[0].output;
    // The packages reach the installation whose Windows directory was named.
    EXPECT_EQ(RecordedPackages(kWin7x64Root), (std::vector<std::string>{"vendor_one.inf", "vendor_two.inf"}));
    EXPECT_FALSE(PathExists("X:\\TovUSB\\USB.log"));
    DismissBox(done);
    // The edit boxes keep their texts.
    EXPECT_EQ(TextOf(Custom(tool::kCustomEdit1)), "D:\\Windows");

    const std::string status = session_.Status();
    CloseCustomWindow();
    EXPECT_EQ(session_.Status(), status);
    ExpectAllControlsEnabled(true);
    CloseAndExpectCleanExit();
}

TEST_F(CustomImportScenario, ReportsAFailingDismWithItsExitCodeAndOpensAfresh) {
    StartTool();
    OpenCustomWindow();
    ASSERT_TRUE(TypeText(Custom(tool::kCustomEdit1), "E:\\Windows"));
    ASSERT_TRUE(TypeText(Custom(tool::kCustomEdit2), "G:\\no such folder"));
    ASSERT_TRUE(Click(Custom(tool::kCustomStart)));
    const MessageBoxView box = session_.WaitForBox();
    ASSERT_NE(box.window, nullptr);
    const std::vector<DismRun> runs = session_.DismRuns();
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_NE(runs[0].exitCode, 0u) << runs[0].output;
    EXPECT_EQ(box.text.rfind("自定义导入驱动失败", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(std::to_string(runs[0].exitCode)), std::string::npos) << box.text;
    EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(BoxIcon::kStop));
    EXPECT_EQ(TextOf(Custom(tool::kCustomStart)), "开始导入");
    EXPECT_TRUE(IsEnabled(Custom(tool::kCustomStart)));
    DismissBox(box);
    CloseCustomWindow();
    // Every opening starts from the stored description: empty boxes. Esc closes the window.
    OpenCustomWindow();
    EXPECT_EQ(TextOf(Custom(tool::kCustomEdit1)), "");
    EXPECT_EQ(TextOf(Custom(tool::kCustomEdit2)), "");
    ASSERT_TRUE(PressKey(custom_, VK_ESCAPE));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(custom_); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(session_.main()) != FALSE; }, 5000));
    CloseAndExpectCleanExit();
}

}  // namespace
