// The keys a loaded window handles itself: Tab and Shift+Tab over its controls, Esc closing it.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "tests/window/window_test_support_win32.h"
#include "window/window_loader.h"

namespace {

using namespace window_test;

// Queues a key press for the focused window, as the keyboard would, and lets the runtime's pump
// handle it.
void PressKey(WPARAM key, bool shift = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
    Pump();
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

std::vector<int> TabWalk(HWND frame, int start, size_t steps, bool shift) {
    SetFocus(GetDlgItem(frame, start));
    std::vector<int> visited = {GetDlgCtrlID(GetFocus())};
    for (size_t i = 0; i < steps; ++i) {
        PressKey(VK_TAB, shift);
        visited.push_back(GetDlgCtrlID(GetFocus()));
    }
    return visited;
}

using WindowKeyboardTest = WindowTest;

TEST_F(WindowKeyboardTest, TabWalksTheVisibleTabStopsInCreationOrderAndWraps) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    HWND main = FrameHwnd(kMainWindow);
    // 按钮2 110, 按钮3 120, 单选框1 140, 单选框2 150; 按钮1 is hidden, label and status bar no stops.
    EXPECT_EQ(TabWalk(main, 110, 5, false), (std::vector<int>{110, 120, 140, 150, 110, 120}));
    EXPECT_EQ(TabWalk(main, 110, 5, true), (std::vector<int>{110, 150, 140, 120, 110, 150}));

    // A disabled control drops out of the walk, and comes back when enabled.
    EnableWindow(GetDlgItem(main, 120), FALSE);
    EXPECT_EQ(TabWalk(main, 110, 2, false), (std::vector<int>{110, 140, 150}));
    EnableWindow(GetDlgItem(main, 120), TRUE);

    ASSERT_TRUE(LoadWindow(kCustomWindow, false, nullptr));
    HWND custom = FrameHwnd(kCustomWindow);
    // 编辑框1 110, 按钮1 120, 编辑框2 140, 按钮2 150, 按钮3 160.
    EXPECT_EQ(TabWalk(custom, 110, 5, false), (std::vector<int>{110, 120, 140, 150, 160, 110}));
    EXPECT_EQ(Calls().size(), 1u) << "only the main window's created event is bound; focus events are not";
}

TEST_F(WindowKeyboardTest, EscClosesEitherWindowAndTheMainWindowRaisesItsDestroyedEvent) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    ASSERT_TRUE(LoadWindow(kCustomWindow, false, nullptr));
    HWND custom = FrameHwnd(kCustomWindow);
    // From an edit box, which does not claim the key.
    SetFocus(GetDlgItem(custom, 110));
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(custom));
    EXPECT_EQ(FindLoadedWindow(kCustomWindow), nullptr);

    HWND main = FrameHwnd(kMainWindow);
    SetFocus(GetDlgItem(main, 140));
    Calls().clear();
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(main));
    ASSERT_EQ(CallsOf(1), 1u) << "RemoveWorkDirectory";
    EXPECT_EQ(Calls()[0].control, kMainItself);
    EXPECT_EQ(LoadedWindowCount(), 0u);
}

TEST_F(WindowKeyboardTest, EnterDoesNotMoveTheFocus) {
    ASSERT_TRUE(LoadWindow(kCustomWindow, false, nullptr));
    HWND custom = FrameHwnd(kCustomWindow);
    SetFocus(GetDlgItem(custom, 110));
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), GetDlgItem(custom, 110));
    EXPECT_TRUE(IsWindow(custom));
}

}  // namespace
