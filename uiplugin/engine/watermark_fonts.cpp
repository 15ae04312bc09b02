// Watermark fonts from the screen's font families.
#include "uiplugin/engine/watermark_fonts.h"

namespace moltr::ui {
namespace {

struct Family {
    WCHAR name[LF_FACESIZE];
    BYTE charSet;
};

// The families seen so far, grown on the UI heap.
struct Families {
    HANDLE heap;
    DWORD nameLength;
    Family* entries = nullptr;
    DWORD count = 0;
    DWORD capacity = 0;
    bool failed = false;
};

bool Known(const Families& families, LPCWSTR name) {
    for (DWORD i = 0; i < families.count; ++i) {
        if (lstrcmpW(families.entries[i].name, name) == 0) {
            return true;
        }
    }
    return false;
}

int CALLBACK Collect(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM param) {
    auto& families = *reinterpret_cast<Families*>(param);
    if ((type & TRUETYPE_FONTTYPE) == 0) {
        return 1;
    }
    WCHAR name[LF_FACESIZE];
    const DWORD room = families.nameLength < LF_FACESIZE ? families.nameLength : LF_FACESIZE;
    lstrcpynW(name, font->lfFaceName, static_cast<int>(room));
    if (Known(families, name)) {
        return 1;
    }
    if (families.count == families.capacity) {
        const DWORD capacity = families.capacity ? families.capacity * 2 : 16;
        void* grown = families.entries
                          ? HeapReAlloc(families.heap, HEAP_ZERO_MEMORY, families.entries,
                                        capacity * sizeof(Family))
                          : HeapAlloc(families.heap, HEAP_ZERO_MEMORY, capacity * sizeof(Family));
        if (grown == nullptr) {
            families.failed = true;
            return 0;
        }
        families.entries = static_cast<Family*>(grown);
        families.capacity = capacity;
    }
    Family& family = families.entries[families.count++];
    lstrcpynW(family.name, name, LF_FACESIZE);
    family.charSet = font->lfCharSet;
    return 1;
}

} // namespace

BOOL LoadWatermarkFonts(HANDLE heap, POPTITEM item, DWORD nameLength) {
    if (item == nullptr || item->pOptType == nullptr || nameLength < 2) {
        return FALSE;
    }
    Families families{heap, nameLength};
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesW(screen, nullptr, Collect, reinterpret_cast<LPARAM>(&families));
    ReleaseDC(nullptr, screen);
    POPTPARAM options = families.count > 0 && !families.failed
                            ? static_cast<POPTPARAM>(HeapAlloc(heap, HEAP_ZERO_MEMORY,
                                                               families.count * sizeof(OPTPARAM)))
                            : nullptr;
    if (options == nullptr) {
        if (families.entries != nullptr) {
            HeapFree(heap, 0, families.entries);
        }
        return FALSE;
    }
    // The names stay in the families' block, which lives as long as the options.
    for (DWORD i = 0; i < families.count; ++i) {
        options[i].cbSize = sizeof(OPTPARAM);
        options[i].pData = families.entries[i].name;
        options[i].lParam = reinterpret_cast<LPARAM>(families.entries[i].name);
        options[i].IconID = families.entries[i].charSet;
    }
    item->pOptType->Count = static_cast<WORD>(families.count);
    item->pOptType->pOptParam = options;
    return TRUE;
}

} // namespace moltr::ui
