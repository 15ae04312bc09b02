#include "uiplugin/engine/page_preview.h"

#include <strsafe.h>
#include <cstdio>
#include <cstring>
#include "uiplugin/engine/mock_page.h"
#include "uiplugin/engine/preview_layout.h"
#include "uiplugin/engine/selected_object.h"

namespace moltr::ui {
namespace {

constexpr double kUnitsPerInch = 600.0;
constexpr double kMillimetresPerInch = 25.4;
// The caption box: the text plus 8 by 4 pixels, 2 pixels under the sheet.
constexpr LONG kCaptionPadX = 8;
constexpr LONG kCaptionPadY = 4;
constexpr LONG kCaptionDrop = 2;

// One side as the caption shows it: whole millimetres, or inches to two places without the
// trailing zeros and point (8.50 is 8.5; 11.00 is 11).
void SideText(LONG value, DWORD units, WCHAR (&text)[16]) {
    char digits[32];
    if (units == kPreviewUnitMillimetres) {
        std::snprintf(digits, sizeof digits, "%1.0lf", value / kUnitsPerInch * kMillimetresPerInch);
    } else {
        std::snprintf(digits, sizeof digits, "%1.2lf", value / kUnitsPerInch);
        size_t end = std::strlen(digits);
        while (end > 0 && digits[end - 1] == '0') {
            --end;
        }
        if (end > 0 && digits[end - 1] == '.') {
            --end;
        }
        digits[end] = '\0';
    }
    size_t i = 0;
    for (; i < std::size(text) - 1 && digits[i] != '\0'; ++i) {
        text[i] = static_cast<WCHAR>(digits[i]);
    }
    text[i] = L'\0';
}

// The caption in a box under the sheet (or at the control's bottom when it does not fit there),
// in device pixels.
void DrawCaption(HDC dc, const RECT& client, const RECT& sheet, LPCWSTR caption, bool rtl) {
    const int length = lstrlenW(caption);
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT), false);
    SIZE size{};
    if (length == 0 || !GetTextExtentPoint32W(dc, caption, length, &size)) {
        return;
    }
    const LONG width = size.cx + kCaptionPadX;
    const LONG height = size.cy + kCaptionPadY;
    const LONG left = (sheet.left + sheet.right) / 2 - width / 2;
    LONG top = sheet.bottom + kCaptionDrop;
    if (top + height > client.bottom) {
        top = client.bottom - height;
    }
    SelectedObject brush(dc, GetSysColorBrush(COLOR_INFOBK), false);
    Rectangle(dc, left, top, left + width, top + height);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    ExtTextOutW(dc, left + kCaptionPadX / 2, top + kCaptionPadY / 2, rtl ? ETO_RTLREADING : 0,
                nullptr, caption, static_cast<UINT>(length), nullptr);
}

// The sheet and its pages under the isotropic mapping; the sheet in device pixels.
RECT DrawSheet(HDC dc, const RECT& client, const PreviewState& state, const PreviewLayout& layout,
               const WatermarkRecord& watermark) {
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, layout.window, layout.window, nullptr);
    SetViewportExtEx(dc, client.right - client.left, client.bottom - client.top, nullptr);
    SetViewportOrgEx(dc, client.left, client.top, nullptr);
    IntersectClipRect(dc, 0, 0, layout.extent.cx, layout.extent.cy);
    {
        SelectedObject brush(dc, GetStockObject(WHITE_BRUSH), false);
        SelectedObject pen(dc, GetStockObject(BLACK_PEN), false);
        Rectangle(dc, layout.sheet.left, layout.sheet.top, layout.sheet.right, layout.sheet.bottom);
    }
    for (size_t i = 0; i < layout.cells.size(); ++i) {
        DrawMockPage(dc, state, layout, watermark, i);
    }
    POINT corners[2] = {{layout.sheet.left, layout.sheet.top},
                        {layout.sheet.right, layout.sheet.bottom}};
    LPtoDP(dc, corners, 2);
    RestoreDC(dc, saved);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

} // namespace

void PreviewCaption(const PreviewState& state, LPCWSTR separator, LPCWSTR unit,
                    WCHAR (&caption)[kPreviewCaptionRoom]) {
    const bool turned = IsLandscape(state);
    WCHAR first[16];
    WCHAR second[16];
    SideText(turned ? state.paperLength : state.paperWidth, state.units, first);
    SideText(turned ? state.paperWidth : state.paperLength, state.units, second);
    StringCchPrintfW(caption, kPreviewCaptionRoom, L"%s%s%s%s", first, separator ? separator : L"",
                     second, unit ? unit : L"");
}

void PaintPagePreview(HDC dc, const RECT& client, const PreviewState& state,
                      const WatermarkRecord& watermark, LPCWSTR caption) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const PreviewLayout layout =
        LayOutPreview(state, client.right - client.left, client.bottom - client.top);
    if (layout.window == 0) {
        return;
    }
    const int saved = SaveDC(dc);
    const RECT sheet = DrawSheet(dc, client, state, layout, watermark);
    DrawCaption(dc, client, sheet, caption, state.rightToLeftText);
    RestoreDC(dc, saved);
}

} // namespace moltr::ui
