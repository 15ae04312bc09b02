#pragma once
// The PrinterEvent entry of the hooks: on printer initialisation the family's forms and, on the
// versions that need it, the print processor.
#include <windows.h>

namespace moltr::ui {

// Acts on PRINTER_EVENT_INITIALIZE only and then answers E_PENDING, so the registry values are
// written too; E_FAIL when the resources object cannot be made.
HRESULT OverridePrinterEvent(PWSTR printerName, INT event, DWORD flags, LPARAM lParam);

} // namespace moltr::ui
