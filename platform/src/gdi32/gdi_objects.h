#pragma once
// The process's GDI objects: fonts, bitmaps, brushes, pens, regions and device contexts, each kind
// in its own table whose handles carry the kind in bits 16-23 as the system's do. Stock objects
// are never deleted.
#include <windows.h>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace moltr::platform {

struct GdiObject {
    virtual ~GdiObject() = default;
    bool stock = false;
    int selections = 0; // device contexts (or their saved states) that have it selected
};

class RealisedFont;

struct FontObject : GdiObject {
    LOGFONTW logFont{};                           // heights and widths in logical units
    std::shared_ptr<const RealisedFont> realised; // made when first measured or drawn
    LOGFONTW realisedAs{};                        // the device font `realised` was made for
};

// A bitmap: its size and format and, once drawn on or given pixels, its rows. Device-dependent
// bitmaps pad rows to words and keep them top-down; DIB sections pad to DWORDs and keep the order
// their header asked for, in memory the caller reads through the bits pointer.
struct BitmapObject : GdiObject {
    LONG width = 0;
    LONG height = 0;
    WORD planes = 1;
    WORD bitsPixel = 1;
    bool section = false;
    bool bottomUp = false;
    std::vector<RGBQUAD> colours; // the colour table of 1- and 8-bit bitmaps
    std::vector<BYTE> pixels;     // empty until the bitmap is first drawn on
};

struct BrushObject : GdiObject {
    UINT style = BS_SOLID;
    COLORREF colour = 0;
};

struct PenObject : GdiObject {
    UINT style = PS_SOLID;
    LONG width = 0; // 0 and 1 draw one pixel wide
    COLORREF colour = 0;
};

// A region as disjoint rectangles, so that every pixel in it is visited once.
struct RegionObject : GdiObject {
    std::vector<RECT> rects;
};

// What SaveDC keeps and RestoreDC brings back.
struct DcState {
    HFONT font = nullptr;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF bkColour = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    POINT position{};                      // logical
    std::optional<std::vector<RECT>> clip; // in device pixels; none: the whole surface
    int mapMode = MM_TEXT;
    POINT windowOrg{};
    SIZE windowExt{1, 1};
    POINT viewportOrg{};
    SIZE viewportExt{1, 1};
};

struct DcObject : GdiObject {
    bool memory = false; // from CreateCompatibleDC, else from GetDC
    HWND window = nullptr;
    HBITMAP bitmap = nullptr; // memory DCs only
    DcState state;
    std::vector<DcState> saved;
};

// Every table access holds this lock.
std::mutex& GdiLock();

// The new object's handle, or null when its table is full.
HFONT InsertFont(std::shared_ptr<FontObject> font);
HBITMAP InsertBitmap(std::shared_ptr<BitmapObject> bitmap);
HBRUSH InsertBrush(std::shared_ptr<BrushObject> brush);
HPEN InsertPen(std::shared_ptr<PenObject> pen);
HRGN InsertRegion(std::shared_ptr<RegionObject> region);
HDC InsertDc(std::shared_ptr<DcObject> dc);

FontObject* FindFont(HGDIOBJ handle);
BitmapObject* FindBitmap(HGDIOBJ handle);
BrushObject* FindBrush(HGDIOBJ handle);
PenObject* FindPen(HGDIOBJ handle);
RegionObject* FindRegion(HGDIOBJ handle);
DcObject* FindDc(HDC handle);
// Deletes a DC: deselects its objects and frees its handle.
void RemoveDc(HDC handle);

// The stock objects every new DC starts with: the system font, the white brush, the black pen
// and the 1 by 1 monochrome bitmap.
HFONT SystemFont();
HBITMAP DefaultBitmap();
HGDIOBJ StockObject(int index);

// Counts the selections of a saved state, as RestoreDC may select its objects again.
void HoldState(const DcState& state);
void ReleaseState(const DcState& state);

// The selected font as drawn; null, with the last error set, for no DC or when no face can be had.
// The lock is held.
std::shared_ptr<const RealisedFont> RealisedFontOf(const DcObject& dc);

} // namespace moltr::platform
