#include "common/co_resources.h"

#include <cstring>

namespace moltr::common {

STDMETHODIMP CoResources::LoadBitmap(UINT id, HBITMAP* bitmap) {
    if (!bitmap) {
        return E_INVALIDARG;
    }
    *bitmap = nullptr;
    if (!resourceModule_) {
        return E_FAIL;
    }
    if (id < 1 || id > 0xFFFF) {
        return E_INVALIDARG;
    }
    *bitmap = ::LoadBitmapW(resourceModule_, MAKEINTRESOURCEW(id));
    if (!*bitmap) {
        *bitmap = ::LoadBitmapW(callingModule_, MAKEINTRESOURCEW(id));
    }
    return S_OK;
}

STDMETHODIMP CoResources::LoadCursor(UINT id, HCURSOR* cursor) {
    if (!cursor) {
        return E_INVALIDARG;
    }
    *cursor = nullptr;
    if (!resourceModule_) {
        return E_FAIL;
    }
    if (id < 1 || id > 0xFFFF) {
        return E_INVALIDARG;
    }
    *cursor = ::LoadCursorW(resourceModule_, MAKEINTRESOURCEW(id));
    if (!*cursor) {
        *cursor = ::LoadCursorW(callingModule_, MAKEINTRESOURCEW(id));
    }
    return S_OK;
}

STDMETHODIMP_(HBITMAP) CoResources::GetBitmap(UINT id) {
    HBITMAP bitmap = nullptr;
    return SUCCEEDED(LoadBitmap(id, &bitmap)) ? bitmap : nullptr;
}

STDMETHODIMP_(HCURSOR) CoResources::GetCursor(UINT id) {
    HCURSOR cursor = nullptr;
    return SUCCEEDED(LoadCursor(id, &cursor)) ? cursor : nullptr;
}

namespace {

// An icon group's directory: a header of three words, the last one counting the entries after it.
constexpr DWORD kDirectoryHeader = 6;
constexpr DWORD kDirectoryEntry = 14;

// Whether the group resource holds every entry its header counts: the directory lookup reads as
// many as the count says, and the resource is all there is of it.
bool HoldsWholeDirectory(const BYTE* directory, DWORD size) {
    if (!directory || size < kDirectoryHeader) {
        return false;
    }
    WORD count = 0;
    std::memcpy(&count, directory + 4, sizeof count);
    return size - kDirectoryHeader >= DWORD{count} * kDirectoryEntry;
}

} // namespace

HRESULT CoResources::CreateIcon(const Found& group, UINT size, HICON* icon) const {
    auto* directory = static_cast<PBYTE>(LockResource(LoadResource(group.module, group.resource)));
    int image = HoldsWholeDirectory(directory, SizeofResource(group.module, group.resource))
                    ? LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR)
                    : 0;
    if (!image) {
        return E_INVALIDARG;
    }
    HRSRC found = FindResourceExW(group.module, RT_ICON, MAKEINTRESOURCEW(image), group.language);
    auto* bits =
        found ? static_cast<PBYTE>(LockResource(LoadResource(group.module, found))) : nullptr;
    *icon = bits ? CreateIconFromResourceEx(bits, SizeofResource(group.module, found), TRUE,
                                            0x00030000, size, size, LR_DEFAULTCOLOR)
                 : nullptr;
    return *icon ? S_OK : E_FAIL;
}

STDMETHODIMP CoResources::LoadIcon(UINT id, UINT size, HICON* icon) {
    if (!size || !icon || !languages_.size()) {
        return E_INVALIDARG;
    }
    *icon = nullptr;
    if (id < 1 || id > 0xFFFF) {
        return E_INVALIDARG;
    }
    HICON created = nullptr;
    WORD language = 0;
    for (const LanguageEntry& entry : languages_) {
        for (IconRecord& record : icons_) {
            if (record.iconId == id && record.language == entry.language && record.size == size) {
                *icon = record.icon;
                return S_OK;
            }
        }
        Found group = FindInModules(RT_GROUP_ICON, id, entry.language);
        if (group.resource && SUCCEEDED(CreateIcon(group, size, &created))) {
            language = entry.language;
            break;
        }
    }
    if (!created) {
        return E_INVALIDARG;
    }
    // The cache keeps a copy, so that the icon the loader made can go at once.
    HICON copy = CopyIcon(created);
    DestroyIcon(created);
    if (!copy) {
        return E_FAIL;
    }
    if (!icons_.Append({language, id, copy, size})) {
        DestroyIcon(copy);
        return E_OUTOFMEMORY;
    }
    *icon = copy;
    return S_OK;
}

STDMETHODIMP_(HICON) CoResources::GetIcon(UINT id, UINT size) {
    HICON icon = nullptr;
    return SUCCEEDED(LoadIcon(id, size, &icon)) ? icon : nullptr;
}

STDMETHODIMP_(int) CoResources::ShowMessage(HWND owner, UINT textId, UINT captionId, UINT flags) {
    constexpr UINT kCaptionSize = 64;
    constexpr UINT kTextSize = 256;
    WCHAR caption[kCaptionSize];
    WCHAR text[kTextSize];
    if (FAILED(LoadString(captionId, caption, kCaptionSize)) ||
        FAILED(LoadString(textId, text, kTextSize))) {
        return 0;
    }
    if (owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) {
        flags |= MB_RTLREADING;
    }
    return MessageBoxW(owner, text, caption, flags);
}

} // namespace moltr::common
