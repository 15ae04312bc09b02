// The dialog's window surface as a DIB section, and its PNG through libpng.
#include "src/user32/user_dialog_picture.h"
#include "sim/bitmap_pictures.h"
#include "src/user32/user_objects.h"

#include <algorithm>

namespace moltr::platform {
namespace {

// In the face colour of dialogs and buttons.
void Fill(HDC dc, LONG width, LONG height) {
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
}

// Where a child window stands in its parent's client area.
RECT PlaceOf(HWND control) {
    std::lock_guard guard(UserLock());
    const Window* window = FindWindowObject(control);
    return window ? window->rect : RECT{};
}

} // namespace

DialogSurface::DialogSurface(HWND dialog) {
    RECT client{};
    if (!GetClientRect(dialog, &client) || client.right <= 0 || client.bottom <= 0) {
        return;
    }
    BITMAPINFO format{};
    format.bmiHeader = {
        sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    screen_ = GetDC(nullptr);
    surface_ = CreateCompatibleDC(screen_);
    pixels_ = CreateDIBSection(surface_, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!pixels_) {
        return;
    }
    previous_ = SelectObject(surface_, pixels_);
    bits_ = static_cast<const BYTE*>(bits);
    width_ = client.right;
    height_ = client.bottom;
    Fill(surface_, width_, height_);
}

DialogSurface::~DialogSurface() {
    Place();
    if (pixels_) {
        SelectObject(surface_, previous_);
        DeleteObject(pixels_);
    }
    if (surface_) {
        DeleteDC(surface_);
    }
    if (screen_) {
        ReleaseDC(nullptr, screen_);
    }
}

HDC DialogSurface::BeginControl(HWND control) {
    Place();
    RECT client{};
    if (!screen_ || !GetClientRect(control, &client) || client.right <= 0 || client.bottom <= 0) {
        return nullptr;
    }
    control_ = CreateCompatibleDC(screen_);
    controlPixels_ = CreateCompatibleBitmap(screen_, client.right, client.bottom);
    controlPrevious_ = SelectObject(control_, controlPixels_);
    Fill(control_, client.right, client.bottom);
    controlRect_ = PlaceOf(control);
    return control_;
}

void DialogSurface::Place() {
    if (!control_) {
        return;
    }
    if (bits_) {
        BitBlt(surface_, controlRect_.left, controlRect_.top,
               controlRect_.right - controlRect_.left, controlRect_.bottom - controlRect_.top,
               control_, 0, 0, SRCCOPY);
    }
    SelectObject(control_, controlPrevious_);
    DeleteObject(controlPixels_);
    DeleteDC(control_);
    control_ = nullptr;
}

std::vector<BYTE> DialogSurface::Png() const {
    return bits_ ? sim::BitmapPicture(pixels_) : std::vector<BYTE>();
}

} // namespace moltr::platform
