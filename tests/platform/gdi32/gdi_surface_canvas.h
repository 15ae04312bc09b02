#pragma once
// A white 24-bit memory DC for the drawing tests, read back pixel by pixel in device
// coordinates whatever mapping and clipping the test has set.
#include <windows.h>
#include <algorithm>

namespace moltr::test {

class SurfaceCanvas {
public:
    explicit SurfaceCanvas(LONG width, LONG height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        original_ = SelectObject(dc_, bitmap_);
        PatBlt(dc_, 0, 0, width, height, WHITENESS);
    }
    ~SurfaceCanvas() {
        SelectObject(dc_, original_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    SurfaceCanvas(const SurfaceCanvas&) = delete;
    SurfaceCanvas& operator=(const SurfaceCanvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }

    COLORREF At(LONG x, LONG y) const {
        const int saved = SaveDC(dc_);
        SetMapMode(dc_, MM_TEXT);
        SetViewportOrgEx(dc_, 0, 0, nullptr);
        SetWindowOrgEx(dc_, 0, 0, nullptr);
        SelectClipRgn(dc_, nullptr);
        const COLORREF colour = GetPixel(dc_, x, y);
        RestoreDC(dc_, saved);
        return colour;
    }
    // The pixels of `colour` in [left, right) x [top, bottom).
    int Count(COLORREF colour, LONG left, LONG top, LONG right, LONG bottom) const {
        int count = 0;
        for (LONG y = top; y < bottom; ++y) {
            for (LONG x = left; x < right; ++x) {
                count += At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }
    int Count(COLORREF colour) const { return Count(colour, 0, 0, width_, height_); }
    // The smallest box holding every pixel of `colour`; empty when there is none.
    RECT Box(COLORREF colour) const {
        RECT box = {width_, height_, 0, 0};
        for (LONG y = 0; y < height_; ++y) {
            for (LONG x = 0; x < width_; ++x) {
                if (At(x, y) == colour) {
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
                }
            }
        }
        return box;
    }

private:
    LONG width_;
    LONG height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
};

} // namespace moltr::test
