#pragma once
// Printer initialisation by the universal driver's user interface, which the spooler asks for
// when a printer is added (DrvPrinterEvent with PRINTER_EVENT_INITIALIZE): the UI plug-in is
// loaded for the printer, asked for the size of its devmode part (which finds or makes the
// printer's compiled descriptions), and then given PrinterEvent.
#include <windows.h>

namespace moltr::unidrv {

// The plug-in's PrinterEvent answer; the load's error when the printer or its plug-in cannot be
// opened (ERROR_FILE_NOT_FOUND as an HRESULT for a driver without a UI plug-in).
HRESULT InitializePrinter(LPCWSTR printerName);

} // namespace moltr::unidrv
