#pragma once
// The settings that the render plug-in reads: per job from a private devmode, printer-wide from the
// settings object's PRINTERSETTINGS. A missing setting reads as 0 or as empty text.
#include <windows.h>
#include "common/drv_settings.h"

namespace moltr::common {
struct FieldSpan;
}

namespace moltr::render {

class SettingsView {
public:
    SettingsView(common::IDrvSettings* settings, void* privateDevMode)
        : settings_(settings), privateDevMode_(privateDevMode) {}

    DWORD Job(LPCWSTR name) const;
    DWORD Printer(LPCWSTR name) const;
    // Whether the printer-wide setting exists; its value in `value`.
    bool FindPrinter(LPCWSTR name, DWORD* value) const;
    // Element `index` of a printer-wide array of 16-bit values; 0 past its end.
    WORD PrinterWord(LPCWSTR name, DWORD index) const;
    // A per-job text, NUL-terminated within `room` characters.
    void JobText(LPCWSTR name, WCHAR* text, DWORD room) const;
    // The same text, but false (and `text` empty) when the field holds no NUL within its first
    // `room` characters: such a value was cut off, not written.
    bool JobTextTerminated(LPCWSTR name, WCHAR* text, DWORD room) const;

private:
    bool Number(void* data, LPCWSTR name, DWORD selector, DWORD* value) const;
    bool JobSpan(LPCWSTR name, common::FieldSpan* span) const;

    common::IDrvSettings* settings_;
    void* privateDevMode_;
};

} // namespace moltr::render
