// The driver's own proof: it reads and operates windows of another process that are known in
// advance (bin/e2e/driver_target.exe), so that a scenario's verdict is the tool's, not the
// driver's.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/folder_dialog.h"
#include "tests/e2e/driver/message_box.h"
#include "tests/e2e/driver/process_under_test.h"
#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_session.h"
#include "tests/e2e/fixtures/driver_target_ids.h"

namespace {

constexpr DWORD kAppear = 15000;

std::string TargetProgram() {
    return E2EBinFolder() + "driver_target.exe";
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class DriverFormTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(target_.Start(TargetProgram(), "form"));
        form_ = WaitForTopLevelWindow(target_.id(), kTargetFormTitle, kAppear);
        ASSERT_NE(form_, nullptr) << "the form did not appear";
    }

    std::string Status(int part) { return StatusPartText(target_.handle(), Control(form_, kTargetStatusBar), part); }

    ProcessUnderTest target_;
    HWND form_ = nullptr;
};

TEST_F(DriverFormTest, ReadsTextsStatesChecksAndStatusParts) {
    EXPECT_EQ(FindTopLevelWindow(target_.id(), kTargetFormTitle, "TovE2EDriverTarget"), form_);
    EXPECT_EQ(FindTopLevelWindow(target_.id(), kTargetFormTitle, "#32770"), nullptr);
    struct ControlCase {
        int number;
        const char* text;
        bool shown;
        bool enabled;
        int check;  // -1: not asked
    };
    const ControlCase cases[] = {
        {kTargetHiddenButton, kTargetHiddenCaption, false, true, -1},
        {kTargetButton, kTargetButtonCaption, true, true, -1},
        {kTargetDisabledButton, kTargetDisabledCaption, true, false, -1},
        {kTargetRadio1, kTargetRadio1Caption, true, true, BST_CHECKED},
        {kTargetRadio2, kTargetRadio2Caption, true, true, BST_UNCHECKED},
        {kTargetEdit, "", true, true, -1},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.number);
        HWND control = Control(form_, c.number);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(TextOf(control), c.text);
        EXPECT_EQ(IsShown(control), c.shown);
        EXPECT_EQ(IsEnabled(control), c.enabled);
        if (c.check >= 0) {
            EXPECT_EQ(CheckState(control), c.check);
        }
    }
    EXPECT_EQ(Control(form_, 999), nullptr);
    const std::string initial = Status(0);
    EXPECT_EQ(initial, kTargetInitialStatus);
    EXPECT_EQ(initial.size(), 69u);
    EXPECT_EQ(Status(1), kTargetSecondPart);
}

TEST_F(DriverFormTest, ClicksTypesAndClosesOnlyWhenTheWindowAgrees) {
    ASSERT_TRUE(Click(Control(form_, kTargetButton)));
    EXPECT_TRUE(WaitUntil([&] { return Status(0) == "状态: 已点击 1 次"; }, kAppear)) << Status(0);
    ASSERT_TRUE(Click(Control(form_, kTargetButton)));
    EXPECT_TRUE(WaitUntil([&] { return Status(0) == "状态: 已点击 2 次"; }, kAppear)) << Status(0);
    // Neither a disabled nor a hidden control takes a click.
    EXPECT_FALSE(Click(Control(form_, kTargetDisabledButton)));
    EXPECT_FALSE(Click(Control(form_, kTargetHiddenButton)));

    ASSERT_TRUE(Click(Control(form_, kTargetRadio2)));
    EXPECT_TRUE(WaitUntil([&] { return CheckState(Control(form_, kTargetRadio2)) == BST_CHECKED; }, kAppear));
    EXPECT_EQ(CheckState(Control(form_, kTargetRadio1)), BST_UNCHECKED);

    HWND edit = Control(form_, kTargetEdit);
    ASSERT_TRUE(TypeText(edit, "D:\\中文 路径"));
    EXPECT_EQ(TextOf(edit), "D:\\中文 路径");
    ASSERT_TRUE(TypeText(edit, kTargetBusyText));
    ASSERT_TRUE(PressCloseBox(form_));
    ASSERT_TRUE(WaitForThreadToCatchUp(form_)) << "the window does not answer";
    EXPECT_TRUE(target_.Running());
    EXPECT_TRUE(IsWindow(form_));

    ASSERT_TRUE(TypeText(edit, "idle"));
    ASSERT_TRUE(PressCloseBox(form_));
    DWORD code = 0;
    ASSERT_TRUE(target_.WaitForExit(kAppear, &code));
    EXPECT_EQ(code, static_cast<DWORD>(kTargetFormExitCode));
}

