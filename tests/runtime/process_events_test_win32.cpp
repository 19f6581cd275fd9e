// Processing waiting window messages with a real window and the thread's real queue.
#include "runtime/process_events.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr UINT kTestMessage = WM_APP + 17;
std::vector<WPARAM> g_received;
std::string g_chars;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTestMessage) {
        g_received.push_back(wParam);
        // A handler may post more work; it is taken in the same call.
        if (wParam == 100)
            PostMessageA(hwnd, kTestMessage, 101, 0);
        return 0;
    }
    if (message == WM_CHAR) {
        g_chars += static_cast<char>(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class ProcessEventsTest : public testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TovProcessEventsTest";
        RegisterClassA(&wc);
        // A message-only window: it has a queue and a procedure but needs no display.
        window_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr) << GetLastError();
        Drain();
        g_received.clear();
        g_chars.clear();
    }
    void TearDown() override {
        SetMessagePump(nullptr);
        Drain();
        if (window_)
            DestroyWindow(window_);
    }
    // Takes everything still queued, WM_QUIT included, so that no test leaves one behind.
    static void Drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND window_ = nullptr;
};

TEST_F(ProcessEventsTest, DispatchesEverythingWaitingInOrder) {
    for (WPARAM i = 1; i <= 3; ++i)
        PostMessageA(window_, kTestMessage, i, 0);
    PostMessageA(window_, kTestMessage, 100, 0);
    ProcessEvents();
    EXPECT_EQ(g_received, (std::vector<WPARAM>{1, 2, 3, 100, 101}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(ProcessEventsTest, StopsBeforeQuitAndLeavesItQueued) {
    PostMessageA(window_, kTestMessage, 1, 0);
    PostMessageA(window_, kTestMessage, 2, 0);
    PostQuitMessage(7);
    ProcessEvents();
    EXPECT_EQ(g_received, (std::vector<WPARAM>{1, 2}));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(ProcessEventsTest, PostedQuitInTheMiddleHoldsBackWhatFollows) {
    PostMessageA(window_, kTestMessage, 1, 0);
    PostMessageA(nullptr, WM_QUIT, 3, 0);
    PostMessageA(window_, kTestMessage, 2, 0);
    ProcessEvents();
    EXPECT_EQ(g_received, (std::vector<WPARAM>{1}));
    ProcessEvents();
    EXPECT_EQ(g_received, (std::vector<WPARAM>{1})) << "WM_QUIT is still first in line";
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ProcessEvents();
    EXPECT_EQ(g_received, (std::vector<WPARAM>{1, 2}));
}

int g_pumpCalls = 0;
bool CountingPump() {
    ++g_pumpCalls;
    MSG msg;
    if (!GetMessageA(&msg, nullptr, 0, 0))
        return false;
    DispatchMessageA(&msg);
    return true;
}

TEST_F(ProcessEventsTest, InstalledPumpTakesEachMessage) {
    g_pumpCalls = 0;
    SetMessagePump(CountingPump);
    ProcessEvents();
    EXPECT_EQ(g_pumpCalls, 0) << "an empty queue needs no pump";
    PostMessageA(window_, kTestMessage, 1, 0);
    PostMessageA(window_, kTestMessage, 2, 0);
    ProcessEvents();
    EXPECT_EQ(g_pumpCalls, 2);
    EXPECT_EQ(g_received, (std::vector<WPARAM>{1, 2}));

    SetMessagePump(nullptr);
    PostMessageA(window_, kTestMessage, 3, 0);
    ProcessEvents();
    EXPECT_EQ(g_pumpCalls, 2) << "null restores the plain pump";
    EXPECT_EQ(g_received, (std::vector<WPARAM>{1, 2, 3}));
}

TEST_F(ProcessEventsTest, PlainPumpTranslatesKeys) {
    // The character message that TranslateMessage posts for a key is dispatched in the same call.
    PostMessageA(window_, WM_KEYDOWN, 'A', 0x001E0001);
    ProcessEvents();
    EXPECT_EQ(g_chars, "a");
}

}  // namespace
