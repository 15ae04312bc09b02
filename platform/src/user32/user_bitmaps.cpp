// LoadBitmapW: a bitmap resource as a device-dependent bitmap of the screen.
#include "src/gdi32/gdi_dib_header.h"
#include "src/gdi32/gdi_objects.h"
#include "src/kernel32/resource_lookup.h"

#include <windows.h>

using namespace moltr::platform;

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
    std::lock_guard guard(GdiLock());
    const HBITMAP handle = InsertBitmap(std::move(bitmap));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}
