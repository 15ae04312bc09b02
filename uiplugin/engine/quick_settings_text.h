#pragma once
// QuickSettingsText: the growing wide-text buffer that quick-settings records are appended to, on
// the host's OEM heap. A record is 0xFFFD, the item id in lower-case hexadecimal, 0xFFFE, the
// value text, 0xFFFF.
#include <windows.h>
#include <cstddef>

namespace moltr::ui {

inline constexpr WCHAR kRecordStart = 0xFFFD;
inline constexpr WCHAR kRecordValue = 0xFFFE;
inline constexpr WCHAR kRecordEnd = 0xFFFF;
// Leads a value that is text rather than a hexadecimal number.
inline constexpr WCHAR kTextValue = 0xFFFC;

class QuickSettingsText {
public:
    explicit QuickSettingsText(HANDLE heap) : heap_(heap) {}
    ~QuickSettingsText();
    QuickSettingsText(const QuickSettingsText&) = delete;
    QuickSettingsText& operator=(const QuickSettingsText&) = delete;

    // Appends the record of `itemId` with a hexadecimal `value`; false without memory.
    bool AppendValue(DWORD itemId, DWORD value);
    // Appends the record of `itemId` with the text `value` (0xFFFC before it).
    bool AppendText(DWORD itemId, LPCWSTR value);

    // Always terminated; "" while empty.
    LPCWSTR Text() const { return text_ != nullptr ? text_ : L""; }
    size_t Length() const { return length_; }

private:
    // `lead` 0 means none.
    bool Append(DWORD itemId, WCHAR lead, LPCWSTR valueText);
    bool Reserve(size_t recordLength);

    HANDLE heap_;
    LPWSTR text_ = nullptr;
    size_t length_ = 0;
    size_t capacity_ = 0;
};

} // namespace moltr::ui
