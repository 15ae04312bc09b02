// DocumentPropertiesW: the spooler hands the question to the printer's driver, whose user
// interface answers it, as winspool does on Windows. Without a printer handle the printer named
// by the device name is opened for the call. With DM_IN_PROMPT the driver's document sheet is
// shown through compstui: IDOK and the output devmode filled when the user leaves it with OK,
// IDCANCEL and the output untouched otherwise.
#include <windows.h>
#include <compstui.h>
#include <winddiui.h>
#include <winspool.h>
#include <vector>
#include "src/unidrv/ui_document_devmode.h"

namespace {

// The printer's name, as the sheet shows it.
std::vector<WCHAR> PrinterName(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterW(printer, 2, info.data(), needed, &needed)) {
        return {0};
    }
    const WCHAR* name = reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPrinterName;
    return std::vector<WCHAR>(name, name + lstrlenW(name) + 1);
}

LONG PromptDocument(HWND window, HANDLE printer, PDEVMODEW output, PDEVMODEW input, DWORD mode) {
    const LONG size = moltr::unidrv::DocumentDevMode(printer, nullptr, nullptr, nullptr, 0);
    if (size < 0) {
        return size;
    }
    std::vector<WCHAR> name = PrinterName(printer);
    DOCUMENTPROPERTYHEADER header = {sizeof header,
                                     0,
                                     printer,
                                     name.data(),
                                     (mode & DM_IN_BUFFER) ? input : nullptr,
                                     (mode & DM_OUT_BUFFER) ? output : nullptr,
                                     static_cast<DWORD>(size),
                                     mode};
    DWORD result = CPSUI_CANCEL;
    if (CommonPropertySheetUIW(window, DrvDocumentPropertySheets, reinterpret_cast<LPARAM>(&header),
                               &result) < 0) {
        return -1;
    }
    return result == CPSUI_OK ? IDOK : IDCANCEL;
}

} // namespace

extern "C" {

LONG WINAPI DocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName,
                                PDEVMODEW pDevModeOutput, PDEVMODEW pDevModeInput, DWORD fMode) {
    HANDLE printer = hPrinter;
    if (!printer && (!pDeviceName || !OpenPrinterW(pDeviceName, &printer, nullptr))) {
        if (!pDeviceName) {
            SetLastError(ERROR_INVALID_HANDLE);
        }
        return -1;
    }
    LONG answer = 0;
    if ((fMode & DM_IN_PROMPT) && (fMode & DM_OUT_BUFFER) && !pDevModeOutput) {
        SetLastError(ERROR_INVALID_PARAMETER);
        answer = -1;
    } else if (fMode & DM_IN_PROMPT) {
        answer = PromptDocument(hWnd, printer, pDevModeOutput, pDevModeInput, fMode);
    } else {
        answer = moltr::unidrv::DocumentDevMode(printer, pDeviceName, pDevModeOutput, pDevModeInput,
                                                fMode);
    }
    if (printer != hPrinter) {
        ClosePrinter(printer);
    }
    return answer;
}

LONG WINAPI AdvancedDocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName,
                                        PDEVMODEW pDevModeOutput, PDEVMODEW pDevModeInput) {
    const DWORD mode = DM_IN_PROMPT | DM_OUT_BUFFER | (pDevModeInput ? DM_IN_BUFFER : 0);
    return DocumentPropertiesW(hWnd, hPrinter, pDeviceName, pDevModeOutput, pDevModeInput, mode) ==
                   IDOK
               ? 1
               : 0;
}

} // extern "C"
