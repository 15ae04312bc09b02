#include "uiplugin/access_level.h"

#include <winspool.h>
#include "common/windows_version.h"

namespace moltr::ui {

DWORD ComputeAccessLevel(LPCWSTR printer, LPCWSTR settingsFile) {
    HANDLE handle = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (printer == nullptr || !OpenPrinterW(const_cast<LPWSTR>(printer), &handle, &defaults)) {
        return kAccessNone;
    }
    ClosePrinter(handle);
    if (!common::RunsWindowsVersion(6, 0) || settingsFile == nullptr) {
        return kAccessFull;
    }
    if (!WritePrivateProfileStringW(L"VistaTest", L"Value", L"1", settingsFile)) {
        return kAccessElevated;
    }
    WritePrivateProfileStringW(L"VistaTest", nullptr, nullptr, settingsFile);
    return kAccessFull;
}

} // namespace moltr::ui
