#include "renderplugin/settings_view.h"

#include <algorithm>
#include <cstring>
#include "common/co_drv_settings.h"

namespace moltr::render {

namespace {

// The field lookups with sizes belong to the settings object that CreateDrvSettings makes.
common::CoDrvSettings* Fields(common::IDrvSettings* settings) {
    return dynamic_cast<common::CoDrvSettings*>(settings);
}

} // namespace

bool SettingsView::Number(void* data, LPCWSTR name, DWORD selector, DWORD* value) const {
    common::CoDrvSettings* fields = Fields(settings_);
    *value = 0;
    return fields != nullptr && fields->ReadNumber(data, name, selector, value);
}

DWORD SettingsView::Job(LPCWSTR name) const {
    DWORD value = 0;
    if (privateDevMode_ != nullptr) {
        Number(privateDevMode_, name, common::kLayoutDevMode, &value);
    }
    return value;
}

DWORD SettingsView::Printer(LPCWSTR name) const {
    DWORD value = 0;
    FindPrinter(name, &value);
    return value;
}

bool SettingsView::FindPrinter(LPCWSTR name, DWORD* value) const {
    return Number(nullptr, name, common::kLayoutPrinterSettings, value);
}

WORD SettingsView::PrinterWord(LPCWSTR name, DWORD index) const {
    common::CoDrvSettings* fields = Fields(settings_);
    common::FieldSpan span;
    if (fields == nullptr ||
        !fields->Locate(nullptr, name, common::kLayoutPrinterSettings, &span) ||
        span.size / sizeof(WORD) <= index) {
        return 0;
    }
    const BYTE* at = span.at + index * sizeof(WORD);
    return static_cast<WORD>(at[0] | (at[1] << 8));
}

bool SettingsView::JobSpan(LPCWSTR name, common::FieldSpan* span) const {
    common::CoDrvSettings* fields = Fields(settings_);
    return fields != nullptr && privateDevMode_ != nullptr &&
           fields->Locate(privateDevMode_, name, common::kLayoutDevMode, span);
}

void SettingsView::JobText(LPCWSTR name, WCHAR* text, DWORD room) const {
    text[0] = L'\0';
    common::FieldSpan span;
    if (!JobSpan(name, &span)) {
        return;
    }
    DWORD count = std::min<DWORD>(span.size / sizeof(WCHAR), room - 1);
    std::memcpy(text, span.at, count * sizeof(WCHAR));
    text[count] = L'\0';
}

bool SettingsView::JobTextTerminated(LPCWSTR name, WCHAR* text, DWORD room) const {
    text[0] = L'\0';
    common::FieldSpan span;
    if (!JobSpan(name, &span)) {
        return false;
    }
    DWORD count = std::min<DWORD>(span.size / sizeof(WCHAR), room);
    for (DWORD i = 0; i < count; ++i) {
        WCHAR unit = static_cast<WCHAR>(span.at[i * 2] | (span.at[i * 2 + 1] << 8));
        text[i] = unit;
        if (unit == L'\0') {
            return true;
        }
    }
    text[0] = L'\0';
    return false;
}

} // namespace moltr::render
