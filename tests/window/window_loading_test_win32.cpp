// Loading the stored windows: every control's class, text, geometry, styles, control number, Z
// order and the window's place on the screen, checked on the real windows.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/window/window_test_support_win32.h"
#include "window/window_loader.h"

namespace {

using namespace window_test;

// Style bits that the runtime decides; Windows and the classes add others of their own.
constexpr DWORD kCheckedStyleBits =
    0xFFFF0000u | BS_MULTILINE | BS_CENTER | BS_VCENTER | BS_TYPEMASK | BS_PUSHLIKE | BS_FLAT | BS_LEFTTEXT;

struct ExpectedControl {
    int number;
    const char* windowClass;
    std::string text;
    RECT rect;  // left, top, right, bottom in the window's client area
    DWORD style;
    DWORD exStyle;
};

const DWORD kButton = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
const DWORD kRadio =
    WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE | BS_MULTILINE | BS_AUTORADIOBUTTON | BS_LEFT | BS_VCENTER;
const DWORD kLabel = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE;
const DWORD kEdit = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE | ES_AUTOHSCROLL;

// Records from the last to the first, as they are created.
const ExpectedControl kMainControls[] = {
    {100, "Button", "向当前系统安装驱动和补丁", {440, 104, 760, 136}, kButton, 0},
    {110, "Button", "离线向目标系统导入USB3.X驱动", {56, 32, 376, 64}, kButton | WS_VISIBLE, 0},
    {120, "Button", "离线向目标系统导入自定义驱动", {56, 80, 376, 112}, kButton | WS_VISIBLE, 0},
    {130, "TovTransLabel", "注入类型:", {48, 136, 105, 160}, kLabel, WS_EX_TRANSPARENT},
    {140, "Button", "精准导入", {112, 136, 184, 160}, kRadio, 0},
    // BM_SETCHECK gives WS_TABSTOP to the checked radio button only (Windows and Wine alike).
    {150, "Button", "模糊导入", {192, 136, 264, 160}, kRadio & ~WS_TABSTOP, 0},
};

const ExpectedControl kCustomControls[] = {
    {100, "TovTransLabel", "请选择目标系统的Windows目录:", {8, 8, 184, 32}, kLabel, WS_EX_TRANSPARENT},
    {110, "Edit", "", {8, 32, 312, 56}, kEdit, WS_EX_CLIENTEDGE},
    {120, "Button", "浏  览", {328, 32, 384, 56}, kButton | WS_VISIBLE, 0},
    {130, "TovTransLabel", "请选择驱动所在目录:", {8, 56, 128, 80}, kLabel, WS_EX_TRANSPARENT},
    {140, "Edit", "", {8, 80, 312, 104}, kEdit, WS_EX_CLIENTEDGE},
    {150, "Button", "浏  览", {328, 80, 384, 104}, kButton | WS_VISIBLE, 0},
    {160, "Button", "开始导入", {136, 120, 272, 152}, kButton | WS_VISIBLE, 0},
};

void ExpectControls(HWND frame, const ExpectedControl* expected, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const ExpectedControl& e = expected[i];
        SCOPED_TRACE(testing::Message() << "control number " << e.number);
        HWND hwnd = GetDlgItem(frame, e.number);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetParent(hwnd), frame);
        EXPECT_STRCASEEQ(ClassOf(hwnd).c_str(), e.windowClass);
        EXPECT_EQ(WindowText(hwnd), e.text);
        const RECT r = PlacedRect(hwnd);
        EXPECT_EQ(r.left, e.rect.left);
        EXPECT_EQ(r.top, e.rect.top);
        EXPECT_EQ(r.right, e.rect.right);
        EXPECT_EQ(r.bottom, e.rect.bottom);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & kCheckedStyleBits, e.style & kCheckedStyleBits);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)) &
                      (WS_EX_TRANSPARENT | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME),
                  e.exStyle);
    }
}

