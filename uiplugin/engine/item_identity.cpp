#include "uiplugin/engine/item_identity.h"
#include "uiplugin/engine/hex_text.h"

namespace moltr::ui {

namespace {

constexpr DWORD kPerFeatureHelpIndices[] = {1019, 1025, 1026, 1027, 1028, 1032, 1037};

// Names at or below this are resource ids, not texts.
constexpr ULONG_PTR kLargestId = 0xFFFF;

} // namespace

bool ParseHashName(LPCWSTR name, DWORD* stringId, DWORD* itemId) {
    if (reinterpret_cast<ULONG_PTR>(name) <= kLargestId || name[0] != L'#') {
        return false;
    }
    LPCWSTR digits = name + 1;
    size_t length = 0;
    while (digits[length] != 0 && digits[length] != L'|') {
        ++length;
    }
    if (!ParseHex(digits, length, stringId)) {
        return false;
    }
    if (digits[length] == 0) {
        *itemId = *stringId;
        return true;
    }
    LPCWSTR idDigits = digits + length + 1;
    return ParseHex(idDigits, lstrlenW(idDigits), itemId);
}

bool IsPerFeatureHelpIndex(DWORD helpIndex) {
    for (DWORD index : kPerFeatureHelpIndices) {
        if (index == helpIndex) {
            return true;
        }
    }
    return false;
}

} // namespace moltr::ui
