#include "uiplugin/printer_event_override.h"

#include <winddiui.h>
#include <winspool.h>
#include "common/resources.h"
#include "uiplugin/form_table.h"
#include "uiplugin/print_processor.h"

namespace moltr::ui {

HRESULT OverridePrinterEvent(PWSTR printerName, INT event, DWORD, LPARAM) {
    if (event != PRINTER_EVENT_INITIALIZE) {
        return E_NOTIMPL;
    }
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(printerName, &printer, &defaults)) {
        return E_PENDING;
    }
    common::IDrvResources* resources = nullptr;
    if (FAILED(common::CreatePrinterResources(&resources, printer, nullptr))) {
        // The printer is closed on this path too.
        ClosePrinter(printer);
        return E_FAIL;
    }
    AddPrinterForms(printer, *resources);
    SetProductPrintProcessor(printer);
    ClosePrinter(printer);
    resources->Release();
    return E_PENDING;
}

} // namespace moltr::ui
