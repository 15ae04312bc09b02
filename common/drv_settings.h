#pragma once
// The driver settings object that every deliverable creates per printer: the private devmode
// (structure OEMDEVMODE) and the per-printer settings (structure PRINTERSETTINGS), read and written
// by field name, the core driver's four devmode requests, and the move of values between the
// property sheets' option items and the settings.
#include <windows.h>
#include <objbase.h>
#include <compstui.h>

namespace moltr::common {

// Modes of the object.
inline constexpr DWORD kModeDocument = 0;
inline constexpr DWORD kModePrinter = 1;
inline constexpr DWORD kModeNone = 2;

// Layout selectors of the value calls.
inline constexpr DWORD kLayoutDevMode = 0;
inline constexpr DWORD kLayoutPrinterSettings = 1;
inline constexpr DWORD kLayoutOwnMode = 2;

// An option item describes a setting when its UserData is the address of a NUL-terminated UTF-16
// text STRUCTURE.FIELD (the text may begin a larger record of the item's owner); 0 means none.
struct IDrvSettings : public IUnknown {
    STDMETHOD(ItemsFromSettings)(POPTITEM items, DWORD count, void* privateDevMode) = 0;
    STDMETHOD(SettingsFromItems)
    (POPTITEM items, DWORD count, void* privateDevMode, HANDLE printer) = 0;
    // `data` is a private devmode or a printer-settings block; null means the object's own
    // printer settings.
    STDMETHOD(GetValue)
    (void* data, LPCWSTR fieldName, void* destination, DWORD size, DWORD selector) = 0;
    // Never null: a missing field or data gives a scratch value that may be read and written.
    STDMETHOD_(void*, GetValuePointer)(void* data, LPCWSTR fieldName, DWORD selector) = 0;
    STDMETHOD(SetValue)(void* data, LPCWSTR fieldName, const void* source, DWORD selector) = 0;
    STDMETHOD(GetDevModeSize)(DWORD* size) = 0;
    STDMETHOD(GetDefaultDevMode)(DWORD* size, void* destination) = 0;
    STDMETHOD(ConvertDevMode)(DWORD size, void* destination, const void* source) = 0;
    STDMETHOD(MergeDevMode)
    (DWORD size, PDEVMODEW publicOut, const DEVMODEW* publicIn, void* privateOut,
     void* privateIn) = 0;

protected:
    virtual ~IDrvSettings() = default;
};

// Creates the object for `printer` in `mode` (kModeDocument or kModePrinter) with one reference.
// E_INVALIDARG for another mode, an INVALID_HANDLE_VALUE printer or a null result pointer,
// E_OUTOFMEMORY, or E_FAIL when the printer's compiled structures or its data file cannot be read.
HRESULT CreateDrvSettings(DWORD mode, HANDLE printer, IDrvSettings** settings);

} // namespace moltr::common
