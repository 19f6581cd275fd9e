// Raising control events: bindings of the stored windows, suppression, answers, shared-event
// links and the fatal errors of events that name nothing loaded.
#include "window/event_dispatch.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "app/ui/form_routines.h"
#include "tests/support/test_support.h"
#include "window/form_blob.h"
#include "window/form_description.h"
#include "window/window_list.h"

namespace {

constexpr uint32_t kMainWindow = 0x52010001;
constexpr uint32_t kMainItself = 0x06010000;
constexpr uint32_t kMainButton1 = 0x160125F0;
constexpr uint32_t kMainButton2 = 0x160125F1;
constexpr uint32_t kMainButton3 = 0x160125F2;
constexpr uint32_t kMainRadio1 = 0x160125F5;
constexpr uint32_t kCustomWindow = 0x5201268A;
constexpr uint32_t kCustomButton3 = 0x16012691;

struct Call {
    uint32_t routine;
    uint32_t window;
    uint32_t control;
    int32_t event;
};
std::vector<Call> g_calls;

template <uint32_t Routine>
void Record(EventNotify& event) {
    const EventSource source = CurrentEventSource();
    g_calls.push_back({Routine, source.window, source.control, event.event});
}

void AnswerZero(EventNotify& event) {
    event.Answer(0);
}

const EventRoutine kRecorders[] = {Record<0>, Record<1>, Record<2>, Record<3>, Record<4>, Record<5>, Record<6>};

class EventDispatchTest : public testing::Test {
  protected:
    void SetUp() override {
        const FormReadResult read = ReadFormDescription(ProgramFormDescription(), kFormRoutineCount);
        ASSERT_TRUE(read.ok) << read.error;
        SetFormWindows(read.form);
        SetRoutineTable(kRecorders, 7);
        g_calls.clear();
        while (EventSuppression() > 0)
            LowerEventSuppression();
    }
    void TearDown() override {
        SetFormWindows({});
        SetRoutineTable(nullptr, 0);
    }
};

TEST_F(EventDispatchTest, StoredBindingsReachTheirRoutinesWithTheEventSource) {
    ASSERT_NE(AddLoadedWindow(kMainWindow), nullptr);
    ASSERT_NE(AddLoadedWindow(kCustomWindow), nullptr);
    struct Case {
        uint32_t window;
        uint32_t control;
        int32_t event;
        int32_t routine;  // -1: nothing is called
    };
    const Case cases[] = {
        {kMainWindow, kMainItself, 0, 0},     // created -> StartupSequence
        {kMainWindow, 0, 0, 0},               // control 0 is the window itself
        {kMainWindow, kMainItself, 2, 1},     // destroyed -> RemoveWorkDirectory
        {kMainWindow, kMainItself, 1, -1},    // close: not bound
        {kMainWindow, kMainItself, -7, -1},   // focus: not bound
        {kMainWindow, kMainButton3, 0, 2},    // -> OpenCustomImportWindow
        {kMainWindow, kMainButton2, 0, 3},    // -> StartTargetInjection
        {kMainWindow, kMainButton2, -7, -1},  // only the click is bound
        {kMainWindow, kMainButton1, 0, -1},   // hidden button without binding
        {kMainWindow, kMainRadio1, 0, -1},
        {kCustomWindow, kCustomButton3, 0, 4},  // -> RunCustomImport
        {kCustomWindow, 0x1601268D, 0, 5},      // 按钮1 -> BrowseTargetDirectory
        {kCustomWindow, 0x1601268E, 0, 6},      // 按钮2 -> BrowseDriverFolder
        {kCustomWindow, 0x06012689, 0, -1},     // the custom window binds nothing
    };
    for (const Case& c : cases) {
        g_calls.clear();
        EXPECT_FALSE(RaiseSimpleEvent(c.window, c.control, c.event));
        if (c.routine < 0) {
            EXPECT_TRUE(g_calls.empty()) << std::hex << c.control << " event " << std::dec << c.event;
            continue;
        }
        ASSERT_EQ(g_calls.size(), 1u) << std::hex << c.control << " event " << std::dec << c.event;
        EXPECT_EQ(g_calls[0].routine, static_cast<uint32_t>(c.routine));
        EXPECT_EQ(g_calls[0].window, c.window);
        EXPECT_EQ(g_calls[0].control, c.control);
        EXPECT_EQ(g_calls[0].event, c.event);
    }
    EXPECT_EQ(CurrentEventSource().window, 0u) << "the source is cleared after the routine";
}

TEST_F(EventDispatchTest, SuppressionHoldsBackEveryEventUntilLowered) {
    ASSERT_NE(AddLoadedWindow(kMainWindow), nullptr);
    RaiseEventSuppression();
    RaiseEventSuppression();
    RaiseSimpleEvent(kMainWindow, kMainButton2, 0);
    LowerEventSuppression();
    RaiseSimpleEvent(kMainWindow, kMainButton2, 0);
    EXPECT_TRUE(g_calls.empty());
    LowerEventSuppression();
    LowerEventSuppression();  // never below 0
    EXPECT_EQ(EventSuppression(), 0);
    RaiseSimpleEvent(kMainWindow, kMainButton2, 0);
    EXPECT_EQ(g_calls.size(), 1u);
}

TEST_F(EventDispatchTest, ShortTablesNullEntriesAndDestroyingWindowsCallNothing) {
    ASSERT_NE(AddLoadedWindow(kMainWindow), nullptr);
    SetRoutineTable(kRecorders, 3);
    RaiseSimpleEvent(kMainWindow, kMainButton2, 0);  // routine 3 is beyond the table
    const EventRoutine withHole[] = {Record<0>, Record<1>, Record<2>, nullptr};
    SetRoutineTable(withHole, 4);
    RaiseSimpleEvent(kMainWindow, kMainButton2, 0);
    EXPECT_TRUE(g_calls.empty());

    SetRoutineTable(kRecorders, 7);
    FindLoadedWindow(kMainWindow)->destroying = true;
    RaiseSimpleEvent(kMainWindow, kMainButton2, 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(EventDispatchTest, AnAnsweringRoutineHandsBackItsAnswer) {
    ASSERT_NE(AddLoadedWindow(kMainWindow), nullptr);
    const EventRoutine answering[] = {AnswerZero, Record<1>};
    SetRoutineTable(answering, 2);
    uint32_t answer = 7;
    EXPECT_TRUE(RaiseSimpleEvent(kMainWindow, kMainItself, 0, &answer));
    EXPECT_EQ(answer, 0u);
    EXPECT_FALSE(RaiseSimpleEvent(kMainWindow, kMainItself, 2, &answer));
}

// A routine that raises a further event (as routines that pump messages do) sees its own source
// again afterwards.
void RaiseNested(EventNotify&) {
    RaiseSimpleEvent(kMainWindow, kMainButton2, 0);
    const EventSource source = CurrentEventSource();
    g_calls.push_back({99, source.window, source.control, 0});
}

TEST_F(EventDispatchTest, NestedEventsRestoreTheOuterSource) {
    ASSERT_NE(AddLoadedWindow(kMainWindow), nullptr);
    const EventRoutine nested[] = {RaiseNested, Record<1>, Record<2>, Record<3>};
    SetRoutineTable(nested, 4);
    RaiseSimpleEvent(kMainWindow, kMainItself, 0);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].control, kMainButton2);
    EXPECT_EQ(g_calls[1].routine, 99u);
    EXPECT_EQ(g_calls[1].control, kMainItself);
}

// A window of three buttons where button C shares A's bindings and button D points at an edit
// box, which is of another class and so lends nothing.
const uint8_t kNames[] = "\0A\0B\0C\0D";
FormBytes Name(size_t at) {
    return FormBytes(kNames + at, 1);
}

FormDescription LinkedForm() {
    WindowRecord window;
    window.id = 0x52000007;
    window.controls.resize(5);
    window.controls[0].id = 0x06000001;
    window.controls[0].cls = ControlClass::kWindow;
    const struct {
        uint32_t id;
        ControlClass cls;
        uint32_t link;
        int32_t event;
        uint32_t routine;
    } records[] = {
        {0x16000001, ControlClass::kButton, 0, 0, 5},
        {0x16000002, ControlClass::kEditBox, 0, 0, 6},
        {0x16000003, ControlClass::kButton, 0x16000001, 0, 4},
        {0x16000004, ControlClass::kButton, 0x16000002, 0, kNoFormRoutine},
    };
    for (size_t i = 0; i < 4; ++i) {
        ControlRecord& c = window.controls[i + 1];
        c.id = records[i].id;
        c.cls = records[i].cls;
        c.sharedEventLink = records[i].link;
        c.name = Name(1 + 2 * i);
        c.events.push_back({records[i].event, records[i].routine});
    }
    FormDescription form;
    form.windows.push_back(window);
    return form;
}

TEST_F(EventDispatchTest, SharedEventLinksLendBindingsOnlyWithinOneClass) {
    SetFormWindows(LinkedForm());
    ASSERT_NE(AddLoadedWindow(0x52000007), nullptr);
    RaiseSimpleEvent(0x52000007, 0x16000003, 0);  // shares A's: routine 5, not its own 4
    RaiseSimpleEvent(0x52000007, 0x16000004, 0);  // the edit box lends nothing: its own (none)
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].routine, 5u);
    EXPECT_EQ(g_calls[0].control, 0x16000003u) << "the source is the control that raised the event";
}

using EventDispatchDeathTest = EventDispatchTest;

TEST_F(EventDispatchDeathTest, EventsOfWindowsOrControlsThatAreNotThereAreFatal) {
    ASSERT_NE(AddLoadedWindow(kMainWindow), nullptr);
    EXPECT_EXIT(RaiseSimpleEvent(kCustomWindow, kCustomButton3, 0), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("未找到引发事件的窗口\r\n"));
    EXPECT_EXIT(RaiseSimpleEvent(0x52999999, 0, 0), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("未找到引发事件的窗口\r\n"));
    EXPECT_EXIT(RaiseSimpleEvent(kMainWindow, kCustomButton3, 0), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("未找到引发事件的窗口组件"));
    // Suppressed events are dropped before anything is looked up.
    RaiseEventSuppression();
    RaiseSimpleEvent(0x52999999, 0, 0);
    LowerEventSuppression();
}

}  // namespace
