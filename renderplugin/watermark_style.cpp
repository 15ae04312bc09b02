#include "renderplugin/watermark_style.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace moltr::render {

namespace {

constexpr LONG kFullCircle = 3600;
constexpr LONG kQuarterTurn = 900;
constexpr LONG kHalfTurn = 1800;

BYTE Shaded(BYTE channel, DWORD shade) {
    DWORD s = std::min<DWORD>(shade, 255);
    return static_cast<BYTE>(255 - ((255 - channel) * (255 - s) / 255));
}

} // namespace

bool ReadWatermarkStyle(const SettingsView& settings, WatermarkStyle* style) {
    if (!settings.JobTextTerminated(L"_WMK_FONT", style->font, kWatermarkFontRoom) ||
        !settings.JobTextTerminated(L"_WMK_TEXT", style->text, kWatermarkTextRoom)) {
        return false;
    }
    style->size = settings.Job(L"_WMK_SIZE");
    style->angleMode = settings.Job(L"_WMK_ANGLE");
    style->degree = settings.Job(L"_WMK_DEGREE");
    style->colour = settings.Job(L"_WMK_COLOR");
    style->shade = settings.Job(L"_WMK_SHADE");
    style->style = settings.Job(L"_WMK_STYLE");
    style->firstPageOnly = settings.Job(L"_WMK_1STPAGEONLY") != 0;
    return true;
}

LONG WatermarkEscapement(const WatermarkStyle& style, ULONG width, ULONG height, DWORD nupCount,
                         bool booklet, DWORD pageCount) {
    // Settings are at most 16 bits wide; the modulo keeps any larger value in the circle.
    LONG degrees = static_cast<LONG>(style.degree % kFullCircle) * 10;
    LONG escapement = 0;
    if (style.angleMode == 1) {
        escapement = width != 0 ? static_cast<LONG>(std::atan(static_cast<double>(height) / width) *
                                                    180.0 / std::numbers::pi) *
                                      10
                                : degrees;
    } else if (style.angleMode == 3) {
        escapement = degrees;
    }
    if (nupCount == 2 || nupCount == 6) {
        escapement += kQuarterTurn;
    }
    if (booklet && pageCount % 2 == 1) {
        escapement += kHalfTurn;
    }
    return escapement % kFullCircle;
}

LONG WatermarkFontHeight(DWORD points, ULONG dpi, double scale, ULONG pageSide) {
    int em = MulDiv(static_cast<int>(std::min<DWORD>(points, 0xFFFF)),
                    static_cast<int>(std::min<ULONG>(dpi, 0xFFFF)), 72);
    // No taller than the page's longer side: a taller glyph shows nothing more on the page and
    // would only make GDI rasterise a giant bitmap.
    const double tallest = std::max<double>(std::min<ULONG>(pageSide, 0x7FFF), 1.0);
    double height = -static_cast<double>(em) * scale;
    return static_cast<LONG>(std::clamp(height, -tallest, tallest));
}

POINT WatermarkTextOffset(LONG textHeight, LONG escapement) {
    LONG half = -(textHeight / 2);
    double theta = escapement / 10.0 * std::numbers::pi / 180.0;
    return {static_cast<LONG>(std::sin(theta) * half), static_cast<LONG>(std::cos(theta) * half)};
}

RECT WatermarkTextBounds(POINT centre, SIZE extent, LONG escapement) {
    double theta = escapement / 10.0 * std::numbers::pi / 180.0;
    double c = std::fabs(std::cos(theta)), s = std::fabs(std::sin(theta));
    double margin = extent.cy / 2.0 + 4.0;
    LONG halfX = static_cast<LONG>((extent.cx * c + extent.cy * s) / 2.0 + margin);
    LONG halfY = static_cast<LONG>((extent.cx * s + extent.cy * c) / 2.0 + margin);
    return {centre.x - halfX, centre.y - halfY, centre.x + halfX, centre.y + halfY};
}

COLORREF WatermarkTextColour(COLORREF colour, DWORD shade) {
    BYTE red = GetRValue(colour);
    BYTE green = GetGValue(colour);
    BYTE blue = GetBValue(colour);
    if (red == green && green == blue) {
        red = green = blue = 0;
    }
    return RGB(Shaded(red, shade) | 0x0F, Shaded(green, shade) | 0x0F, Shaded(blue, shade) | 0x0F);
}

} // namespace moltr::render
