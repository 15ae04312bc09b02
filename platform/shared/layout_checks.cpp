// Sizes and offsets of the Windows structures the product relies on, the same in both builds.
#include <windows.h>

#include <cstddef>

static_assert(sizeof(WCHAR) == 2);
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4);
static_assert(sizeof(HANDLE) == 8 && sizeof(ULONG_PTR) == 8);
static_assert(sizeof(GUID) == 16);

// The public device mode: the merge and repair code reads and writes these fields in place.
static_assert(sizeof(DEVMODEW) == 220);
static_assert(offsetof(DEVMODEW, dmSpecVersion) == 64);
static_assert(offsetof(DEVMODEW, dmSize) == 68);
static_assert(offsetof(DEVMODEW, dmDriverExtra) == 70);
static_assert(offsetof(DEVMODEW, dmFields) == 72);
static_assert(offsetof(DEVMODEW, dmOrientation) == 76);
static_assert(offsetof(DEVMODEW, dmPaperSize) == 78);
static_assert(offsetof(DEVMODEW, dmPaperLength) == 80);
static_assert(offsetof(DEVMODEW, dmPaperWidth) == 82);
static_assert(offsetof(DEVMODEW, dmScale) == 84);
static_assert(offsetof(DEVMODEW, dmCopies) == 86);
static_assert(offsetof(DEVMODEW, dmDefaultSource) == 88);
static_assert(offsetof(DEVMODEW, dmPrintQuality) == 90);
static_assert(offsetof(DEVMODEW, dmColor) == 92);
static_assert(offsetof(DEVMODEW, dmDuplex) == 94);
static_assert(offsetof(DEVMODEW, dmYResolution) == 96);
static_assert(offsetof(DEVMODEW, dmTTOption) == 98);
static_assert(offsetof(DEVMODEW, dmCollate) == 100);
static_assert(offsetof(DEVMODEW, dmFormName) == 102);
static_assert(offsetof(DEVMODEW, dmLogPixels) == 166);
static_assert(offsetof(DEVMODEW, dmNup) == 180);
static_assert(offsetof(DEVMODEW, dmMediaType) == 196);
static_assert(offsetof(DEVMODEW, dmDitherType) == 200);

// Fonts and text metrics: the resources object builds and measures its dialog font.
static_assert(sizeof(LOGFONTW) == 92);
static_assert(offsetof(LOGFONTW, lfCharSet) == 23);
static_assert(offsetof(LOGFONTW, lfFaceName) == 28);
static_assert(sizeof(TEXTMETRICW) == 60);
static_assert(offsetof(TEXTMETRICW, tmFirstChar) == 44);
static_assert(offsetof(TEXTMETRICW, tmCharSet) == 56);

// Bitmaps: the render plug-in stamps watermarks into the bands that Unidrv describes this way.
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAPINFO) == 44);
static_assert(sizeof(RGBQUAD) == 4);
static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(BITMAP) == 32);
static_assert(sizeof(DIBSECTION) == 104);

// Dialog templates: the resources object walks and rebuilds them byte by byte.
static_assert(sizeof(DLGTEMPLATE) == 18);
static_assert(offsetof(DLGTEMPLATE, cdit) == 8);
static_assert(offsetof(DLGTEMPLATE, x) == 10);
static_assert(sizeof(DLGITEMTEMPLATE) == 18);
static_assert(offsetof(DLGITEMTEMPLATE, id) == 16);

static_assert(sizeof(MSG) == 48);
static_assert(sizeof(NMHDR) == 24);
static_assert(sizeof(WNDCLASSW) == 72);
static_assert(sizeof(WNDCLASSEXW) == 80);
static_assert(sizeof(PAINTSTRUCT) == 72);
static_assert(sizeof(DRAWITEMSTRUCT) == 64);
static_assert(sizeof(HELPINFO) == 40);