// Control numbers of the window's children from the top of the Z order down.
std::vector<int> ZOrder(HWND frame) {
    std::vector<int> numbers;
    for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        numbers.push_back(GetDlgCtrlID(child));
    return numbers;
}

void ExpectCentredFrame(HWND frame, int width, int height) {
    RECT r;
    GetWindowRect(frame, &r);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

std::string StatusText(HWND bar, int part, int* style = nullptr) {
    char text[256] = {};
    const LRESULT answer = SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    if (style)
        *style = HIWORD(answer);
    return std::string(text, LOWORD(answer));
}

using WindowLoadingTest = WindowTest;

TEST_F(WindowLoadingTest, MainWindowIsBuiltAsStored) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    Pump();
    HWND frame = FrameHwnd(kMainWindow);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(ClassOf(frame), "TovFormWindow");
    EXPECT_EQ(WindowText(frame), "TovanUSB3.X 驱动一键安装ForWin7");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE));
    // Windows adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(style & ~WS_CLIPSIBLINGS, WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE);
    EXPECT_EQ(GetWindow(frame, GW_OWNER), nullptr) << "shown in the taskbar: no owner";
    ExpectCentredFrame(frame, 436, 217);
    ExpectControls(frame, kMainControls, std::size(kMainControls));

    HWND bar = GetDlgItem(frame, 160);
    ASSERT_NE(bar, nullptr);
    EXPECT_STRCASEEQ(ClassOf(bar).c_str(), STATUSCLASSNAMEA);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(GetWindowLongA(bar, GWL_STYLE) & (WS_CHILD | SBT_TOOLTIPS | SBARS_SIZEGRIP | CCS_TOP | CCS_BOTTOM),
              static_cast<LONG>(WS_CHILD | SBT_TOOLTIPS | CCS_BOTTOM));
    int partStyle = -1;
    EXPECT_EQ(StatusText(bar, 0, &partStyle), "状态:等待操作,支持第八代英特尔主板                          Ver:2.1.0");
    EXPECT_EQ(partStyle, 0) << "sunken";
    EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 1);
    int edge = 0;
    SendMessageA(bar, SB_GETPARTS, 1, reinterpret_cast<LPARAM>(&edge));
    EXPECT_EQ(edge, 430);
    // The bar lays itself along the bottom of the client area, whatever its stored rectangle.
    RECT client, bar_rect = PlacedRect(bar);
    GetClientRect(frame, &client);
    EXPECT_EQ(bar_rect.bottom, client.bottom);
    EXPECT_EQ(bar_rect.left, 0);
    EXPECT_EQ(bar_rect.right, client.right);

    EXPECT_EQ(SendMessageA(GetDlgItem(frame, 140), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(GetDlgItem(frame, 150), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(ZOrder(frame), (std::vector<int>{160, 150, 140, 130, 120, 110, 100}));
    EXPECT_EQ(GetDlgItem(frame, 170), nullptr);
    EXPECT_EQ(SendMessageA(frame, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));

    // The created handler ran once, with the window's own identifier as its source.
    ASSERT_EQ(CallsOf(0), 1u);
    EXPECT_EQ(Calls()[0].control, kMainItself);
    EXPECT_EQ(Calls()[0].event, 0);

    UpdateWindow(frame);
    Pump();
    EXPECT_FALSE(SaveScreenshot(frame, "main-window").empty());
}

TEST_F(WindowLoadingTest, CustomImportWindowIsBuiltAsStored) {
    ASSERT_TRUE(LoadWindow(kCustomWindow, false, nullptr));
    Pump();
    HWND frame = FrameHwnd(kCustomWindow);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(WindowText(frame), "离线向目标系统导入自定义驱动");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE));
    EXPECT_EQ(style & ~WS_CLIPSIBLINGS, WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    ExpectCentredFrame(frame, 397, 195);
    ExpectControls(frame, kCustomControls, std::size(kCustomControls));
    EXPECT_EQ(ZOrder(frame), (std::vector<int>{160, 150, 140, 130, 120, 110, 100}));
    EXPECT_TRUE(Calls().empty()) << "the custom-import window binds no window event";

    UpdateWindow(frame);
    Pump();
    EXPECT_FALSE(SaveScreenshot(frame, "custom-window").empty());
}

TEST_F(WindowLoadingTest, ModalLoadWithoutParentIsOwnedByTheHiddenOwner) {
    ASSERT_NE(HiddenOwnerWindow(), nullptr);
    EXPECT_FALSE(IsWindowVisible(HiddenOwnerWindow()));
    EXPECT_EQ(GetWindowLongA(HiddenOwnerWindow(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    ASSERT_TRUE(LoadWindow(kCustomWindow, true, FrameHwnd(kMainWindow)));
    HWND custom = FrameHwnd(kCustomWindow);
    EXPECT_EQ(GetWindow(custom, GW_OWNER), HiddenOwnerWindow()) << "a modal load drops the parent";
    EXPECT_FALSE(IsWindowEnabled(FrameHwnd(kMainWindow)));
    EXPECT_TRUE(IsWindowEnabled(custom));
    SendMessageA(custom, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(custom));
    EXPECT_TRUE(IsWindowEnabled(FrameHwnd(kMainWindow)));
}

TEST_F(WindowLoadingTest, LoadingALoadedWindowOnlyBringsItForward) {
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    HWND first = FrameHwnd(kMainWindow);
    ShowWindow(first, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(first));
    ASSERT_TRUE(LoadWindow(kMainWindow, false, nullptr));
    EXPECT_EQ(FrameHwnd(kMainWindow), first);
    EXPECT_FALSE(IsIconic(first)) << "restored";
    EXPECT_EQ(CallsOf(0), 1u) << "no second created event";
}

TEST_F(WindowLoadingTest, LoadsThatCannotStartFailWithoutLeavingAWindow) {
    EXPECT_FALSE(LoadWindow(0x52999999, false, nullptr)) << "not in the description";
    HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(LoadWindow(kMainWindow, false, gone)) << "a parent that does not exist";
    EXPECT_EQ(LoadedWindowCount(), 0u);
    EXPECT_TRUE(Calls().empty());
}

// Clicks 按钮2 from inside the building of the main window: a CBT hook fires as each control is
// created, and once 按钮2 (number 110) exists, its click is sent while 按钮3 is being created.
HHOOK g_hook = nullptr;
int g_clicksSent = 0;

LRESULT CALLBACK ClickWhileBuilding(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if ((create->style & WS_CHILD) && reinterpret_cast<UINT_PTR>(create->hMenu) == 120) {
            HWND button2 = GetDlgItem(create->hwndParent, 110);
            if (button2 != nullptr) {
                SendMessageA(button2, BM_CLICK, 0, 0);
                SendMessageA(create->hwndParent, WM_COMMAND, MAKEWPARAM(110, BN_CLICKED),
                             reinterpret_cast<LPARAM>(button2));
                ++g_clicksSent;
            }
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(WindowLoadingTest, EventsRaisedWhileBuildingReachNoRoutine) {
    g_clicksSent = 0;
    g_hook = SetWindowsHookExA(WH_CBT, ClickWhileBuilding, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    const bool loaded = LoadWindow(kMainWindow, false, nullptr);
    UnhookWindowsHookEx(g_hook);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(g_clicksSent, 1);
    EXPECT_EQ(CallsOf(3), 0u) << "the click during building reached StartTargetInjection";
    EXPECT_EQ(CallsOf(0), 1u);

    // The same click once the window stands does reach the routine.
    SendMessageA(GetDlgItem(FrameHwnd(kMainWindow), 110), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(CallsOf(3), 1u);
}

}  // namespace
