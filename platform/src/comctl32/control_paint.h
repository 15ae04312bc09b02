#pragma once
// What the common controls paint with: the desktop's colours, raised and sunken frames, and
// labels in the control's font, all through the GDI calls of the platform.
#include <windows.h>
#include <string>

namespace moltr::platform {

namespace colours {
constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr COLORREF kWindow = RGB(255, 255, 255);
constexpr COLORREF kLight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(160, 160, 160);
constexpr COLORREF kDarkShadow = RGB(105, 105, 105);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kGrayText = RGB(109, 109, 109);
constexpr COLORREF kHighlight = RGB(0, 120, 215);
constexpr COLORREF kHighlightText = RGB(255, 255, 255);
constexpr COLORREF kInfo = RGB(255, 255, 225);
} // namespace colours

// The font a control draws with: the one it was given, else the GUI font.
HFONT FontOf(HWND window);
void FillArea(HDC dc, const RECT& area, COLORREF colour);
// A one-pixel frame: light on the top and left, shadow on the bottom and right when raised.
void Frame3D(HDC dc, const RECT& area, bool raised);
void FrameLine(HDC dc, const RECT& area, COLORREF colour);
void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);

enum class Align { Left, Centre };
// Draws `text` in `window`'s font (the GUI font when it has none), vertically centred in `area`.
void DrawLabel(HDC dc, HWND window, std::u16string_view text, const RECT& area, COLORREF colour,
               Align align);
// The width and height of `text` in `window`'s font.
SIZE LabelSize(HWND window, std::u16string_view text);

// Paints through `paint` on WM_PAINT (into the window's DC) and on WM_PRINTCLIENT (into the DC
// given); true when `message` was one of them.
template <class Painter>
bool PaintMessage(HWND window, UINT message, WPARAM wParam, Painter&& paint) {
    if (message == WM_PRINTCLIENT) {
        paint(reinterpret_cast<HDC>(wParam));
        return true;
    }
    if (message == WM_PAINT) {
        if (HDC dc = GetDC(window)) {
            paint(dc);
            ReleaseDC(window, dc);
        }
        return true;
    }
    return false;
}

std::u16string WindowText(HWND window);

} // namespace moltr::platform
