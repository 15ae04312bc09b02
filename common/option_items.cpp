// The move of values between the property sheets' option items and the settings.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>
#include "common/co_drv_settings.h"

namespace moltr::common {
namespace {

// Values of more than 2 bytes are kept elsewhere and lParam holds their address; the lowest 64 KB
// are never mapped, so a smaller lParam is the value itself.
constexpr LPARAM kLowestAddress = 0x10000;
constexpr size_t kFieldChars = store::kMaxNameLength + 1;

// The field name of an item's setting: the part of STRUCTURE.FIELD after the first '.'.
bool ItemField(const OPTITEM& item, WCHAR (&field)[kFieldChars]) {
    auto* setting = reinterpret_cast<const WCHAR*>(item.UserData);
    if (setting == nullptr || item.pOptType == nullptr) {
        return false;
    }
    while (*setting != L'\0' && *setting != L'.') {
        ++setting;
    }
    if (*setting == L'\0' || lstrlenW(setting + 1) >= static_cast<int>(kFieldChars)) {
        return false;
    }
    lstrcpynW(field, setting + 1, kFieldChars);
    return true;
}

// The size in bytes of an edit box's text buffer, 0 when the item does not say.
DWORD EditBufferBytes(const OPTTYPE& type) {
    if (type.Count < 2 || type.pOptParam == nullptr) {
        return 0;
    }
    return static_cast<DWORD>(std::min<ULONG_PTR>(type.pOptParam[1].IconID, 0x7FFF)) *
           sizeof(WCHAR);
}

// An option's stored value spread over `size` bytes.
void OptionValue(const OPTPARAM& option, BYTE* value, DWORD size) {
    std::memset(value, 0, size);
    if (size > 2 && option.lParam >= kLowestAddress) {
        std::memcpy(value, reinterpret_cast<const void*>(option.lParam), size);
    } else {
        std::memcpy(value, &option.lParam, std::min<DWORD>(size, sizeof option.lParam));
    }
}

// Fields whose bytes are references into the image: no item value can stand in for them.
bool HoldsReference(const FieldSpan& span) {
    return span.type == store::kTypeString || span.type == store::kTypeXpdStruct ||
           span.type == store::kTypeDynamic;
}

LONG ReadSigned16(const FieldSpan& span) {
    SHORT value = 0;
    std::memcpy(&value, span.at, std::min<DWORD>(span.size, sizeof value));
    return span.size >= sizeof value ? value : static_cast<BYTE>(value);
}

LONG ReadUnsigned(const FieldSpan& span, DWORD bytes) {
    DWORD value = 0;
    std::memcpy(&value, span.at, std::min(span.size, bytes));
    return static_cast<LONG>(value);
}

} // namespace

STDMETHODIMP CoDrvSettings::ItemsFromSettings(POPTITEM items, DWORD count, void* privateDevMode) {
    if ((privateDevMode == nullptr && mode_ != kModePrinter) || items == nullptr || count == 0) {
        return E_INVALIDARG;
    }
    try {
        std::vector<BYTE> option;
        for (DWORD index = 0; index < count; ++index) {
            OPTITEM& item = items[index];
            WCHAR field[kFieldChars];
            FieldSpan span;
            if (!ItemField(item, field) || !Locate(privateDevMode, field, kLayoutOwnMode, &span)) {
                continue;
            }
            const OPTTYPE& type = *item.pOptType;
            switch (type.Type) {
            case TVOT_UDARROW:
                item.Sel = ReadUnsigned(span, sizeof(WORD));
                break;
            case TVOT_TRACKBAR:
            case TVOT_SCROLLBAR:
                item.Sel = ReadSigned16(span);
                break;
            case TVOT_CHKBOX:
                item.Sel = ReadUnsigned(span, sizeof(BYTE));
                break;
            case TVOT_EDITBOX: {
                DWORD buffer = EditBufferBytes(type);
                if (item.pSel == nullptr) {
                    break;
                }
                DWORD bytes = buffer != 0 ? std::min(span.size, buffer) : span.size;
                std::memcpy(item.pSel, span.at, bytes);
                if (buffer != 0 && bytes == buffer) {
                    item.pSel[buffer / sizeof(WCHAR) - 1] = L'\0';
                }
                break;
            }
            default: {
                option.resize(span.size);
                LONG selection = 0;
                for (WORD i = 0; type.pOptParam != nullptr && i < type.Count; ++i) {
                    OptionValue(type.pOptParam[i], option.data(), span.size);
                    if (type.pOptParam[i].Flags == 0 &&
                        std::memcmp(option.data(), span.at, span.size) == 0) {
                        selection = i;
                        break;
                    }
                }
                DWORD watermark = 0;
                if (lstrcmpW(field, L"_WMK_TEXT") == 0 &&
                    ReadNumber(privateDevMode, L"_WMK_TEXT_IDX", kLayoutOwnMode, &watermark) &&
                    watermark != 0) {
                    selection = static_cast<LONG>(watermark);
                }
                item.Sel = selection;
                break;
            }
            }
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

STDMETHODIMP CoDrvSettings::SettingsFromItems(POPTITEM items, DWORD count, void* privateDevMode,
                                              HANDLE printer) {
    if ((privateDevMode == nullptr && mode_ != kModePrinter) || items == nullptr || count == 0) {
        return E_INVALIDARG;
    }
    try {
        std::vector<BYTE> value;
        for (DWORD index = 0; index < count; ++index) {
            const OPTITEM& item = items[index];
            WCHAR field[kFieldChars];
            FieldSpan span;
            if (!(item.Flags & (OPTIF_CHANGED | OPTIF_CHANGEONCE)) || !ItemField(item, field) ||
                !Locate(privateDevMode, field, kLayoutOwnMode, &span) || HoldsReference(span)) {
                continue;
            }
            const OPTTYPE& type = *item.pOptType;
            value.assign(span.size, 0);
            switch (type.Type) {
            case TVOT_UDARROW:
            case TVOT_TRACKBAR:
            case TVOT_SCROLLBAR:
            case TVOT_CHKBOX:
                std::memcpy(value.data(), &item.Sel, std::min<DWORD>(span.size, sizeof item.Sel));
                break;
            case TVOT_EDITBOX: {
                // The text up to its terminator, within the field and the item's buffer.
                DWORD limit = EditBufferBytes(type);
                limit = (limit != 0 ? std::min(limit, span.size) : span.size) / sizeof(WCHAR);
                DWORD length = 0;
                while (item.pSel != nullptr && length < limit && item.pSel[length] != L'\0') {
                    ++length;
                }
                if (length > 0) {
                    std::memcpy(value.data(), item.pSel, length * sizeof(WCHAR));
                }
                break;
            }
            default:
                if (type.pOptParam == nullptr || item.Sel < 0 || item.Sel >= type.Count) {
                    continue;
                }
                OptionValue(type.pOptParam[item.Sel], value.data(), span.size);
                break;
            }
            if (FAILED(SetValue(privateDevMode, field, value.data(), kLayoutOwnMode))) {
                return E_FAIL;
            }
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (mode_ == kModePrinter && printer != nullptr && printer != INVALID_HANDLE_VALUE) {
        SavePrinterSettings(printer);
        // The settings are saved; the data file only mirrors them for the description's use.
        UpdateDataFile();
    }
    return S_OK;
}

} // namespace moltr::common
