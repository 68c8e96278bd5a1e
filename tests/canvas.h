// A 32-bit picture in memory for drawing tests: black to begin with, read
// back pixel by pixel as COLORREF values.
#pragma once

#include <windows.h>

#include <cstdint>

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<const uint32_t*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }

    COLORREF At(int x, int y) const {
        GdiFlush();
        uint32_t p = bits_[y * width_ + x];  // 0x00RRGGBB
        return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
    }
    // Pixels in rows top..bottom-1 with some of `channels` (COLORREF bits) lit.
    int Count(int top, int bottom, COLORREF channels) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < width_; ++x) n += (At(x, y) & channels) != 0;
        return n;
    }
    // The last column with anything but black in rows top..bottom-1, or -1.
    int RightmostInk(int top, int bottom) const {
        for (int x = width_ - 1; x >= 0; --x)
            for (int y = top; y < bottom; ++y)
                if (At(x, y) != 0) return x;
        return -1;
    }
    void Clear() {
        RECT all = {0, 0, width_, height_};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }

private:
    int width_;
    int height_;
    HBITMAP bitmap_;
    const uint32_t* bits_;
    HDC dc_;
};
