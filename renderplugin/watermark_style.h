#pragma once
// The watermark as the job's settings describe it, and the rules that turn those settings into
// drawing: the escapement, the font height, the offset that centres the text on its anchor and
// the colour after shading.
#include <windows.h>
#include "renderplugin/settings_view.h"

namespace moltr::render {

inline constexpr DWORD kWatermarkTextRoom = 64;
inline constexpr DWORD kWatermarkFontRoom = 32;

struct WatermarkStyle {
    WCHAR text[kWatermarkTextRoom] = {};
    WCHAR font[kWatermarkFontRoom] = {};
    DWORD size = 0;
    DWORD angleMode = 0;
    DWORD degree = 0;
    COLORREF colour = 0;
    DWORD shade = 0;
    DWORD style = 0;
    bool firstPageOnly = false;
};

// The job's watermark; false when its text or face name holds no NUL within its field.
bool ReadWatermarkStyle(const SettingsView& settings, WatermarkStyle* style);

// Escapement in tenths of a degree, 0-3599, for a page of `width` by `height` pixels.
LONG WatermarkEscapement(const WatermarkStyle& style, ULONG width, ULONG height, DWORD nupCount,
                         bool booklet, DWORD pageCount);

// LOGFONTW height (negative: the em height) for `dpi` and the layout's scale, never taller than
// `pageSide` pixels (the page's longer side).
LONG WatermarkFontHeight(DWORD points, ULONG dpi, double scale, ULONG pageSide);

// The offset from the anchor that centres text `textHeight` high along `escapement`.
POINT WatermarkTextOffset(LONG textHeight, LONG escapement);

// The rectangle that text of `extent` centred on `centre` along `escapement` can ink within the
// rows from `top` to `bottom`, with room for overhangs (italics, descenders, rounding); empty
// when the text does not reach those rows.
RECT WatermarkTextBounds(POINT centre, SIZE extent, LONG escapement, LONG top, LONG bottom);

// The text colour: greys print black, the shade lightens towards white, each channel keeps its
// low four bits set.
COLORREF WatermarkTextColour(COLORREF colour, DWORD shade);

} // namespace moltr::render
