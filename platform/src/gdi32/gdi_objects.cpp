// The GDI object tables and the calls common to every kind of object: SelectObject, DeleteObject
// and GetObjectW.
#include "src/gdi32/gdi_objects.h"
#include "src/core/object_table.h"
#include "sim/windows_admin.h"

#include <algorithm>
#include <cstring>

namespace moltr::platform {
namespace {

// The kinds as the system's handles carry them.
constexpr ULONG_PTR kDcTag = 0x01;
constexpr ULONG_PTR kBitmapTag = 0x05;
constexpr ULONG_PTR kFontTag = 0x0A;

struct Tables {
    std::mutex lock;
    ObjectTable<FontObject> fonts{kFontTag};
    ObjectTable<BitmapObject> bitmaps{kBitmapTag};
    ObjectTable<DcObject> dcs{kDcTag};
    HFONT systemFont = nullptr;
    HBITMAP defaultBitmap = nullptr;
};

ULONG_PTR ValueOf(const void* handle) {
    return reinterpret_cast<ULONG_PTR>(handle);
}

ULONG_PTR TagOf(const void* handle) {
    return (ValueOf(handle) >> 16) & 0xFF;
}

Tables& TheTables() {
    // Never destroyed: objects may be released while the process exits.
    static Tables* tables = [] {
        auto* made = new Tables;
        auto font = std::make_shared<FontObject>();
        font->stock = true;
        font->logFont.lfHeight = 16;
        font->logFont.lfWeight = FW_BOLD;
        std::memcpy(font->logFont.lfFaceName, u"System", sizeof(u"System"));
        made->systemFont = reinterpret_cast<HFONT>(made->fonts.Insert(std::move(font)));
        auto bitmap = std::make_shared<BitmapObject>();
        bitmap->stock = true;
        bitmap->width = 1;
        bitmap->height = 1;
        made->defaultBitmap = reinterpret_cast<HBITMAP>(made->bitmaps.Insert(std::move(bitmap)));
        return made;
    }();
    return *tables;
}

GdiObject* FindObject(HGDIOBJ handle) {
    switch (TagOf(handle)) {
    case kFontTag:
        return TheTables().fonts.Find(ValueOf(handle));
    case kBitmapTag:
        return TheTables().bitmaps.Find(ValueOf(handle));
    case kDcTag:
        return TheTables().dcs.Find(ValueOf(handle));
    default:
        return nullptr;
    }
}

// Moves a DC's selection of one kind from `slot` to `object`; returns the previous one.
template <class H> H Reselect(H& slot, H object) {
    H previous = slot;
    if (previous != object) {
        FindObject(previous)->selections--;
        FindObject(object)->selections++;
        slot = object;
    }
    return previous;
}

} // namespace

std::mutex& GdiLock() {
    return TheTables().lock;
}

HFONT InsertFont(std::shared_ptr<FontObject> font) {
    return reinterpret_cast<HFONT>(TheTables().fonts.Insert(std::move(font)));
}

HBITMAP InsertBitmap(std::shared_ptr<BitmapObject> bitmap) {
    return reinterpret_cast<HBITMAP>(TheTables().bitmaps.Insert(std::move(bitmap)));
}

HDC InsertDc(std::shared_ptr<DcObject> dc) {
    dc->font = SystemFont();
    FindObject(dc->font)->selections++;
    if (dc->memory) {
        dc->bitmap = DefaultBitmap();
        FindObject(dc->bitmap)->selections++;
    }
    const HDC handle = reinterpret_cast<HDC>(TheTables().dcs.Insert(dc));
    if (!handle) {
        FindObject(dc->font)->selections--;
        if (dc->bitmap) {
            FindObject(dc->bitmap)->selections--;
        }
    }
    return handle;
}

FontObject* FindFont(HGDIOBJ handle) {
    return TagOf(handle) == kFontTag ? TheTables().fonts.Find(ValueOf(handle)) : nullptr;
}

BitmapObject* FindBitmap(HGDIOBJ handle) {
    return TagOf(handle) == kBitmapTag ? TheTables().bitmaps.Find(ValueOf(handle)) : nullptr;
}

DcObject* FindDc(HDC handle) {
    return TagOf(handle) == kDcTag ? TheTables().dcs.Find(ValueOf(handle)) : nullptr;
}

void RemoveDc(HDC handle) {
    std::shared_ptr<DcObject> dc = TheTables().dcs.Remove(ValueOf(handle));
    FindObject(dc->font)->selections--;
    if (dc->bitmap) {
        FindObject(dc->bitmap)->selections--;
    }
}

HFONT SystemFont() {
    return TheTables().systemFont;
}

HBITMAP DefaultBitmap() {
    return TheTables().defaultBitmap;
}

bool SelectedFont(HDC hdc, LOGFONTW& font) {
    std::lock_guard guard(GdiLock());
    const DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    font = FindFont(dc->font)->logFont;
    return true;
}

} // namespace moltr::platform

namespace moltr::sim {

size_t GdiObjectCount() {
    using namespace moltr::platform;
    Tables& tables = TheTables();
    std::lock_guard guard(tables.lock);
    auto own = [](const GdiObject& object) { return !object.stock; };
    return tables.fonts.CountIf(own) + tables.bitmaps.CountIf(own) + tables.dcs.CountIf(own);
}

} // namespace moltr::sim

using namespace moltr::platform;

extern "C" {

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    std::lock_guard guard(GdiLock());
    DcObject* dc = FindDc(hdc);
    if (!dc || (!FindFont(h) && !FindBitmap(h))) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (FindFont(h)) {
        return Reselect(dc->font, static_cast<HFONT>(h));
    }
    // Bitmaps go into memory DCs only, and into one DC at a time.
    const auto bitmap = static_cast<HBITMAP>(h);
    if (!dc->memory || (bitmap != dc->bitmap && FindBitmap(bitmap)->selections > 0 &&
                        !FindBitmap(bitmap)->stock)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Reselect(dc->bitmap, bitmap);
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    std::lock_guard guard(GdiLock());
    Tables& tables = TheTables();
    GdiObject* object = FindFont(ho);
    if (!object) {
        object = FindBitmap(ho);
    }
    if (!object) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (object->stock) {
        return TRUE;
    }
    // An object still selected into a DC is not deleted.
    if (object->selections > 0) {
        return FALSE;
    }
    if (TagOf(ho) == kFontTag) {
        tables.fonts.Remove(ValueOf(ho));
    } else {
        tables.bitmaps.Remove(ValueOf(ho));
    }
    return TRUE;
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
        if (!pv) {
            return sizeof(BITMAP);
        }
        if (c < static_cast<int>(sizeof(BITMAP))) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        BITMAP info{};
        info.bmWidth = bitmap->width;
        info.bmHeight = bitmap->height;
        // Rows of device-dependent bitmaps are padded to whole words.
        info.bmWidthBytes = static_cast<LONG>(
            (static_cast<int64_t>(bitmap->width) * bitmap->bitsPixel + 15) / 16 * 2);
        info.bmPlanes = bitmap->planes;
        info.bmBitsPixel = bitmap->bitsPixel;
        std::memcpy(pv, &info, sizeof info);
        return sizeof(BITMAP);
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}
}
