// Reading and writing properties of live controls, the status bar's part text, the radio group
// and the modal load of the custom-import window.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "runtime/fatal_error.h"
#include "runtime/owned.h"
#include "tests/support/test_support.h"
#include "tests/window/window_test_support_win32.h"
#include "window/common_properties.h"
#include "window/controls/status_bar_win32.h"
#include "window/load_window_command.h"
#include "window/property_access.h"
#include "window/window_loader.h"

namespace {

using namespace window_test;

int32_t ReadInt(uint32_t window, uint32_t control, int32_t number) {
    return ReadProperty(window, control, number).intValue;
}

std::string ReadText(uint32_t window, uint32_t control, int32_t number) {
    OwnedText text(const_cast<char*>(ReadProperty(window, control, number).text));
    return std::string(text.view());
}

void WriteInt(uint32_t window, uint32_t control, int32_t number, int32_t value) {
    WriteProperty(window, control, number, -1, TaggedValue::OfInt(value));
}

void WriteText(uint32_t window, uint32_t control, int32_t number, const char* value) {
    WriteProperty(window, control, number, -1, TaggedValue::OfText(value));
}

using WindowPropertiesTest = WindowTest;

WNDPROC g_radioProc = nullptr;

LRESULT CALLBACK IndeterminateRadio(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BM_GETCHECK)
        return BST_INDETERMINATE;
    return CallWindowProcA(g_radioProc, hwnd, message, wParam, lParam);
}

TEST_F(WindowPropertiesTest, GeometryWritesAreClampedAndReachTheWindow) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    HWND button = GetDlgItem(FrameHwnd(kMainWindow), 110);
    EXPECT_EQ(ReadInt(kMainWindow, kMainButton2, kPropertyLeft), 56);
    EXPECT_EQ(ReadInt(kMainWindow, kMainButton2, kPropertyTop), 32);
    EXPECT_EQ(ReadInt(kMainWindow, kMainButton2, kPropertyWidth), 320);
    EXPECT_EQ(ReadInt(kMainWindow, kMainButton2, kPropertyHeight), 32);

    struct Case {
        int32_t number;
        int32_t written;
        int32_t expected;
    };
    const Case cases[] = {
        {kPropertyWidth, 40000, 32627},  {kPropertyWidth, -5, 0},   {kPropertyWidth, 100, 100},
        {kPropertyHeight, 40000, 32627}, {kPropertyHeight, 20, 20}, {kPropertyLeft, 10, 10},
        {kPropertyTop, -40000, -32627},  {kPropertyTop, 12, 12},
    };
    for (const Case& c : cases) {
        WriteInt(kMainWindow, kMainButton2, c.number, c.written);
        const RECT r = PlacedRect(button);
        const int32_t live[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
        EXPECT_EQ(live[c.number], c.expected) << "property " << c.number << " written " << c.written;
        EXPECT_EQ(ReadInt(kMainWindow, kMainButton2, c.number), c.expected);
    }
    // Each write keeps the other coordinate and dimension as they are.
    const RECT r = PlacedRect(button);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 20);
}

TEST_F(WindowPropertiesTest, VisibleDisabledAndTagWrites) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    HWND frame = FrameHwnd(kMainWindow);
    HWND hidden = GetDlgItem(frame, 100);
    EXPECT_EQ(ReadInt(kMainWindow, kMainButton1, kPropertyVisible), 0);
    WriteInt(kMainWindow, kMainButton1, kPropertyVisible, 1);
    EXPECT_TRUE(IsWindowVisible(hidden));
    EXPECT_EQ(ReadInt(kMainWindow, kMainButton1, kPropertyVisible), 1);

    // Any non-zero value disables; reading answers 1.
    WriteInt(kMainWindow, kMainRadio1, kPropertyDisabled, 2);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, 140)));
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio1, kPropertyDisabled), 1);
    WriteInt(kMainWindow, kMainRadio1, kPropertyDisabled, 0);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(frame, 140)));
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio1, kPropertyDisabled), 0);

    EXPECT_EQ(ReadText(kMainWindow, kMainButton2, kPropertyTag), "");
    WriteText(kMainWindow, kMainButton2, kPropertyTag, "标记");
    EXPECT_EQ(ReadText(kMainWindow, kMainButton2, kPropertyTag), "标记");

    // The window itself, by its own identifier.
    WriteInt(kMainWindow, kMainItself, kPropertyVisible, 0);
    EXPECT_FALSE(IsWindowVisible(frame));
    WriteInt(kMainWindow, kMainItself, kPropertyVisible, 1);
    EXPECT_TRUE(IsWindowVisible(frame));
}

