#pragma once
// The pixels of a bitmap in its own format: a native value is a colour-table index for 1-, 4- and
// 8-bit bitmaps and 0x00RRGGBB (blue in the low byte, as stored) for 16-, 24- and 32-bit ones.
#include "src/gdi32/gdi_objects.h"

#include <windows.h>
#include <vector>

namespace moltr::platform {

// The two colours of a monochrome bitmap: 0 is black, 1 is white.
std::vector<RGBQUAD> MonochromeColours();

// The bytes of one row: device-dependent bitmaps pad to words, DIB sections to DWORDs.
size_t BitmapStride(const BitmapObject& bitmap);
// Gives a bitmap without pixels its rows, all zero; false when they cannot be had.
bool EnsurePixels(BitmapObject& bitmap);

// Both need pixels (EnsurePixels) and a point inside the bitmap.
DWORD ReadPixel(const BitmapObject& bitmap, LONG x, LONG y);
void WritePixel(BitmapObject& bitmap, LONG x, LONG y, DWORD value);

COLORREF ColourOf(const BitmapObject& bitmap, DWORD value);
// The native value closest to `colour`: the nearest colour-table entry, or the colour itself.
DWORD ValueOf(const BitmapObject& bitmap, COLORREF colour);
// The bits a native value uses.
DWORD ValueMask(const BitmapObject& bitmap);
// Whether bitmaps of this format are converted by the monochrome rule (background colour).
bool IsMonochrome(const BitmapObject& bitmap);

} // namespace moltr::platform
