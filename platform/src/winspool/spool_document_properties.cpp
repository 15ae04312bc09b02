// DocumentPropertiesW: the spooler hands the question to the printer's driver, whose user
// interface answers it, as winspool does on Windows. Without a printer handle the printer named
// by the device name is opened for the call.
#include <windows.h>
#include <winspool.h>
#include "src/unidrv/ui_document_devmode.h"

extern "C" {

LONG WINAPI DocumentPropertiesW(HWND, HANDLE hPrinter, LPWSTR pDeviceName, PDEVMODEW pDevModeOutput,
                                PDEVMODEW pDevModeInput, DWORD fMode) {
    HANDLE printer = hPrinter;
    if (!printer && (!pDeviceName || !OpenPrinterW(pDeviceName, &printer, nullptr))) {
        if (!pDeviceName) {
            SetLastError(ERROR_INVALID_HANDLE);
        }
        return -1;
    }
    LONG answer =
        moltr::unidrv::DocumentDevMode(printer, pDeviceName, pDevModeOutput, pDevModeInput, fMode);
    if (printer != hPrinter) {
        ClosePrinter(printer);
    }
    return answer;
}

} // extern "C"
