// The requests through which control classes reach the window runtime.
#include "window/runtime_notify.h"

#include <windows.h>

#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/window/window_test_support_win32.h"
#include "window/controls/control_win32.h"

namespace {

using namespace window_test;

uintptr_t Notify(uint32_t request, uintptr_t a = 0, uintptr_t b = 0) {
    return RuntimeNotify(request, a, b);
}

void AnswerSeven(EventNotify& event) {
    event.Answer(7);
}

using RuntimeNotifyTest = WindowTest;

TEST_F(RuntimeNotifyTest, LoadFindRaiseAndDestroyThroughRequests) {
    EXPECT_EQ(Notify(kNotifyFindControl, kMainWindow, kMainButton2), 0u) << "not loaded: no object, no error";
    WindowLoadRequest load;
    load.windowId = kMainWindow;
    EXPECT_EQ(Notify(kNotifyLoadWindow, reinterpret_cast<uintptr_t>(&load)), 1u);
    HWND frame = FrameHwnd(kMainWindow);
    ASSERT_NE(frame, nullptr);

    auto* button = reinterpret_cast<Control*>(Notify(kNotifyFindControl, kMainWindow, kMainButton2));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->hwnd(), GetDlgItem(frame, 110));
    EXPECT_EQ(Notify(kNotifyGetControl, kMainWindow, kMainButton2), reinterpret_cast<uintptr_t>(button));
    auto* itself = reinterpret_cast<Control*>(Notify(kNotifyFindControl, kMainWindow, 0));
    ASSERT_NE(itself, nullptr);
    EXPECT_EQ(itself->hwnd(), frame);
    EXPECT_EQ(Notify(kNotifyFindControl, kMainWindow, kCustomButton3), 0u);

    const EventRoutine answering[] = {nullptr, nullptr, nullptr, AnswerSeven};
    SetRoutineTable(answering, 4);
    EventNotify click;
    click.window = kMainWindow;
    click.control = kMainButton2;
    EXPECT_EQ(Notify(kNotifyRaiseEvent, reinterpret_cast<uintptr_t>(&click)), 7u);
    EXPECT_EQ(click.resultPresent, 1u);

    Notify(kNotifyBuildingStarts);
    EXPECT_EQ(EventSuppression(), 1);
    EventNotify held = click;
    held.resultPresent = 0;
    EXPECT_EQ(Notify(kNotifyRaiseEvent, reinterpret_cast<uintptr_t>(&held)), 0u);
    EXPECT_EQ(held.resultPresent, 0u);
    Notify(kNotifyBuildingEnds);
    EXPECT_EQ(EventSuppression(), 0);

    load.windowId = 0x52999999;
    EXPECT_EQ(Notify(kNotifyLoadWindow, reinterpret_cast<uintptr_t>(&load)), 0u);
    DestroyWindow(frame);
    EXPECT_EQ(FindLoadedWindow(kMainWindow), nullptr) << "the teardown dropped the working copy";
}

TEST_F(RuntimeNotifyTest, MemoryRequests) {
    void* block = reinterpret_cast<void*>(Notify(kNotifyAllocate, 16, 0));
    ASSERT_NE(block, nullptr);
    std::memset(block, 'x', 16);
    block = reinterpret_cast<void*>(Notify(kNotifyReallocate, reinterpret_cast<uintptr_t>(block), 64));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<const char*>(block)[15], 'x');
    Notify(kNotifyFree, reinterpret_cast<uintptr_t>(block));
    // The non-fatal allocation answers null instead of ending the program.
    EXPECT_EQ(Notify(kNotifyAllocate, std::numeric_limits<uintptr_t>::max() - 64, 1), 0u);
    EXPECT_EQ(Notify(12345), 0u);
}

using RuntimeNotifyDeathTest = RuntimeNotifyTest;

TEST_F(RuntimeNotifyDeathTest, FatalRequests) {
    EXPECT_EXIT(Notify(kNotifyGetControl, kMainWindow, kMainButton2), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("指定窗口或窗口组件不存在或尚未载入"));
    EXPECT_EXIT(Notify(kNotifyFatalError, reinterpret_cast<uintptr_t>("坏了")), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("坏了"));
    EXPECT_EXIT(Notify(kNotifyExit, 3), testing::ExitedWithCode(3), "");
}

}  // namespace
