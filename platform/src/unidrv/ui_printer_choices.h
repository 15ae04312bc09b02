#pragma once
// Where the universal driver keeps a printer's choices of its printer sheet, in the printer's
// data: "FeatureKeyword" (REG_BINARY) holds the installable features' choices as ANSI keyword
// pairs, feature then option, each NUL-terminated, with a final NUL; "TrayFormTable"
// (REG_BINARY) holds the form of each tray as UTF-16 pairs, tray keyword then form name, each
// NUL-terminated, with a final NUL.
#include <windows.h>
#include "src/unidrv/ui_standard_items.h"

namespace moltr::unidrv {

// The stored choices; empty lists for values missing or not in their form.
PrinterChoices ReadPrinterChoices(HANDLE printer);
// Stores both values; the first failing SetPrinterDataW's error, else ERROR_SUCCESS.
DWORD WritePrinterChoices(HANDLE printer, const PrinterChoices& choices);

} // namespace moltr::unidrv