TEST_F(WindowPropertiesTest, ClassPropertiesOfButtonsEditBoxesAndRadioButtons) {
    ASSERT_TRUE(LoadWindow(kCustomWindow, false, nullptr));
    HWND custom = FrameHwnd(kCustomWindow);
    WriteText(kCustomWindow, kCustomButton3, 10, "正在导入");
    EXPECT_EQ(WindowText(GetDlgItem(custom, 160)), "正在导入");
    EXPECT_EQ(ReadText(kCustomWindow, kCustomButton3, 10), "正在导入");

    EXPECT_EQ(ReadText(kCustomWindow, kCustomEdit1, 8), "");
    WriteText(kCustomWindow, kCustomEdit1, 8, "D:\\Windows");
    EXPECT_EQ(WindowText(GetDlgItem(custom, 110)), "D:\\Windows");
    SetWindowTextA(GetDlgItem(custom, 110), "E:\\驱动");
    EXPECT_EQ(ReadText(kCustomWindow, kCustomEdit1, 8), "E:\\驱动") << "reads what the user typed";
    WriteProperty(kCustomWindow, kCustomEdit1, 8, -1, TaggedValue::OfText(nullptr));
    EXPECT_EQ(WindowText(GetDlgItem(custom, 110)), "") << "a null text clears the content";

    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    HWND main = FrameHwnd(kMainWindow);
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio1, 18), 1);
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio2, 18), 0);
    // Choosing one radio button clears the other: together they form the window's one group.
    SendMessageA(GetDlgItem(main, 150), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio1, 18), 0);
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio2, 18), 1);
    SendMessageA(GetDlgItem(main, 140), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio1, 18), 1);
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio2, 18), 0);
    // The indeterminate state does not count as selected. Windows keeps radio buttons out of it
    // (BM_SETCHECK caps the state at checked), so a subclass answers for the button.
    HWND radio = GetDlgItem(main, 140);
    g_radioProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(radio, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(IndeterminateRadio)));
    EXPECT_EQ(SendMessageA(radio, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(ReadInt(kMainWindow, kMainRadio1, 18), 0);
    SetWindowLongPtrA(radio, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_radioProc));
    EXPECT_TRUE(Calls().size() == 1 && Calls()[0].routine == 0) << "radio clicks are bound to nothing";
}

TEST_F(WindowPropertiesTest, StatusBarPartTextChangesOnlyExistingParts) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    HWND bar = GetDlgItem(FrameHwnd(kMainWindow), 160);
    auto text = [&](int part, int* style) {
        char buffer[256] = {};
        const LRESULT answer = SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(buffer));
        *style = HIWORD(answer);
        return std::string(buffer);
    };
    int style = -1;
    StatusBarSetPartText(kMainWindow, kMainStatusBar, 1, "无");
    StatusBarSetPartText(kMainWindow, kMainStatusBar, -1, "无");
    EXPECT_EQ(text(0, &style), "状态:等待操作,支持第八代英特尔主板                          Ver:2.1.0");
    StatusBarSetPartText(kMainWindow, kMainStatusBar, 0, "状态: 正在获取硬件信息,请稍候....");
    EXPECT_EQ(text(0, &style), "状态: 正在获取硬件信息,请稍候....");
    EXPECT_EQ(style, 0) << "keeps its sunken style";
    StatusBarSetPartText(kMainWindow, kMainStatusBar, 0, nullptr);
    EXPECT_EQ(text(0, &style), "");
}

// Runs inside the modal loop: records what the windows look like there, then closes the modal
// window the way its close box would.
struct ModalSeen {
    bool ran = false;
    bool mainEnabled = true;
    bool mainVisible = true;
    bool customVisible = false;
    bool customEnabled = false;
    HWND owner = nullptr;
};
ModalSeen g_seen;

void CALLBACK InsideModalLoop(HWND, UINT, UINT_PTR timer, DWORD) {
    // The timer can fire while the window is still being built: wait for its modal loop.
    HWND custom = FrameHwnd(kCustomWindow);
    LoadedWindow* loaded = FindLoadedWindow(kCustomWindow);
    if (custom == nullptr || loaded == nullptr || !loaded->modal || loaded->firstShowPending)
        return;
    KillTimer(nullptr, timer);
    g_seen.ran = true;
    g_seen.mainEnabled = IsWindowEnabled(FrameHwnd(kMainWindow)) != FALSE;
    g_seen.mainVisible = IsWindowVisible(FrameHwnd(kMainWindow)) != FALSE;
    g_seen.customVisible = IsWindowVisible(custom) != FALSE;
    g_seen.customEnabled = IsWindowEnabled(custom) != FALSE;
    g_seen.owner = GetWindow(custom, GW_OWNER);
    PostMessageA(custom, WM_SYSCOMMAND, SC_CLOSE, 0);
}

