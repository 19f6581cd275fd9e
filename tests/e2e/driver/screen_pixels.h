// Pixels from the screen and from drawn icons, and bitmap files of them, for what only the
// picture tells (a message box's icon across processes) and for screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// 32-bit 0x00RRGGBB pixels, rows top-down.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;

    uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    bool empty() const { return data.empty(); }
};

// What the screen shows in the rectangle (screen coordinates).
Pixels CaptureScreen(const RECT& rect);
// What the screen shows of the window's outer rectangle.
Pixels CaptureWindowArea(HWND window);
// The icon drawn at its size (SM_CXICON) on a plain background of the colour.
Pixels DrawIconPixels(HICON icon, uint32_t background);
// A 24-bit bottom-up BMP file; false when it cannot be written.
bool SaveBitmapFile(const Pixels& pixels, const std::string& path);
