// Shared helpers of the window tests: the stored windows' identifiers, a fixture that starts the
// runtime on the real form description, message pumping, and PNG screenshots of live windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ui/form_routines.h"
#include "window/application.h"
#include "window/controls/window_frame_win32.h"
#include "window/event_dispatch.h"
#include "window/form_blob.h"
#include "window/form_description.h"
#include "window/message_loop.h"
#include "window/window_list.h"

namespace window_test {

inline constexpr uint32_t kMainWindow = 0x52010001;
inline constexpr uint32_t kMainItself = 0x06010000;
inline constexpr uint32_t kMainStatusBar = 0x160125FB;
inline constexpr uint32_t kMainRadio2 = 0x160125F6;
inline constexpr uint32_t kMainRadio1 = 0x160125F5;
inline constexpr uint32_t kMainLabel2 = 0x160125F4;
inline constexpr uint32_t kMainButton3 = 0x160125F2;
inline constexpr uint32_t kMainButton2 = 0x160125F1;
inline constexpr uint32_t kMainButton1 = 0x160125F0;
inline constexpr uint32_t kCustomWindow = 0x5201268A;
inline constexpr uint32_t kCustomItself = 0x06012689;
inline constexpr uint32_t kCustomButton3 = 0x16012691;
inline constexpr uint32_t kCustomEdit1 = 0x1601268C;

struct RoutineCall {
    uint32_t routine;
    uint32_t window;
    uint32_t control;
    int32_t event;
};

inline std::vector<RoutineCall>& Calls() {
    static std::vector<RoutineCall> calls;
    return calls;
}

template <uint32_t Routine>
void RecordCall(EventNotify& event) {
    const EventSource source = CurrentEventSource();
    Calls().push_back({Routine, source.window, source.control, event.event});
}

inline const EventRoutine kRecorders[] = {RecordCall<0>, RecordCall<1>, RecordCall<2>, RecordCall<3>,
                                          RecordCall<4>, RecordCall<5>, RecordCall<6>, RecordCall<7>};

inline size_t CallsOf(uint32_t routine) {
    size_t n = 0;
    for (const RoutineCall& call : Calls())
        n += call.routine == routine ? 1 : 0;
    return n;
}

// Dispatches what waits in the queue (through the runtime's pump, so keys reach the windows
// first), leaving a WM_QUIT where it is.
inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (!PumpOneMessage())
            break;
    }
}

// Drops a WM_QUIT that closing the last window posted.
inline void DropQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

inline HWND FrameHwnd(uint32_t windowId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    WindowFrame* frame = window ? FrameOf(*window) : nullptr;
    return frame ? frame->hwnd() : nullptr;
}

inline std::string WindowText(HWND hwnd) {
    char buffer[512] = {};
    const int n = GetWindowTextA(hwnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

inline std::string ClassOf(HWND hwnd) {
    char buffer[128] = {};
    const int n = GetClassNameA(hwnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

// The control's rectangle in its parent's client coordinates.
inline RECT PlacedRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Starts the runtime once for the whole test program on the real form description, and leaves
// no window behind after each test.
class WindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ApplicationSetup setup;
        setup.formDescription = ProgramFormDescription();
        setup.routines = kRecorders;
        setup.routineCount = kFormRoutineCount;
        InitializeApplication(setup);
        // Other suites of the program put forms of their own in place.
        SetFormWindows(ReadFormDescription(ProgramFormDescription(), kFormRoutineCount).form);
    }
    void SetUp() override {
        SetRoutineTable(kRecorders, kFormRoutineCount);
        Calls().clear();
    }
    void TearDown() override {
        for (LoadedWindow* window : LoadedWindows()) {
            if (HWND hwnd = FrameHwnd(window->id()))
                DestroyWindow(hwnd);
        }
        Pump();
        DropQuit();
        EXPECT_EQ(LoadedWindowCount(), 0u);
        EXPECT_EQ(EventSuppression(), 0);
    }
};

// ---- Screenshots: the window's pixels as an RGB PNG with stored (uncompressed) deflate blocks.

inline uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

inline void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(body.data(), body.size()));
}

inline std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> raw;  // one filter byte (none) before each row
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + static_cast<ptrdiff_t>(y) * width * 3,
                   rgb.begin() + static_cast<ptrdiff_t>(y + 1) * width * 3);
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(at), raw.begin() + static_cast<ptrdiff_t>(at + n));
        if (raw.empty())
            break;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(z, (b << 16) | a);
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    return png;
}

// Copies the window's pixels (frame included) from the screen; empty when nothing could be read.
inline std::vector<uint8_t> CaptureWindow(HWND hwnd, int& width, int& height) {
    RECT r;
    GetWindowRect(hwnd, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint8_t> rgb;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* bgra = static_cast<const uint8_t*>(bits);
        for (int i = 0; i < width * height; ++i) {
            rgb.push_back(bgra[4 * i + 2]);
            rgb.push_back(bgra[4 * i + 1]);
            rgb.push_back(bgra[4 * i]);
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rgb;
}

// Writes the window as build/screenshots/<name>.png: test programs run from build/<folder>/bin.
inline std::string SaveScreenshot(HWND hwnd, const std::string& name) {
    int width = 0, height = 0;
    const std::vector<uint8_t> rgb = CaptureWindow(hwnd, width, height);
    if (rgb.empty())
        return {};
    const std::string folder = ProgramDirectory() + "\\..\\..\\screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".png";
    const std::vector<uint8_t> png = EncodePng(width, height, rgb);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return {};
    std::fwrite(png.data(), 1, png.size(), file);
    std::fclose(file);
    return path;
}

}  // namespace window_test