TEST_F(WindowPropertiesTest, ModalLoadDisablesTheMainWindowUntilTheModalWindowCloses) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    HWND main = FrameHwnd(kMainWindow);
    g_seen = {};
    // As the custom-import button does: hide the main window, load modal, show it again.
    WriteInt(kMainWindow, kMainItself, kPropertyVisible, 0);
    SetTimer(nullptr, 0, 10, InsideModalLoop);
    EXPECT_TRUE(LoadWindowCommand(kCustomWindow, std::nullopt, true));
    EXPECT_TRUE(g_seen.ran) << "the command returned before its modal loop ran";
    EXPECT_FALSE(g_seen.mainEnabled);
    EXPECT_FALSE(g_seen.mainVisible);
    EXPECT_TRUE(g_seen.customVisible);
    EXPECT_TRUE(g_seen.customEnabled);
    EXPECT_EQ(g_seen.owner, HiddenOwnerWindow());
    EXPECT_EQ(FindLoadedWindow(kCustomWindow), nullptr) << "destroyed before the command returned";
    EXPECT_TRUE(IsWindowEnabled(main)) << "enabled again before the program shows it";
    WriteInt(kMainWindow, kMainItself, kPropertyVisible, 1);
    EXPECT_TRUE(IsWindowVisible(main));

    // A second load starts again from the stored description.
    g_seen = {};
    SetTimer(nullptr, 0, 10, InsideModalLoop);
    EXPECT_TRUE(LoadWindowCommand(kCustomWindow, std::nullopt, true));
    EXPECT_TRUE(g_seen.ran);
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(WindowPropertiesTest, LoadWindowCommandRefusesWhatCannotBeLoaded) {
    EXPECT_FALSE(LoadWindowCommand(kCustomWindow, kMainWindow, false)) << "the parent is not loaded";
    EXPECT_FALSE(LoadWindowCommand(0x52999999, std::nullopt, false));
    EXPECT_EQ(LoadedWindowCount(), 0u);
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    EXPECT_TRUE(LoadWindowCommand(kCustomWindow, kMainWindow, false));
    HWND custom = FrameHwnd(kCustomWindow);
    EXPECT_EQ(GetWindow(custom, GW_OWNER), FrameHwnd(kMainWindow)) << "owned by its parent";
    EXPECT_TRUE(GetWindowLongA(custom, GWL_STYLE) & WS_POPUP);
    EXPECT_TRUE(IsWindowEnabled(FrameHwnd(kMainWindow))) << "not modal";
}

using WindowPropertiesDeathTest = WindowPropertiesTest;

TEST_F(WindowPropertiesDeathTest, FatalErrorsNameTheLoadedWindowAndControl) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    // The window record carries no name of its own; its controls do.
    EXPECT_EXIT(ReportFatalError("测试", 0, kMainWindow, static_cast<int32_t>(kMainButton2)),
                testing::ExitedWithCode(kFatalExitCode), FatalBoxContaining("\r\n\"\"\r\n\"按钮2\"\r\n"));
    EXPECT_EXIT(ReportFatalError("测试", 0, kMainWindow, 0x16999999), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("\r\n\"\"\r\n未找到所指定的窗口组件"));
    EXPECT_EXIT(ReportFatalError("测试", 0, kCustomWindow, 0), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("\r\n未找到所指定的窗口\r\n"));
}

TEST_F(WindowPropertiesDeathTest, AccessToWindowsThatAreNotLoadedIsFatal) {
    EXPECT_EXIT(ReadProperty(kCustomWindow, kCustomButton3, 10), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("未载入欲访问窗口组件所在的窗口"));
    EXPECT_EXIT(WriteInt(kCustomWindow, kCustomButton3, kPropertyDisabled, 1), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("未载入欲访问窗口组件所在的窗口"));
    EXPECT_EXIT(StatusBarSetPartText(kMainWindow, kMainStatusBar, 0, "x"), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("指定窗口或窗口组件不存在或尚未载入"));
}

}  // namespace
