// Screen capture through the screen device context, icon drawing and BMP files.
#include "tests/e2e/driver/screen_pixels.h"

#include <cstdio>
#include <cstring>

namespace {

// A top-down 32-bit DIB section selected into a memory DC; the pixels are read from `bits`.
class PixelCanvas {
  public:
    PixelCanvas(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (bitmap_)
            old_ = SelectObject(dc_, bitmap_);
    }
    ~PixelCanvas() {
        if (old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    bool ok() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }

    Pixels Take() const {
        GdiFlush();
        Pixels pixels;
        pixels.width = width_;
        pixels.height = height_;
        pixels.data.resize(static_cast<size_t>(width_) * height_);
        const auto* source = static_cast<const uint32_t*>(bits_);
        for (size_t i = 0; i < pixels.data.size(); ++i)
            pixels.data[i] = source[i] & 0x00FFFFFF;
        return pixels;
    }

  private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

}  // namespace

Pixels CaptureScreen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return Pixels();
    PixelCanvas canvas(width, height);
    if (!canvas.ok())
        return Pixels();
    HDC screen = GetDC(nullptr);
    const BOOL copied = BitBlt(canvas.dc(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return copied ? canvas.Take() : Pixels();
}

Pixels CaptureWindowArea(HWND window) {
    RECT rect;
    if (!window || !GetWindowRect(window, &rect))
        return Pixels();
    return CaptureScreen(rect);
}

Pixels DrawIconPixels(HICON icon, uint32_t background) {
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    PixelCanvas canvas(width, height);
    if (!canvas.ok() || !icon)
        return Pixels();
    // COLORREF is 0x00BBGGRR.
    HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    RECT all = {0, 0, width, height};
    FillRect(canvas.dc(), &all, brush);
    DeleteObject(brush);
    DrawIconEx(canvas.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    return canvas.Take();
}

bool SaveBitmapFile(const Pixels& pixels, const std::string& path) {
    if (pixels.empty())
        return false;
    const uint32_t rowSize = (static_cast<uint32_t>(pixels.width) * 3 + 3) & ~3u;
    const uint32_t imageSize = rowSize * pixels.height;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + imageSize;
    info.biSize = sizeof(info);
    info.biWidth = pixels.width;
    info.biHeight = pixels.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageSize;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 && std::fwrite(&info, sizeof(info), 1, out) == 1;
    std::vector<unsigned char> row(rowSize);
    for (int y = pixels.height - 1; ok && y >= 0; --y) {
        std::memset(row.data(), 0, row.size());
        for (int x = 0; x < pixels.width; ++x) {
            const uint32_t p = pixels.at(x, y);
            row[x * 3] = p & 0xFF;
            row[x * 3 + 1] = (p >> 8) & 0xFF;
            row[x * 3 + 2] = (p >> 16) & 0xFF;
        }
        ok = std::fwrite(row.data(), row.size(), 1, out) == 1;
    }
    return std::fclose(out) == 0 && ok;
}
