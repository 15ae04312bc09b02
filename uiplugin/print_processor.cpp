#include "uiplugin/print_processor.h"

#include <cstring>
#include <winspool.h>
#include <vector>
#include "common/windows_version.h"

namespace moltr::ui {

HRESULT SetProductPrintProcessor(HANDLE printer) {
    if (!common::RunsWindowsVersion(5, 0) && !common::RunsWindowsVersion(5, 1)) {
        return S_OK;
    }
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed == 0) {
        return E_FAIL;
    }
    std::vector<BYTE> info(needed);
    if (!GetPrinterW(printer, 2, info.data(), needed, &needed)) {
        return E_FAIL;
    }
    auto* printerInfo = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
    WCHAR name[sizeof kPrintProcessorName / sizeof(WCHAR)];
    std::memcpy(name, kPrintProcessorName, sizeof name);
    printerInfo->pPrintProcessor = name;
    // Setting up the printer goes on with the old processor if this is refused.
    SetPrinterW(printer, 2, info.data(), 0);
    return S_OK;
}

} // namespace moltr::ui
