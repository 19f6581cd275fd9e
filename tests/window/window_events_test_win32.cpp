// Window and control events on a window built from a form made here: the focus event of a
// control, and close requests that a routine may refuse.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/window/window_test_support_win32.h"
#include "window/window_loader.h"

namespace {

using namespace window_test;

constexpr uint32_t kWindow = 0x52000042;
constexpr uint32_t kItself = 0x06000042;
constexpr uint32_t kFirst = 0x16000001;
constexpr uint32_t kSecond = 0x16000002;

const uint8_t kNames[] = "\0One\0Two";
const uint8_t kTitle[] = "Events";

// A visible window with two buttons. The first reports its focus (-7) to routine 0 and its click
// to routine 1; the window asks routine 2 on a close request (12) and routine 3 on close (1).
FormDescription EventForm() {
    WindowRecord window;
    window.id = kWindow;
    window.controls.resize(3);
    ControlRecord& itself = window.controls[0];
    itself.id = kItself;
    itself.cls = ControlClass::kWindow;
    itself.name = FormBytes(kNames, 0);
    itself.left = 10;
    itself.top = 10;
    itself.width = 300;
    itself.height = 200;
    itself.flags = kControlVisible;
    WindowProperties settings;
    settings.escCloses = 1;
    settings.title = FormBytes(kTitle, sizeof kTitle - 1);
    itself.properties = settings;
    itself.events = {{12, 2}, {1, 3}};
    const uint32_t ids[] = {kFirst, kSecond};
    for (size_t i = 1; i <= 2; ++i) {
        ControlRecord& button = window.controls[i];
        button.id = ids[i - 1];
        button.cls = ControlClass::kButton;
        button.name = FormBytes(kNames + (i == 1 ? 1 : 5), 3);
        button.left = 10;
        button.top = 10 + 40 * static_cast<int32_t>(i);
        button.width = 100;
        button.height = 30;
        button.flags = kControlVisible | kControlTabStop;
        button.properties = ButtonProperties();
    }
    window.controls[1].events = {{-7, 0}, {0, 1}};
    FormDescription form;
    form.windows.push_back(window);
    return form;
}

void RefuseClose(EventNotify& event) {
    RecordCall<2>(event);
    event.Answer(0);
}

void AllowClose(EventNotify& event) {
    RecordCall<3>(event);
    event.Answer(1);
}

class WindowEventsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        SetFormWindows(EventForm());
    }
    void TearDown() override {
        WindowTest::TearDown();
        SetFormWindows(ReadFormDescription(ProgramFormDescription(), kFormRoutineCount).form);
    }
};

TEST_F(WindowEventsTest, FocusAndClickEventsCarryTheControlAsSource) {
    ASSERT_TRUE(LoadWindow(kWindow, false, nullptr));
    HWND frame = FrameHwnd(kWindow);
    SetFocus(GetDlgItem(frame, 100));  // 'Two', created first
    Calls().clear();
    SetFocus(GetDlgItem(frame, 110));  // 'One'
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].routine, 0u);
    EXPECT_EQ(Calls()[0].control, kFirst);
    EXPECT_EQ(Calls()[0].event, -7);
    SendMessageA(GetDlgItem(frame, 110), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(CallsOf(1), 1u);
    SetFocus(GetDlgItem(frame, 100));
    EXPECT_EQ(CallsOf(0), 1u) << "the second button binds no focus event";
}

TEST_F(WindowEventsTest, ARoutineAnsweringFalseKeepsTheWindowOpen) {
    const EventRoutine refusing[] = {RecordCall<0>, RecordCall<1>, RefuseClose, AllowClose};
    SetRoutineTable(refusing, 4);
    ASSERT_TRUE(LoadWindow(kWindow, false, nullptr));
    HWND frame = FrameHwnd(kWindow);
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(CallsOf(2), 1u);
    EXPECT_EQ(CallsOf(3), 0u) << "a refused close request stops before the close event";

    const EventRoutine allowing[] = {RecordCall<0>, RecordCall<1>, AllowClose, AllowClose};
    SetRoutineTable(allowing, 4);
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(FindLoadedWindow(kWindow), nullptr);
    EXPECT_EQ(CallsOf(3), 2u);
}

}  // namespace
