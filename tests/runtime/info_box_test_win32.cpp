// The message box command with real boxes, answered from a second thread like a user would.
#include "runtime/info_box.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

// What the answering thread saw of the box before it pressed the button.
struct BoxSighting {
    std::string title;  // the box to look for
    WPARAM button = IDOK;
    HWND bystander = nullptr;  // another window of the test thread
    DWORD testThread = GetCurrentThreadId();
    bool found = false;
    LONG exStyle = 0;
    std::string text;
    HICON icon = nullptr;
    HWND owner = nullptr;
    bool bystanderEnabled = true;
};

// The box's icon control, whatever its number: the one static control that shows an icon.
HICON BoxIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}

BOOL CALLBACK CloseBox(HWND window, LPARAM) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770")
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

DWORD WINAPI AnswerBox(void* parameter) {
    auto* s = static_cast<BoxSighting*>(parameter);
    for (int tries = 0; tries < 1000; ++tries) {
        HWND box = FindWindowA("#32770", s->title.c_str());
        DWORD pid = 0;
        if (box && GetWindowThreadProcessId(box, &pid) && pid == GetCurrentProcessId() && IsWindowVisible(box)) {
            s->found = true;
            s->exStyle = GetWindowLongA(box, GWL_EXSTYLE);
            char text[512] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message control
            s->text = text;
            s->icon = BoxIcon(box);
            s->owner = GetWindow(box, GW_OWNER);
            if (s->bystander)
                s->bystanderEnabled = IsWindowEnabled(s->bystander) != FALSE;
            PostMessageA(box, WM_COMMAND, s->button, 0);
            return 0;
        }
        Sleep(10);
    }
    // Not found under its title: close whatever box the test thread shows so the test fails
    // instead of waiting for ever.
    EnumThreadWindows(s->testThread, CloseBox, 0);
    return 1;
}

// Runs the box on this thread while a second thread answers it.
int32_t ShowAndAnswer(BoxSighting& sighting,
                      const TaggedValue& message,
                      int32_t flags,
                      std::optional<const char*> title,
                      void* owner = nullptr) {
    HANDLE thread = CreateThread(nullptr, 0, AnswerBox, &sighting, 0, nullptr);
    EXPECT_NE(thread, nullptr);
    const int32_t result = InfoBox(message, flags, title, owner);
    WaitForSingleObject(thread, 20000);
    CloseHandle(thread);
    return result;
}

class InfoBoxTest : public testing::Test {
  protected:
    void SetUp() override {
        // A top-level window needs a display; without one the boxes cannot be shown or answered.
        bystander_ = CreateWindowExA(0, "STATIC", "bystander", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 50, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
        if (bystander_ == nullptr || GetSystemMetrics(SM_CXSCREEN) == 0)
            GTEST_SKIP() << "no display";
    }
    void TearDown() override {
        if (bystander_)
            DestroyWindow(bystander_);
    }
    HWND bystander_ = nullptr;
};

TEST_F(InfoBoxTest, ExclamationBoxIsTaskModalAndOkGivesZero) {
    BoxSighting s;
    s.title = "提示";
    s.bystander = bystander_;
    const int32_t result = ShowAndAnswer(s, TaggedValue::OfText("驱动导入完成！"), 0x30, "提示");
    ASSERT_TRUE(s.found);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(s.text, "驱动导入完成！");
    EXPECT_EQ(s.icon, LoadIconA(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(s.owner, nullptr);
    EXPECT_FALSE(s.exStyle & WS_EX_TOPMOST) << "only a system-modal box stays on top";
    // Task-modal: the thread's other windows are disabled while the box is up and enabled
    // afterwards. MB_TASKMODAL leaves no trace in the box's own styles (Wine gives 0x94C801C4 for
    // task- and system-modal boxes alike), so the disabled bystander is the evidence.
    EXPECT_FALSE(s.bystanderEnabled);
    EXPECT_TRUE(IsWindowEnabled(bystander_));
}

TEST_F(InfoBoxTest, SystemModalBoxLeavesOtherWindowsAlone) {
    BoxSighting s;
    s.title = "system modal";
    s.bystander = bystander_;
    const int32_t result = ShowAndAnswer(s, TaggedValue::OfText("x"), 0x1000 | 0x10, "system modal");
    ASSERT_TRUE(s.found);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(s.icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_TRUE(s.bystanderEnabled) << "0x2000 is not added to a system-modal box";
    // Windows and Wine keep a system-modal box above all others.
    EXPECT_TRUE(s.exStyle & WS_EX_TOPMOST);
}

TEST_F(InfoBoxTest, ButtonsGiveTheirNumbers) {
    const struct {
        int32_t flags;
        WPARAM button;
        int32_t result;
    } cases[] = {
        {MB_OKCANCEL, IDCANCEL, 1},         {MB_OKCANCEL, IDOK, 0},
        {MB_ABORTRETRYIGNORE, IDABORT, 2},  {MB_RETRYCANCEL, IDRETRY, 3},
        {MB_ABORTRETRYIGNORE, IDIGNORE, 4}, {MB_YESNO, IDYES, 5},
        {MB_YESNOCANCEL, IDNO, 6},
    };
    for (const auto& c : cases) {
        BoxSighting s;
        s.title = "buttons " + std::to_string(c.button);
        s.button = c.button;
        const int32_t result = ShowAndAnswer(s, TaggedValue::OfText("?"), c.flags, s.title.c_str());
        ASSERT_TRUE(s.found) << c.button;
        EXPECT_EQ(result, c.result) << c.button;
    }
}

TEST_F(InfoBoxTest, MessagesOfEveryTypeAndTheDefaultTitle) {
    static const uint8_t set[] = {1, 0, 0, 0, 2, 0, 0, 0, 'o', 'k'};
    const struct {
        TaggedValue message;
        const char* text;
    } cases[] = {
        {TaggedValue::OfInt(-42), "-42"},   {TaggedValue::OfLogical(true), "真"}, {TaggedValue::OfLogical(false), "假"},
        {TaggedValue::OfText(nullptr), ""}, {TaggedValue::OfByteSet(set), ""},  // not a basic value with a text form
    };
    for (const auto& c : cases) {
        BoxSighting s;
        s.title = "信息：";
        const int32_t result = ShowAndAnswer(s, c.message, 0x40, std::nullopt);
        ASSERT_TRUE(s.found) << c.text;
        EXPECT_EQ(result, 0);
        EXPECT_EQ(s.text, c.text);
    }
    // A title given as the empty text is not replaced by the default.
    BoxSighting s;
    s.title = "";
    const int32_t result = ShowAndAnswer(s, TaggedValue::OfText("untitled"), 0, "");
    ASSERT_TRUE(s.found);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(s.text, "untitled");
}

TEST_F(InfoBoxTest, OwnerWindowOwnsTheBox) {
    BoxSighting s;
    s.title = "owned";
    const int32_t result = ShowAndAnswer(s, TaggedValue::OfText("owned"), 0x40, "owned", bystander_);
    ASSERT_TRUE(s.found);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(s.owner, bystander_);
    EXPECT_EQ(s.icon, LoadIconA(nullptr, IDI_ASTERISK));
}

}  // namespace
