#pragma once
// The metric of the dialog font behind the window manager's dialog base units: derived from the
// logical font alone, so that dialog layouts are the same on every run and machine and match the
// units Windows gives for "MS Shell Dlg". Text drawn and measured through GDI uses real faces.
#include <windows.h>
#include <string_view>

namespace moltr::platform {

// The metric of a realised font, in device units:
// - em height: -lfHeight for a negative height (character height); for a positive one (cell
//   height) five sixths of it; 12 for 0, the default size; limited to 1 .. 16384;
// - cell height (tmHeight): a positive lfHeight itself, else six fifths of the em height;
//   ascent four fifths of the cell, descent the rest, internal leading cell less em, no external
//   leading;
// - average character width: 9/20 of the em height, at least 1, one more for weights from
//   FW_SEMIBOLD; maximum width twice the average.
// Character widths: space and the punctuation . , : ; ' ! | ` half the average (at least 1); upper-
// case A-Z, m and w one more than the average; every other UTF-16 unit the average. So "MS Shell
// Dlg" at 8 points on a 96 dpi screen (lfHeight -11) is 13 high, 5 wide on average, and gives the
// dialog base units 6 and 13, as on Windows.
struct FontMetric {
    LONG height = 0;
    LONG ascent = 0;
    LONG descent = 0;
    LONG internalLeading = 0;
    LONG aveCharWidth = 0;
    LONG maxCharWidth = 0;
    LONG weight = 0;
};

FontMetric MetricOf(const LOGFONTW& font);
LONG CharWidth(const FontMetric& metric, WCHAR c);
// Widths add up; the sum saturates at the largest LONG.
LONG TextWidth(const FontMetric& metric, std::u16string_view text);

} // namespace moltr::platform
