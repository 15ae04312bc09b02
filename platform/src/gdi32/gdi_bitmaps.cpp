// Bitmaps: CreateBitmap, CreateCompatibleBitmap, CreateDIBSection, GetObjectW, SetPixel and
// GetPixel.
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/gdi32/gdi_surface.h"

#include <windows.h>
#include <algorithm>
#include <cstring>

using namespace moltr::platform;

namespace {

constexpr LONG kMaxDimension = 0x10000;
constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);

bool KnownDepth(UINT bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool SizeFits(LONG width, LONG height) {
    return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension;
}

HBITMAP Insert(std::shared_ptr<BitmapObject> bitmap) {
    const HBITMAP handle = InsertBitmap(std::move(bitmap));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}

// The format a DC's drawing surface has: a memory DC's bitmap, else the 32-bit screen.
void FormatOf(const DcObject& dc, BitmapObject& bitmap) {
    const BitmapObject* selected = dc.memory ? FindBitmap(dc.bitmap) : nullptr;
    bitmap.bitsPixel = selected ? selected->bitsPixel : 32;
    bitmap.colours = selected ? selected->colours : std::vector<RGBQUAD>{};
}

// The colour table of a DIB of up to 8 bits: biClrUsed entries, or all the depth has.
bool ReadColourTable(const BITMAPINFO& info, BitmapObject& bitmap) {
    const BITMAPINFOHEADER& header = info.bmiHeader;
    if (header.biBitCount > 8) {
        return true;
    }
    const DWORD most = DWORD{1} << header.biBitCount;
    if (header.biClrUsed > most) {
        return false;
    }
    const DWORD count = header.biClrUsed ? header.biClrUsed : most;
    bitmap.colours.assign(info.bmiColors, info.bmiColors + count);
    bitmap.colours.resize(most, RGBQUAD{0, 0, 0, 0});
    return true;
}

bool ValidDibHeader(const BITMAPINFOHEADER& header) {
    const LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    return header.biSize >= kInfoHeaderSize && header.biPlanes == 1 &&
           header.biCompression == BI_RGB && header.biBitCount != 4 &&
           KnownDepth(header.biBitCount) && header.biHeight != LONG{INT32_MIN} &&
           SizeFits(header.biWidth, height);
}

void DescribeBitmap(const BitmapObject& bitmap, BITMAP& info) {
    info = {};
    info.bmWidth = bitmap.width;
    info.bmHeight = bitmap.height;
    info.bmWidthBytes = static_cast<LONG>(BitmapStride(bitmap));
    info.bmPlanes = bitmap.planes;
    info.bmBitsPixel = bitmap.bitsPixel;
    // Only a DIB section shows its pixels to the caller.
    info.bmBits = bitmap.section ? const_cast<BYTE*>(bitmap.pixels.data()) : nullptr;
}

int DescribeSection(const BitmapObject& bitmap, DIBSECTION& section) {
    section = {};
    DescribeBitmap(bitmap, section.dsBm);
    BITMAPINFOHEADER& header = section.dsBmih;
    header.biSize = kInfoHeaderSize;
    header.biWidth = bitmap.width;
    header.biHeight = bitmap.bottomUp ? bitmap.height : -bitmap.height;
    header.biPlanes = 1;
    header.biBitCount = bitmap.bitsPixel;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(bitmap.pixels.size());
    header.biClrUsed = static_cast<DWORD>(bitmap.colours.size());
    return sizeof(DIBSECTION);
}

} // namespace

