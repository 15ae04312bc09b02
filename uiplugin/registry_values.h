#pragma once
// The REGINFO step of printer initialisation: every REGENTRY record of the printer's "REGINFO"
// description becomes one printer-data value.
#include <windows.h>

namespace moltr::ui {

// E_NOTIMPL when the printer has no "REGINFO" description. S_OK otherwise, also when the printer
// cannot be opened or a value cannot be written: setting up a printer never fails on them.
HRESULT WriteRegistryValues(LPCWSTR printerName);

} // namespace moltr::ui
