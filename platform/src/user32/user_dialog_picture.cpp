// The dialog's window surface as a DIB section, and its PNG through libpng.
#include "src/user32/user_dialog_picture.h"
#include "src/user32/user_objects.h"

#include <png.h>

#include <csetjmp>
#include <new>

namespace moltr::platform {
namespace {

// The face colour of dialogs and buttons on the simulated desktop (COLOR_3DFACE of Windows 7).
constexpr COLORREF kDialogFace = RGB(240, 240, 240);

void Fill(HDC dc, LONG width, LONG height) {
    const RECT all{0, 0, width, height};
    HBRUSH face = CreateSolidBrush(kDialogFace);
    FillRect(dc, &all, face);
    DeleteObject(face);
}

// Where a child window stands in its parent's client area.
RECT PlaceOf(HWND control) {
    std::lock_guard guard(UserLock());
    const Window* window = FindWindowObject(control);
    return window ? window->rect : RECT{};
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<BYTE>*>(png_get_io_ptr(png));
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

// Writes the rows (RGB, top-down) as an 8-bit truecolour PNG; false when libpng fails.
bool EncodePng(const std::vector<png_bytep>& rows, LONG width, std::vector<BYTE>& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    // libpng reports its failures by jumping back here; nothing of ours needs unwinding.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(rows.size()),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
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
    std::vector<BYTE> out;
    if (!bits_) {
        return out;
    }
    const size_t stride = static_cast<size_t>(width_) * 4;
    std::vector<BYTE> rgb(static_cast<size_t>(width_) * 3 * static_cast<size_t>(height_));
    std::vector<png_bytep> rows(static_cast<size_t>(height_));
    for (size_t y = 0; y < rows.size(); ++y) {
        rows[y] = rgb.data() + y * static_cast<size_t>(width_) * 3;
        for (size_t x = 0; x < static_cast<size_t>(width_); ++x) {
            const BYTE* bgrx = bits_ + y * stride + x * 4;
            rows[y][x * 3] = bgrx[2];
            rows[y][x * 3 + 1] = bgrx[1];
            rows[y][x * 3 + 2] = bgrx[0];
        }
    }
    if (!EncodePng(rows, width_, out)) {
        out.clear();
    }
    return out;
}

} // namespace moltr::platform
