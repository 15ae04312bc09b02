#pragma once
// The printer sheet's store of the form assignment: the symbols that the description file's
// conditional blocks test, named in the printer settings so that the next save defines them.
#include <windows.h>
#include "common/drv_settings.h"

namespace moltr::uiplugin {

// Fills the slot symbols of `printerSettings` from its form assignment; custom media are named
// by the identifiers of `printer`'s custom media that the description file holds, within the
// paper limits of `modelName`. E_INVALIDARG without settings, E_FAIL when the settings have no
// form assignment or a symbol could not be written, E_OUTOFMEMORY.
HRESULT StoreFormAssignSymbols(HANDLE printer, LPCWSTR modelName,
                               common::IDrvSettings* printerSettings);

} // namespace moltr::uiplugin
