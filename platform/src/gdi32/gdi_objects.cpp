// The GDI object tables and the calls common to every kind of object: GetStockObject,
// GetCurrentObject, SelectObject and DeleteObject.
#include "src/gdi32/gdi_objects.h"
#include "src/core/object_table.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/gdi32/gdi_region_math.h"
#include "sim/windows_admin.h"

#include <algorithm>
#include <cstring>

namespace moltr::platform {
namespace {

// The kinds as the system's handles carry them.
constexpr ULONG_PTR kDcTag = 0x01;
constexpr ULONG_PTR kRegionTag = 0x04;
constexpr ULONG_PTR kBitmapTag = 0x05;
constexpr ULONG_PTR kFontTag = 0x0A;
constexpr ULONG_PTR kBrushTag = 0x10;
constexpr ULONG_PTR kPenTag = 0x30;

// The stock brushes and pens by their GetStockObject index.
struct StockPaint {
    int index;
    bool pen;
    UINT style;
    COLORREF colour;
};
constexpr StockPaint kStockPaints[] = {
    {WHITE_BRUSH, false, BS_SOLID, RGB(255, 255, 255)},
    {LTGRAY_BRUSH, false, BS_SOLID, RGB(192, 192, 192)},
    {GRAY_BRUSH, false, BS_SOLID, RGB(128, 128, 128)},
    {DKGRAY_BRUSH, false, BS_SOLID, RGB(64, 64, 64)},
    {BLACK_BRUSH, false, BS_SOLID, RGB(0, 0, 0)},
    {NULL_BRUSH, false, BS_NULL, 0},
    {WHITE_PEN, true, PS_SOLID, RGB(255, 255, 255)},
    {BLACK_PEN, true, PS_SOLID, RGB(0, 0, 0)},
    {NULL_PEN, true, PS_NULL, 0},
};

struct Tables {
    std::mutex lock;
    ObjectTable<FontObject> fonts{kFontTag};
    ObjectTable<BitmapObject> bitmaps{kBitmapTag};
    ObjectTable<BrushObject> brushes{kBrushTag};
    ObjectTable<PenObject> pens{kPenTag};
    ObjectTable<RegionObject> regions{kRegionTag};
    ObjectTable<DcObject> dcs{kDcTag};
    HFONT systemFont = nullptr;
    HBITMAP defaultBitmap = nullptr;
    HGDIOBJ stock[STOCK_LAST + 1] = {};
};

ULONG_PTR ValueOf(const void* handle) {
    return reinterpret_cast<ULONG_PTR>(handle);
}

ULONG_PTR TagOf(const void* handle) {
    return (ValueOf(handle) >> 16) & 0xFF;
}

void MakeStockPaints(Tables& tables) {
    for (const StockPaint& paint : kStockPaints) {
        if (paint.pen) {
            auto pen = std::make_shared<PenObject>();
            pen->stock = true;
            pen->style = paint.style;
            pen->colour = paint.colour;
            tables.stock[paint.index] = reinterpret_cast<HGDIOBJ>(tables.pens.Insert(pen));
        } else {
            auto brush = std::make_shared<BrushObject>();
            brush->stock = true;
            brush->style = paint.style;
            brush->colour = paint.colour;
            tables.stock[paint.index] = reinterpret_cast<HGDIOBJ>(tables.brushes.Insert(brush));
        }
    }
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
        made->stock[SYSTEM_FONT] = made->systemFont;
        made->stock[DEFAULT_GUI_FONT] = made->systemFont;
        auto bitmap = std::make_shared<BitmapObject>();
        bitmap->stock = true;
        bitmap->width = 1;
        bitmap->height = 1;
        bitmap->colours = MonochromeColours();
        made->defaultBitmap = reinterpret_cast<HBITMAP>(made->bitmaps.Insert(std::move(bitmap)));
        MakeStockPaints(*made);
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
    case kBrushTag:
        return TheTables().brushes.Find(ValueOf(handle));
    case kPenTag:
        return TheTables().pens.Find(ValueOf(handle));
    case kRegionTag:
        return TheTables().regions.Find(ValueOf(handle));
    case kDcTag:
        return TheTables().dcs.Find(ValueOf(handle));
    default:
        return nullptr;
    }
}

void Hold(HGDIOBJ handle, int count) {
    if (GdiObject* object = FindObject(handle)) {
        object->selections += count;
    }
}

// Moves a DC's selection of one kind from `slot` to `object`; returns the previous one.
template <class H> H Reselect(H& slot, H object) {
    H previous = slot;
    if (previous != object) {
        Hold(previous, -1);
        Hold(object, 1);
        slot = object;
    }
    return previous;
}

// Every DC has a region selected as a copy; SelectObject with a region is SelectClipRgn.
HGDIOBJ SelectRegion(DcObject& dc, const RegionObject& region) {
    dc.state.clip = region.rects;
    return reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(RegionKind(region.rects)));
}

