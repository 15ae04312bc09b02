// DeviceCapabilitiesW: the spooler opens the named printer and hands the question to its printer
// driver's user interface, as winspool does on Windows; every failure answers -1.
#include <windows.h>
#include <winspool.h>
#include "src/unidrv/ui_device_capabilities.h"

extern "C" {

int WINAPI DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR, WORD fwCapability, LPWSTR pOutput,
                               const DEVMODEW* pDevMode) {
    HANDLE printer = nullptr;
    if (!pDevice || !OpenPrinterW(const_cast<LPWSTR>(pDevice), &printer, nullptr)) {
        return -1;
    }
    DWORD answer =
        moltr::unidrv::UiDeviceCapabilities(printer, const_cast<PWSTR>(pDevice), fwCapability,
                                            pOutput, const_cast<PDEVMODEW>(pDevMode));
    ClosePrinter(printer);
    return answer == GDI_ERROR ? -1 : static_cast<int>(answer);
}

} // extern "C"
