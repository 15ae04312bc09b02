// Opening and saving by printer name, which only the user-interface plug-in carries.
#include <windows.h>
#include <winspool.h>
#include "store/record_memory.h"
#include "store/wide_text.h"

namespace moltr::store {

int OpenByName(LPCWSTR printerName, LPCWSTR structureName, StructureRecord** record) {
    if (record == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    *record = nullptr;
    if (IsEmpty(printerName) || IsEmpty(structureName)) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, nullptr)) {
        return ReportMessage(kMsgCannotOpenPrinter, printerName);
    }
    const int result = OpenByHandle(printer, structureName, record);
    ClosePrinter(printer);
    return result;
}

int SaveByName(StructureRecord** record, LPCWSTR printerName, BOOL close) {
    if (record == nullptr || *record == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (IsEmpty(printerName) ||
        !OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults)) {
        // A closing save releases the record whatever stops it.
        if (close) {
            Close(record);
        }
        return IsEmpty(printerName) ? ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__)
                                    : ReportMessage(kMsgCannotOpenPrinter, printerName);
    }
    const int result = SaveByHandle(record, printer, close);
    ClosePrinter(printer);
    return result;
}

} // namespace moltr::store
