// LoadBitmapW: a bitmap resource as a device-dependent bitmap of the screen, its pixels converted
// from the resource's format.
#include "src/gdi32/gdi_dib_header.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/kernel32/resource_lookup.h"

#include <windows.h>
#include <cstring>

using namespace moltr::platform;

namespace {

// The resource's pixels as a DIB section would hold them, with its colour table (which lies
// between the header and the pixels). Only uncompressed DIBs with an info header are read.
bool ReadSource(const BYTE* data, const DibHeader& header, BitmapObject& source) {
    DWORD headerSize = 0;
    std::memcpy(&headerSize, data, sizeof headerSize);
    if (header.compression != BI_RGB || headerSize < sizeof(BITMAPINFOHEADER)) {
        return false;
    }
    source.section = true;
    source.width = header.width;
    source.bottomUp = header.height > 0;
    source.height = header.height < 0 ? -header.height : header.height;
    source.bitsPixel = header.bitCount;
    const size_t entries = (header.bitsOffset - headerSize) / sizeof(RGBQUAD);
    source.colours.resize(header.bitCount <= 8 ? entries : 0);
    if (!source.colours.empty()) {
        std::memcpy(source.colours.data(), data + headerSize,
                    source.colours.size() * sizeof(RGBQUAD));
    }
    const BYTE* bits = data + header.bitsOffset;
    source.pixels.assign(bits, bits + DibPixelBytes(header, source.height));
    return true;
}

// Fills the bitmap, pixel by pixel, with the colours of the resource's pixels.
void ConvertPixels(const BYTE* data, const DibHeader& header, BitmapObject& bitmap) {
    BitmapObject source;
    if (!ReadSource(data, header, source) || !EnsurePixels(bitmap)) {
        return;
    }
    for (LONG y = 0; y < bitmap.height; ++y) {
        for (LONG x = 0; x < bitmap.width; ++x) {
            WritePixel(bitmap, x, y, ValueOf(bitmap, ColourOf(source, ReadPixel(source, x, y))));
        }
    }
}

} // namespace

extern "C" HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName) {
    // The system's predefined bitmaps (OBM_) are not part of the simulated desktop.
    if (!hInstance) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    DWORD error = ERROR_SUCCESS;
    const ResourceEntry* entry =
        FindResourceEntry(hInstance, RT_BITMAP, lpBitmapName, LANG_NEUTRAL, error);
    if (!entry) {
        SetLastError(error);
        return nullptr;
    }
    DibHeader header;
    if (!ParseDibHeader(entry->data, entry->size, header) ||
        header.bitsOffset + DibPixelBytes(header, header.height) > entry->size) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->width = header.width;
    bitmap->height = header.height < 0 ? -header.height : header.height;
    // Colour bitmaps take the screen's format; monochrome ones stay monochrome.
    bitmap->bitsPixel = header.bitCount == 1 ? 1 : 32;
    if (header.bitCount == 1) {
        bitmap->colours = MonochromeColours();
    }
    ConvertPixels(entry->data, header, *bitmap);
    std::lock_guard guard(GdiLock());
    const HBITMAP handle = InsertBitmap(std::move(bitmap));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}
