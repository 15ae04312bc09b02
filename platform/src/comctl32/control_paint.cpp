// Painting helpers of the common controls.
#include "src/comctl32/control_paint.h"

#include "sim/utf.h"

namespace moltr::platform {

HFONT FontOf(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

namespace {

// Selects a window's font into a DC for as long as it lives.
class FontScope {
public:
    FontScope(HDC dc, HWND window) : dc_(dc), previous_(SelectObject(dc, FontOf(window))) {}
    ~FontScope() { SelectObject(dc_, previous_); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace

void FillArea(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void Frame3D(HDC dc, const RECT& area, bool raised) {
    const COLORREF topLeft = raised ? colours::kLight : colours::kShadow;
    const COLORREF bottomRight = raised ? colours::kShadow : colours::kLight;
    const int right = area.right - 1;
    const int bottom = area.bottom - 1;
    Line(dc, area.left, bottom, area.left, area.top, topLeft);
    Line(dc, area.left, area.top, right, area.top, topLeft);
    Line(dc, right, area.top, right, bottom, bottomRight);
    Line(dc, right, bottom, area.left - 1, bottom, bottomRight);
}

void FrameLine(HDC dc, const RECT& area, COLORREF colour) {
    const int right = area.right - 1;
    const int bottom = area.bottom - 1;
    Line(dc, area.left, area.top, right, area.top, colour);
    Line(dc, right, area.top, right, bottom, colour);
    Line(dc, right, bottom, area.left, bottom, colour);
    Line(dc, area.left, bottom, area.left, area.top, colour);
}

SIZE LabelSize(HWND window, std::u16string_view text) {
    SIZE size{};
    HDC dc = GetDC(nullptr);
    if (!dc) {
        return size;
    }
    {
        FontScope font(dc, window);
        GetTextExtentPoint32W(dc, reinterpret_cast<const WCHAR*>(text.data()),
                              static_cast<int>(text.size()), &size);
    }
    ReleaseDC(nullptr, dc);
    return size;
}

void DrawLabel(HDC dc, HWND window, std::u16string_view text, const RECT& area, COLORREF colour,
               Align align) {
    FontScope font(dc, window);
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const WCHAR*>(text.data()),
                          static_cast<int>(text.size()), &size);
    const int x = align == Align::Centre ? (area.left + area.right - size.cx) / 2 : area.left;
    const int y = (area.top + area.bottom - size.cy) / 2;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &area, reinterpret_cast<const WCHAR*>(text.data()),
                static_cast<UINT>(text.size()), nullptr);
}

std::u16string WindowText(HWND window) {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, sim::W(text), static_cast<int>(text.size()))));
    return text;
}

} // namespace moltr::platform
