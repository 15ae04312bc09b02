#include "src/unidrv/ui_printer_event.h"

#include <winddiui.h>
#include <winspool.h>
#include <string>
#include "src/unidrv/ui_plugin.h"

namespace moltr::unidrv {

HRESULT InitializePrinter(LPCWSTR printerName) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    LPWSTR name = const_cast<LPWSTR>(printerName);
    if (!OpenPrinterW(name, &printer, &defaults) && !OpenPrinterW(name, &printer, nullptr)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    HRESULT result = E_FAIL;
    {
        UiPlugin plugin;
        result = plugin.Load(printer);
        if (SUCCEEDED(result)) {
            // The answer matters only to later devmodes, which ask again.
            DWORD size = 0;
            plugin.PrivateDevModeSize(printer, &size);
            // The plug-in may keep the name it is given.
            std::u16string own(reinterpret_cast<const char16_t*>(printerName));
            result = plugin.plugin()->PrinterEvent(reinterpret_cast<PWSTR>(own.data()),
                                                   PRINTER_EVENT_INITIALIZE,
                                                   PRINTER_EVENT_FLAG_NO_UI, 0);
        }
    }
    ClosePrinter(printer);
    return result;
}

} // namespace moltr::unidrv
