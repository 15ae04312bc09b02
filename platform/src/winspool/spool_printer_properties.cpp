// PrinterPropertiesW: the printer's driver shows its printer sheet through compstui. A handle
// opened without PRINTER_ACCESS_ADMINISTER gets the sheet read-only (DPS_NOPERMISSION): the user
// may look but nothing is stored.
#include <windows.h>
#include <compstui.h>
#include <winddiui.h>
#include <winspool.h>
#include <vector>
#include "src/winspool/spool_handles.h"

extern "C" {

BOOL WINAPI PrinterPropertiesW(HWND hWnd, HANDLE hPrinter) {
    DWORD error = ERROR_SUCCESS;
    const auto resolved = moltr::spool::ResolveHandle(hPrinter, error);
    if (!resolved) {
        SetLastError(error);
        return FALSE;
    }
    DWORD needed = 0;
    GetPrinterW(hPrinter, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterW(hPrinter, 2, info.data(), needed, &needed)) {
        return FALSE;
    }
    const bool administers = (resolved->handle.access & PRINTER_ACCESS_ADMINISTER) != 0;
    DEVICEPROPERTYHEADER header = {sizeof header,
                                   static_cast<WORD>(administers ? 0 : DPS_NOPERMISSION), hPrinter,
                                   reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPrinterName};
    DWORD result = CPSUI_CANCEL;
    return CommonPropertySheetUIW(hWnd, DrvDevicePropertySheets, reinterpret_cast<LPARAM>(&header),
                                  &result) >= 0;
}

} // extern "C"
