#include "uiplugin/engine/quick_settings_text.h"
#include "uiplugin/engine/hex_text.h"

namespace moltr::ui {

namespace {

// Room the buffer keeps free before it grows, and what it grows by beyond the record.
constexpr size_t kMinimumFree = 32;
constexpr size_t kGrowth = 256;

} // namespace

QuickSettingsText::~QuickSettingsText() {
    if (text_ != nullptr) {
        HeapFree(heap_, 0, text_);
    }
}

bool QuickSettingsText::AppendValue(DWORD itemId, DWORD value) {
    WCHAR digits[kHexDigitsMax + 1];
    FormatHex(value, digits);
    return Append(itemId, 0, digits);
}

bool QuickSettingsText::AppendText(DWORD itemId, LPCWSTR value) {
    return Append(itemId, kTextValue, value != nullptr ? value : L"");
}

bool QuickSettingsText::Append(DWORD itemId, WCHAR lead, LPCWSTR valueText) {
    WCHAR id[kHexDigitsMax + 1];
    FormatHex(itemId, id);
    const size_t idLength = lstrlenW(id);
    const size_t valueLength = lstrlenW(valueText);
    if (!Reserve(idLength + valueLength + 4)) {
        return false;
    }
    text_[length_++] = kRecordStart;
    for (size_t i = 0; i < idLength; ++i) {
        text_[length_++] = id[i];
    }
    text_[length_++] = kRecordValue;
    if (lead != 0) {
        text_[length_++] = lead;
    }
    for (size_t i = 0; i < valueLength; ++i) {
        text_[length_++] = valueText[i];
    }
    text_[length_++] = kRecordEnd;
    text_[length_] = 0;
    return true;
}

bool QuickSettingsText::Reserve(size_t recordLength) {
    if (capacity_ - length_ >= recordLength + kMinimumFree && text_ != nullptr) {
        return true;
    }
    const size_t capacity = capacity_ + recordLength + kGrowth;
    const SIZE_T bytes = capacity * sizeof(WCHAR);
    void* grown = text_ == nullptr ? HeapAlloc(heap_, HEAP_ZERO_MEMORY, bytes)
                                   : HeapReAlloc(heap_, HEAP_ZERO_MEMORY, text_, bytes);
    if (grown == nullptr) {
        return false;
    }
    text_ = static_cast<LPWSTR>(grown);
    capacity_ = capacity;
    return true;
}

} // namespace moltr::ui
