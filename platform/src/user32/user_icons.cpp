// Icons and cursors: LookupIconIdFromDirectoryEx, CreateIconFromResourceEx, CopyIcon, DestroyIcon,
// GetIconInfo, LoadIconW and LoadCursorW.
#include "src/gdi32/gdi_dib_header.h"
#include "src/gdi32/gdi_objects.h"
#include "src/kernel32/module_table.h"
#include "src/kernel32/resource_lookup.h"
#include "src/user32/user_objects.h"

#include <windows.h>
#include <cstdlib>
#include <map>
#include <tuple>

namespace moltr::platform {
namespace {

// The simulated desktop's icon and cursor size (SM_CXICON, SM_CXCURSOR) and colour depth.
constexpr int kDefaultSize = 32;
constexpr WORD kScreenBits = 32;
constexpr DWORD kMinVersion = 0x00020000;
constexpr DWORD kMaxVersion = 0x00030000;

constexpr size_t kDirectoryHeader = 6;
constexpr size_t kDirectoryEntry = 14;
constexpr BYTE kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr size_t kPngSizeEnd = 24; // the IHDR chunk's width and height end here

DWORD ReadBigEndian(const BYTE* p) {
    return (DWORD{p[0]} << 24) | (DWORD{p[1]} << 16) | (DWORD{p[2]} << 8) | p[3];
}

// One image of an icon or cursor resource: its size and colour depth, before scaling.
bool ReadImage(const BYTE* data, size_t size, LONG& width, LONG& height, WORD& bits) {
    if (size >= kPngSizeEnd &&
        std::equal(std::begin(kPngSignature), std::end(kPngSignature), data)) {
        width = static_cast<LONG>(ReadBigEndian(data + 16));
        height = static_cast<LONG>(ReadBigEndian(data + 20));
        bits = 32;
        return width > 0 && height > 0;
    }
    DibHeader header;
    // The header holds the colour and the mask image, one above the other.
    if (!ParseDibHeader(data, size, header) || header.height < 2 || header.height % 2) {
        return false;
    }
    width = header.width;
    height = header.height / 2;
    bits = header.bitCount;
    const size_t mask = DibRowBytes(width, 1) * static_cast<size_t>(height);
    return header.bitsOffset + DibPixelBytes(header, height) + mask <= size;
}

HICON InsertIcon(std::shared_ptr<Icon> icon) {
    const auto handle = reinterpret_cast<HICON>(InsertUserObject(std::move(icon)));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}

// A loaded shared icon or cursor: the module, the kind, the resource name and its language.
using SharedKey = std::tuple<HMODULE, bool, WORD, std::u16string, LANGID>;

std::map<SharedKey, HICON>& SharedIcons() {
    static auto* icons = new std::map<SharedKey, HICON>;
    return *icons;
}

bool IsSystemId(bool icon, WORD id) {
    if (icon) {
        return id >= 32512 && id <= 32518;
    }
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651 && id != 32647) ||
           id == 32671 || id == 32672;
}

// LoadIconW and LoadCursorW: the image of the group resource that suits the desktop best, made
// once per resource and then shared.
HICON LoadShared(HINSTANCE instance, LPCWSTR name, bool icon) {
    ResourceId id;
    if (!name || !ResourceIdFromArgument(name, id)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (!instance) {
        // The system's own icons and cursors.
        if (!id.IsOrdinal() || !IsSystemId(icon, id.ordinal)) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        std::lock_guard guard(UserLock());
        HICON& shared = SharedIcons()[{nullptr, icon, id.ordinal, u"", 0}];
        if (!shared) {
            auto made = std::make_shared<Icon>();
            made->icon = icon;
            made->width = kDefaultSize;
            made->height = kDefaultSize;
            made->hotspotX = icon ? kDefaultSize / 2 : 0;
            made->hotspotY = icon ? kDefaultSize / 2 : 0;
            made->shared = true;
            shared = InsertIcon(std::move(made));
        }
        return shared;
    }
    DWORD error = ERROR_SUCCESS;
    const ResourceEntry* group = FindResourceEntry(instance, icon ? RT_GROUP_ICON : RT_GROUP_CURSOR,
                                                   name, LANG_NEUTRAL, error);
    if (!group) {
        SetLastError(error);
        return nullptr;
    }
    const SharedKey key{instance, icon, id.ordinal, id.name, group->language};
    {
        std::lock_guard guard(UserLock());
        auto found = SharedIcons().find(key);
        if (found != SharedIcons().end() && FindIcon(found->second)) {
            return found->second;
        }
    }
    if (group->size < kDirectoryHeader ||
        group->size < kDirectoryHeader + ReadWord(group->data + 4) * kDirectoryEntry) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const int imageId = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group->data), icon,
                                                    kDefaultSize, kDefaultSize, LR_DEFAULTCOLOR);
    const ResourceEntry* image =
        imageId ? FindResourceEntry(instance, icon ? RT_ICON : RT_CURSOR, MAKEINTRESOURCEW(imageId),
                                    group->language, error)
                : nullptr;
    if (!image) {
        SetLastError(imageId ? error : ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const HICON made =
        CreateIconFromResourceEx(const_cast<PBYTE>(image->data), image->size, icon, kMaxVersion,
                                 kDefaultSize, kDefaultSize, LR_DEFAULTCOLOR | LR_SHARED);
    if (made) {
        std::lock_guard guard(UserLock());
        SharedIcons()[key] = made;
    }
    return made;
}

// A bitmap for GetIconInfo, which the caller deletes.
HBITMAP NewBitmap(LONG width, LONG height, WORD bits) {
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bitsPixel = bits;
    std::lock_guard guard(GdiLock());
    return InsertBitmap(std::move(bitmap));
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

int WINAPI LookupIconIdFromDirectoryEx(PBYTE presbits, BOOL fIcon, int cxDesired, int cyDesired,
                                       UINT Flags) {
    // The directory carries no size of its own. Windows does not validate it: a directory whose
    // entry count runs past its data faults or gives an undefined answer. Inside a module's
    // resource the simulation knows where the data ends and answers 0 instead; elsewhere only the
    // count bounds what is read, as on Windows.
    size_t available = 0;
    const bool bounded = presbits && ResourceBytesFrom(presbits, available);
    if (!presbits || (bounded && available < kDirectoryHeader) || ReadWord(presbits) != 0 ||
        ReadWord(presbits + 2) != (fIcon ? 1 : 2) ||
        (bounded && available < kDirectoryHeader + ReadWord(presbits + 4) * kDirectoryEntry)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int count = ReadWord(presbits + 4);
    const int wantedWidth = cxDesired ? cxDesired : kDefaultSize;
    const int wantedHeight = cyDesired ? cyDesired : kDefaultSize;
    const int wantedBits = (Flags & LR_MONOCHROME) ? 1 : kScreenBits;
    // Closest size first; then the deepest colours the screen shows, else the shallowest beyond.
    int best = 0;
    std::tuple<int, int, int> bestScore{};
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = presbits + kDirectoryHeader + static_cast<size_t>(i) * kDirectoryEntry;
        int width = 0;
        int height = 0;
        int bits = 0;
        if (fIcon) {
            width = entry[0] ? entry[0] : 256;
            height = entry[1] ? entry[1] : 256;
            bits = ReadWord(entry + 6);
            if (bits == 0) {
                bits = entry[2] == 0 ? 8 : entry[2] <= 2 ? 1 : entry[2] <= 16 ? 4 : 8;
            }
        } else {
            width = ReadWord(entry);
            height = ReadWord(entry + 2) / 2;
            bits = ReadWord(entry + 6);
        }
        const int distance = std::abs(width - wantedWidth) + std::abs(height - wantedHeight);
        const std::tuple<int, int, int> score{distance, bits <= wantedBits ? 0 : 1,
                                              bits <= wantedBits ? wantedBits - bits : bits};
        if (!best || score < bestScore) {
            best = ReadWord(entry + 12);
            bestScore = score;
        }
    }
    if (!best) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return best;
}

HICON WINAPI CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer,
                                      int cxDesired, int cyDesired, UINT Flags) {
    // A cursor's image follows its hot spot.
    const size_t hotspotBytes = fIcon ? 0 : 2 * sizeof(WORD);
    LONG width = 0;
    LONG height = 0;
    WORD bits = 0;
    if (!presbits || dwVer < kMinVersion || dwVer > kMaxVersion || dwResSize < hotspotBytes ||
        cxDesired < 0 || cyDesired < 0 ||
        !ReadImage(presbits + hotspotBytes, dwResSize - hotspotBytes, width, height, bits)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto icon = std::make_shared<Icon>();
    icon->icon = fIcon != FALSE;
    const bool defaultSize = (Flags & LR_DEFAULTSIZE) != 0;
    icon->width = cxDesired ? cxDesired : defaultSize ? kDefaultSize : width;
    icon->height = cyDesired ? cyDesired : defaultSize ? kDefaultSize : height;
    icon->bitsPixel = (Flags & LR_MONOCHROME) || bits == 1 ? 1 : kScreenBits;
    if (fIcon) {
        icon->hotspotX = static_cast<DWORD>(icon->width / 2);
        icon->hotspotY = static_cast<DWORD>(icon->height / 2);
    } else {
        icon->hotspotX = ReadWord(presbits);
        icon->hotspotY = ReadWord(presbits + 2);
    }
    icon->shared = (Flags & LR_SHARED) != 0;
    std::lock_guard guard(UserLock());
    return InsertIcon(std::move(icon));
}

HICON WINAPI CopyIcon(HICON hIcon) {
    std::lock_guard guard(UserLock());
    const Icon* icon = FindIcon(hIcon);
    if (!icon) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return nullptr;
    }
    auto copy = std::make_shared<Icon>(*icon);
    copy->shared = false;
    return InsertIcon(std::move(copy));
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
    std::lock_guard guard(UserLock());
    const Icon* icon = FindIcon(hIcon);
    if (!icon) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    // Shared icons belong to the system; destroying one leaves it in place.
    if (!icon->shared) {
        RemoveUserObject(reinterpret_cast<ULONG_PTR>(hIcon));
    }
    return TRUE;
}

BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    Icon icon;
    {
        std::lock_guard guard(UserLock());
        const Icon* found = FindIcon(hIcon);
        if (!found) {
            SetLastError(ERROR_INVALID_CURSOR_HANDLE);
            return FALSE;
        }
        icon = *found;
    }
    if (!piconinfo) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    ICONINFO info{};
    info.fIcon = icon.icon ? TRUE : FALSE;
    info.xHotspot = icon.hotspotX;
    info.yHotspot = icon.hotspotY;
    // A monochrome image keeps its colour (XOR) half under the mask, in one bitmap of double
    // height.
    const bool monochrome = icon.bitsPixel == 1;
    info.hbmMask = NewBitmap(icon.width, monochrome ? 2 * icon.height : icon.height, 1);
    info.hbmColor = monochrome ? nullptr : NewBitmap(icon.width, icon.height, icon.bitsPixel);
    if (!info.hbmMask || (!monochrome && !info.hbmColor)) {
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    *piconinfo = info;
    return TRUE;
}

HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
    return LoadShared(hInstance, lpIconName, true);
}

HCURSOR WINAPI LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName) {
    return LoadShared(hInstance, lpCursorName, false);
}
}
