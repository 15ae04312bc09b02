#pragma once
// The dialog base units a dialog's font gives the window manager: derived from the logical font
// alone, so that dialog layouts are the same on every run and machine and match the units Windows
// gives for "MS Shell Dlg". Text drawn and measured through GDI uses real faces.
#include <windows.h>

namespace moltr::platform {

// From the logical font, in device units:
// - em height: -lfHeight for a negative height (character height); for a positive one (cell
//   height) five sixths of it; 12 for 0, the default size; limited to 1 .. 16384;
// - y, the cell height: a positive lfHeight itself, else six fifths of the em height;
// - average character width: 9/20 of the em height, at least 1, one more for weights from
//   FW_SEMIBOLD; the upper-case letters, m and w are one wider, the other letters the average;
// - x: the average width of the 52 letters A-Z and a-z, rounded.
// So "MS Shell Dlg" at 8 points on a 96 dpi screen (lfHeight -11) is 13 high, 5 wide on average,
// and gives the dialog base units 6 and 13, as on Windows.
struct DialogBaseUnits {
    LONG x = 0;
    LONG y = 0;
};

DialogBaseUnits DialogBaseUnitsOf(const LOGFONTW& font);

} // namespace moltr::platform
