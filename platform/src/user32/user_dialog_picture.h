#pragma once
// The picture of a modal dialog's window surface: its face with the owner-drawn controls painted
// where they stand, kept as a PNG with the dialog's record (see sim/dialogs.h).
#include <windows.h>
#include <vector>

namespace moltr::platform {

class DialogSurface {
public:
    // A surface of the dialog's client size in the face colour of dialogs.
    explicit DialogSurface(HWND dialog);
    ~DialogSurface();
    DialogSurface(const DialogSurface&) = delete;
    DialogSurface& operator=(const DialogSurface&) = delete;

    // A DC for `control` to paint itself into (its client rectangle, showing the dialog's face),
    // until Place copies what it painted to where the control stands; null when it cannot be had.
    HDC BeginControl(HWND control);
    void Place();
    // The surface as a PNG file's bytes; empty when there is none.
    std::vector<BYTE> Png() const;

private:
    HDC screen_ = nullptr;
    HDC surface_ = nullptr;
    HBITMAP pixels_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    const BYTE* bits_ = nullptr; // 32-bit BGRX rows, top-down
    LONG width_ = 0;
    LONG height_ = 0;
    HDC control_ = nullptr;
    HBITMAP controlPixels_ = nullptr;
    HGDIOBJ controlPrevious_ = nullptr;
    RECT controlRect_{}; // in the dialog's client coordinates
};

} // namespace moltr::platform
