#pragma once
// What the common controls paint with: the desktop's colours, raised and sunken frames, and
// labels in the control's font, all through the GDI calls of the platform.
#include "src/user32/user_system_colours.h"

#include <windows.h>
#include <string>

namespace moltr::platform {

namespace colours {
constexpr COLORREF kFace = SystemColour(COLOR_3DFACE);
constexpr COLORREF kWindow = SystemColour(COLOR_WINDOW);
constexpr COLORREF kLight = SystemColour(COLOR_3DHILIGHT);
constexpr COLORREF kShadow = SystemColour(COLOR_3DSHADOW);
constexpr COLORREF kDarkShadow = SystemColour(COLOR_3DDKSHADOW);
constexpr COLORREF kText = SystemColour(COLOR_WINDOWTEXT);
constexpr COLORREF kGrayText = SystemColour(COLOR_GRAYTEXT);
constexpr COLORREF kHighlight = SystemColour(COLOR_HIGHLIGHT);
constexpr COLORREF kHighlightText = SystemColour(COLOR_HIGHLIGHTTEXT);
constexpr COLORREF kInfo = SystemColour(COLOR_INFOBK);
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

// Paints through `paint` on WM_PAINT (between BeginPaint and EndPaint, which validate the
// window) and on WM_PRINTCLIENT (into the DC given); true when `message` was one of them.
template <class Painter>
bool PaintMessage(HWND window, UINT message, WPARAM wParam, Painter&& paint) {
    if (message == WM_PRINTCLIENT) {
        paint(reinterpret_cast<HDC>(wParam));
        return true;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT painting;
        if (HDC dc = BeginPaint(window, &painting)) {
            paint(dc);
            EndPaint(window, &painting);
        }
        return true;
    }
    return false;
}

std::u16string WindowText(HWND window);

} // namespace moltr::platform