TEST(DriverMessageBoxTest, ReadsTitleTextAndIconOfEachKind) {
    struct BoxCase {
        UINT style;
        int text;
        BoxIcon icon;
    };
    const BoxCase cases[] = {
        {MB_OK | MB_ICONHAND, 2, BoxIcon::kStop},
        {MB_OK | MB_ICONEXCLAMATION, 1, BoxIcon::kExclamation},
        {MB_OK | MB_ICONASTERISK, 0, BoxIcon::kInformation},
        {MB_OK, 1, BoxIcon::kNone},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.style);
        ProcessUnderTest target;
        ASSERT_TRUE(target.Start(TargetProgram(), "box " + std::to_string(c.style) + " " + std::to_string(c.text)));
        HWND box = WaitForMessageBox(target.id(), kAppear);
        ASSERT_NE(box, nullptr);
        const MessageBoxView view = ReadMessageBox(box);
        EXPECT_EQ(view.title, kTargetBoxTitle);
        EXPECT_EQ(view.text, kTargetBoxTexts[c.text]);
        EXPECT_STREQ(BoxIconName(view.icon), BoxIconName(c.icon));
        EXPECT_EQ(view.buttons.size(), 1u);
        ASSERT_TRUE(DismissMessageBox(box));
        DWORD code = 0;
        ASSERT_TRUE(target.WaitForExit(kAppear, &code));
        EXPECT_EQ(code, static_cast<DWORD>(IDOK));
    }
}

TEST(DriverFolderDialogTest, NormalisesPaths) {
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\", "D:\\"},
        {"D:", "D:\\"},
        {"D:\\\\", "D:\\"},
        {"X:\\TovUSB\\\\Win7X64\\", "X:\\TovUSB\\Win7X64"},
        {"C:/windows//system32/", "C:\\windows\\system32"},
        {"H:\\Offline Win7", "H:\\Offline Win7"},
        // The second byte of 乗 (81 5C) is no separator: nothing to collapse or drop.
        {"C:\\\x81\x5C\\", "C:\\\x81\x5C"},
        {"C:\\\x81\x5C", "C:\\\x81\x5C"},
        {"C:\\\x81\x5C\\\\x", "C:\\\x81\x5C\\x"},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(NormaliseFolderPath(given), expected) << given;
}

TEST(DriverFolderDialogTest, ASelectionShowsTheFolderOnlyWhenEveryPartIsTheRightItem) {
    const std::vector<std::string> windows = {"Windows", "Local Disk (D:)", "My Computer", "Desktop"};
    EXPECT_TRUE(ChainShowsFolder(windows, "D:\\Windows"));
    EXPECT_TRUE(ChainShowsFolder(windows, "d:\\windows\\"));
    EXPECT_FALSE(ChainShowsFolder(windows, "E:\\Windows"));
    EXPECT_FALSE(ChainShowsFolder(windows, "D:\\Windows\\system32"));
    EXPECT_FALSE(ChainShowsFolder(windows, "D:\\"));
    const std::vector<std::string> drive = {"(D:)", "My Computer", "Desktop"};
    EXPECT_TRUE(ChainShowsFolder(drive, "D:\\"));
    EXPECT_TRUE(ChainShowsFolder(drive, "D:"));
    EXPECT_FALSE(ChainShowsFolder(drive, "D:\\Windows"));
    // The desktop, where an early selection falls back to, is none of them.
    EXPECT_FALSE(ChainShowsFolder({"Desktop"}, "D:\\"));
    EXPECT_FALSE(ChainShowsFolder({}, "D:\\"));
    // A GBK name whose second byte is a backslash stays one part.
    EXPECT_TRUE(ChainShowsFolder({"\x81\x5C", "(C:)", "Desktop"}, "C:\\\x81\x5C"));
}

TEST(DriverFolderDialogTest, ChoosesAFolderOrCancels) {
    const std::string scratch = E2EScratchFolder();
    struct DialogCase {
        std::string sent;  // empty: cancel
        std::string expected;
    };
    const DialogCase cases[] = {
        {"C:\\windows\\\\system32\\", "C:\\windows\\system32"},
        {"H:\\Offline Win7\\", "H:\\Offline Win7"},
        {"G:\\Documents", "G:\\Documents"},
        {"C:\\", "C:\\"},
        {"", ""},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.sent);
        const std::string result = scratch + "browse-result.txt";
        DeleteFileA(result.c_str());
        ProcessUnderTest target;
        ASSERT_TRUE(target.Start(TargetProgram(), "browse \"" + result + "\""));
        HWND dialog = WaitForFolderDialog(target.id(), kAppear);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(FolderDialogPrompt(dialog), kTargetBrowsePrompt);
        if (c.sent.empty()) {
            ASSERT_TRUE(CancelFolderDialog(dialog));
        } else {
            ASSERT_TRUE(SelectFolderAndConfirmShown(target.handle(), dialog, c.sent))
                << "the dialog shows: " << SelectedFolderItemText(target.handle(), dialog);
            ASSERT_TRUE(ConfirmFolderDialog(dialog));
        }
        DWORD code = 0;
        ASSERT_TRUE(target.WaitForExit(kAppear, &code));
        EXPECT_EQ(code, c.sent.empty() ? 1u : 0u);
        EXPECT_EQ(ReadFileBytes(result), c.expected);
    }
}

}  // namespace
