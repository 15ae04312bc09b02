#pragma once
// The process's GDI objects: fonts, bitmaps and device contexts, each kind in its own table whose
// handles carry the kind in bits 16-23 as the system's do. Stock objects are never deleted.
#include <windows.h>
#include <memory>
#include <mutex>

namespace moltr::platform {

struct GdiObject {
    virtual ~GdiObject() = default;
    bool stock = false;
    int selections = 0; // device contexts that have it selected
};

struct FontObject : GdiObject {
    LOGFONTW logFont{};
};

// A device-dependent bitmap: its size and format; the simulation keeps no pixels.
struct BitmapObject : GdiObject {
    LONG width = 0;
    LONG height = 0;
    WORD planes = 1;
    WORD bitsPixel = 1;
};

struct DcObject : GdiObject {
    bool memory = false; // from CreateCompatibleDC, else from GetDC
    HWND window = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr; // memory DCs only
};

// Every table access holds this lock.
std::mutex& GdiLock();

// The new object's handle, or null when its table is full.
HFONT InsertFont(std::shared_ptr<FontObject> font);
HBITMAP InsertBitmap(std::shared_ptr<BitmapObject> bitmap);
HDC InsertDc(std::shared_ptr<DcObject> dc);

FontObject* FindFont(HGDIOBJ handle);
BitmapObject* FindBitmap(HGDIOBJ handle);
DcObject* FindDc(HDC handle);
// Deletes a DC: deselects its objects and frees its handle.
void RemoveDc(HDC handle);

// The stock objects every new DC starts with: the system font and the 1 by 1 monochrome bitmap.
HFONT SystemFont();
HBITMAP DefaultBitmap();

// The font selected into a DC; false (with the last error set) for a handle that is no DC.
bool SelectedFont(HDC hdc, LOGFONTW& font);

} // namespace moltr::platform
