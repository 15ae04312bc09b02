// The picture of a window and its visible children: on the window's face each child paints
// itself through WM_PRINTCLIENT into a surface of its own, its children onto it in turn, and the
// result is copied to where it stands.
#include "src/user32/user_dialog_picture.h"
#include "src/user32/user_objects.h"
#include "sim/window_pictures.h"

#include <vector>

namespace moltr::platform {
namespace {

std::vector<HWND> VisibleChildren(HWND parent) {
    std::vector<HWND> children;
    std::lock_guard guard(UserLock());
    if (const Window* window = FindWindowObject(parent)) {
        // Painted bottom of the Z order first, so that the top one ends up in front.
        for (auto child = window->children.rbegin(); child != window->children.rend(); ++child) {
            const Window* found = FindWindowObject(*child);
            if (found && (found->style & WS_VISIBLE)) {
                children.push_back(*child);
            }
        }
    }
    return children;
}

RECT PlaceOf(HWND child) {
    std::lock_guard guard(UserLock());
    const Window* window = FindWindowObject(child);
    return window ? window->rect : RECT{};
}

void PaintTree(HWND window, HDC dc);

void PaintChild(HWND child, HDC parentDc) {
    const RECT at = PlaceOf(child);
    const int width = at.right - at.left;
    const int height = at.bottom - at.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    HDC dc = CreateCompatibleDC(parentDc);
    HBITMAP pixels = CreateCompatibleBitmap(parentDc, width, height);
    HGDIOBJ previous = SelectObject(dc, pixels);
    // What the child leaves unpainted shows its parent's surface.
    BitBlt(dc, 0, 0, width, height, parentDc, at.left, at.top, SRCCOPY);
    PaintTree(child, dc);
    BitBlt(parentDc, at.left, at.top, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, previous);
    DeleteObject(pixels);
    DeleteDC(dc);
}

void PaintTree(HWND window, HDC dc) {
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    for (HWND child : VisibleChildren(window)) {
        PaintChild(child, dc);
    }
}

} // namespace
} // namespace moltr::platform

namespace moltr::sim {

std::vector<BYTE> WindowPicture(HWND window) {
    if (!IsWindow(window)) {
        return {};
    }
    platform::DialogSurface surface(window);
    for (HWND child : platform::VisibleChildren(window)) {
        if (HDC dc = surface.BeginControl(child)) {
            platform::PaintTree(child, dc);
            surface.Place();
        }
    }
    return surface.Png();
}

} // namespace moltr::sim