extern "C" {

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                            const VOID* lpBits) {
    if (!SizeFits(nWidth, nHeight) || nPlanes != 1 || !KnownDepth(nBitCount)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->width = nWidth;
    bitmap->height = nHeight;
    bitmap->bitsPixel = static_cast<WORD>(nBitCount);
    if (nBitCount == 1) {
        bitmap->colours = MonochromeColours();
    }
    if (!EnsurePixels(*bitmap)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // The rows come in the device-dependent form: top-down, padded to words.
    if (lpBits) {
        std::memcpy(bitmap->pixels.data(), lpBits, bitmap->pixels.size());
    }
    std::lock_guard guard(GdiLock());
    return Insert(std::move(bitmap));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    std::lock_guard guard(GdiLock());
    const DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // An empty size gives the stock 1 by 1 monochrome bitmap.
    if (cx == 0 || cy == 0) {
        return DefaultBitmap();
    }
    if (!SizeFits(cx, cy)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->width = cx;
    bitmap->height = cy;
    FormatOf(*dc, *bitmap);
    return Insert(std::move(bitmap));
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits,
                                HANDLE hSection, DWORD offset) {
    if (ppvBits) {
        *ppvBits = nullptr;
    }
    if (!pbmi || usage != DIB_RGB_COLORS || hSection || offset ||
        !ValidDibHeader(pbmi->bmiHeader)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->section = true;
    bitmap->width = pbmi->bmiHeader.biWidth;
    bitmap->bottomUp = pbmi->bmiHeader.biHeight > 0;
    bitmap->height = bitmap->bottomUp ? pbmi->bmiHeader.biHeight : -pbmi->bmiHeader.biHeight;
    bitmap->bitsPixel = pbmi->bmiHeader.biBitCount;
    if (!ReadColourTable(*pbmi, *bitmap)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!EnsurePixels(*bitmap)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::lock_guard guard(GdiLock());
    if (hdc && !FindDc(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    BYTE* bits = bitmap->pixels.data();
    const HBITMAP handle = Insert(std::move(bitmap));
    if (handle && ppvBits) {
        *ppvBits = bits;
    }
    return handle;
}

int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv) {
    std::lock_guard guard(GdiLock());
    if (const FontObject* font = FindFont(h)) {
        if (!pv) {
            return sizeof(LOGFONTW);
        }
        // A font's description may be asked for in part.
        const int size = std::clamp(c, 0, static_cast<int>(sizeof(LOGFONTW)));
        std::memcpy(pv, &font->logFont, static_cast<size_t>(size));
        return size;
    }
    if (const BitmapObject* bitmap = FindBitmap(h)) {
        // A DIB section describes itself in full when the buffer holds a DIBSECTION.
        if (bitmap->section && pv && c >= static_cast<int>(sizeof(DIBSECTION))) {
            return DescribeSection(*bitmap, *static_cast<DIBSECTION*>(pv));
        }
        if (!pv) {
            return sizeof(BITMAP);
        }
        if (c < static_cast<int>(sizeof(BITMAP))) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        DescribeBitmap(*bitmap, *static_cast<BITMAP*>(pv));
        return sizeof(BITMAP);
    }
    if (const BrushObject* brush = FindBrush(h)) {
        if (pv && c < static_cast<int>(sizeof(LOGBRUSH))) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (pv) {
            *static_cast<LOGBRUSH*>(pv) = {brush->style, brush->colour, 0};
        }
        return sizeof(LOGBRUSH);
    }
    if (const PenObject* pen = FindPen(h)) {
        if (pv && c < static_cast<int>(sizeof(LOGPEN))) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (pv) {
            *static_cast<LOGPEN*>(pv) = {pen->style, {pen->width, 0}, pen->colour};
        }
        return sizeof(LOGPEN);
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return CLR_INVALID;
    }
    const POINT at = ToDevice(target.dc->state, {x, y});
    if (!Visible(target, at.x, at.y)) {
        return CLR_INVALID;
    }
    // The answer is the colour the pixel took: the nearest the format has.
    const DWORD value = ValueOf(*target.bitmap, color & 0x00FFFFFF);
    WritePixel(*target.bitmap, at.x, at.y, value);
    return ColourOf(*target.bitmap, value);
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return CLR_INVALID;
    }
    const POINT at = ToDevice(target.dc->state, {x, y});
    if (!Visible(target, at.x, at.y)) {
        return CLR_INVALID;
    }
    return ColourOf(*target.bitmap, ReadPixel(*target.bitmap, at.x, at.y));
}
}
