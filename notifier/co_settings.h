#pragma once
// CoSettings: the notifier's small settings object for one printer, holding its private devmode
// (OEMDEVMODE) and printer settings (PRINTERSETTINGS) records, from which it reads the PDL type.
#include <windows.h>
#include <objbase.h>

namespace moltr::notifier {

struct ISettings : public IUnknown {
    // S_OK with the printer's _PDLTYPE, 0 when the record has no data or no such field.
    STDMETHOD(GetPDLType)(DWORD* pdlType) = 0;

protected:
    virtual ~ISettings() = default;
};

// Creates the object for `printer` with one reference. E_FAIL for a null or invalid printer or when
// either structure cannot be opened, E_OUTOFMEMORY, E_POINTER for a null result pointer.
HRESULT CreateSettings(HANDLE printer, ISettings** settings);

} // namespace moltr::notifier