HGDIOBJ SelectBitmap(DcObject& dc, HBITMAP bitmap) {
    // Bitmaps go into memory DCs only, and into one DC at a time.
    BitmapObject* object = FindBitmap(bitmap);
    if (!dc.memory || (bitmap != dc.bitmap && object->selections > 0 && !object->stock)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Reselect(dc.bitmap, bitmap);
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

HBRUSH InsertBrush(std::shared_ptr<BrushObject> brush) {
    return reinterpret_cast<HBRUSH>(TheTables().brushes.Insert(std::move(brush)));
}

HPEN InsertPen(std::shared_ptr<PenObject> pen) {
    return reinterpret_cast<HPEN>(TheTables().pens.Insert(std::move(pen)));
}

HRGN InsertRegion(std::shared_ptr<RegionObject> region) {
    return reinterpret_cast<HRGN>(TheTables().regions.Insert(std::move(region)));
}

HDC InsertDc(std::shared_ptr<DcObject> dc) {
    dc->state.font = SystemFont();
    dc->state.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    dc->state.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    HoldState(dc->state);
    if (dc->memory) {
        dc->bitmap = DefaultBitmap();
        Hold(dc->bitmap, 1);
    }
    const HDC handle = reinterpret_cast<HDC>(TheTables().dcs.Insert(dc));
    if (!handle) {
        ReleaseState(dc->state);
        Hold(dc->bitmap, -1);
    }
    return handle;
}

FontObject* FindFont(HGDIOBJ handle) {
    return TagOf(handle) == kFontTag ? TheTables().fonts.Find(ValueOf(handle)) : nullptr;
}

BitmapObject* FindBitmap(HGDIOBJ handle) {
    return TagOf(handle) == kBitmapTag ? TheTables().bitmaps.Find(ValueOf(handle)) : nullptr;
}

BrushObject* FindBrush(HGDIOBJ handle) {
    return TagOf(handle) == kBrushTag ? TheTables().brushes.Find(ValueOf(handle)) : nullptr;
}

PenObject* FindPen(HGDIOBJ handle) {
    return TagOf(handle) == kPenTag ? TheTables().pens.Find(ValueOf(handle)) : nullptr;
}

RegionObject* FindRegion(HGDIOBJ handle) {
    return TagOf(handle) == kRegionTag ? TheTables().regions.Find(ValueOf(handle)) : nullptr;
}

DcObject* FindDc(HDC handle) {
    return TagOf(handle) == kDcTag ? TheTables().dcs.Find(ValueOf(handle)) : nullptr;
}

void RemoveDc(HDC handle) {
    std::shared_ptr<DcObject> dc = TheTables().dcs.Remove(ValueOf(handle));
    ReleaseState(dc->state);
    for (const DcState& state : dc->saved) {
        ReleaseState(state);
    }
    Hold(dc->bitmap, -1);
}

HFONT SystemFont() {
    return TheTables().systemFont;
}

HBITMAP DefaultBitmap() {
    return TheTables().defaultBitmap;
}

HGDIOBJ StockObject(int index) {
    return index >= 0 && index <= STOCK_LAST ? TheTables().stock[index] : nullptr;
}

void HoldState(const DcState& state) {
    Hold(state.font, 1);
    Hold(state.brush, 1);
    Hold(state.pen, 1);
}

void ReleaseState(const DcState& state) {
    Hold(state.font, -1);
    Hold(state.brush, -1);
    Hold(state.pen, -1);
}

} // namespace moltr::platform

namespace moltr::sim {

size_t GdiObjectCount() {
    using namespace moltr::platform;
    Tables& tables = TheTables();
    std::lock_guard guard(tables.lock);
    auto own = [](const GdiObject& object) { return !object.stock; };
    return tables.fonts.CountIf(own) + tables.bitmaps.CountIf(own) + tables.brushes.CountIf(own) +
           tables.pens.CountIf(own) + tables.regions.CountIf(own) + tables.dcs.CountIf(own);
}

} // namespace moltr::sim

using namespace moltr::platform;

extern "C" {

HGDIOBJ WINAPI GetStockObject(int i) {
    std::lock_guard guard(GdiLock());
    return StockObject(i);
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    std::lock_guard guard(GdiLock());
    const DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    switch (type) {
    case OBJ_FONT:
        return dc->state.font;
    case OBJ_BRUSH:
        return dc->state.brush;
    case OBJ_PEN:
        return dc->state.pen;
    case OBJ_BITMAP:
        return dc->bitmap;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    std::lock_guard guard(GdiLock());
    DcObject* dc = FindDc(hdc);
    GdiObject* object = TagOf(h) == kDcTag ? nullptr : FindObject(h);
    if (!dc || !object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    switch (TagOf(h)) {
    case kFontTag:
        return Reselect(dc->state.font, static_cast<HFONT>(h));
    case kBrushTag:
        return Reselect(dc->state.brush, static_cast<HBRUSH>(h));
    case kPenTag:
        return Reselect(dc->state.pen, static_cast<HPEN>(h));
    case kRegionTag:
        return SelectRegion(*dc, *FindRegion(h));
    default:
        return SelectBitmap(*dc, static_cast<HBITMAP>(h));
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    std::lock_guard guard(GdiLock());
    Tables& tables = TheTables();
    GdiObject* object = TagOf(ho) == kDcTag ? nullptr : FindObject(ho);
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
    switch (TagOf(ho)) {
    case kFontTag:
        tables.fonts.Remove(ValueOf(ho));
        break;
    case kBitmapTag:
        tables.bitmaps.Remove(ValueOf(ho));
        break;
    case kBrushTag:
        tables.brushes.Remove(ValueOf(ho));
        break;
    case kPenTag:
        tables.pens.Remove(ValueOf(ho));
        break;
    default:
        tables.regions.Remove(ValueOf(ho));
        break;
    }
    return TRUE;
}
}
