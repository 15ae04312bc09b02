#pragma once
// DeviceCapabilitiesW through the universal driver's user interface: the driver answers from the
// printer's GPD first (DC_PAPERS and DC_PAPERNAMES by its paper capabilities, DC_BINNAMES from the
// InputBin options, DC_MINEXTENT and DC_MAXEXTENT as 0, since the GPD gives no custom-size
// limits), then offers the question to the UI plug-in's DeviceCapabilities with that answer as
// dwOld; an answer the plug-in accepts (S_OK) is its dwResult, else the driver's stands. A
// printer whose driver has no UI plug-in gets the paper capabilities alone.
#include <windows.h>

namespace moltr::unidrv {

// The characters of one DC_BINNAMES entry, the terminating NUL included.
inline constexpr size_t kBinNameChars = 24;

// GDI_ERROR for a capability neither answers, or a printer whose driver cannot be read.
DWORD UiDeviceCapabilities(HANDLE printer, PWSTR deviceName, WORD capability, PVOID output,
                           PDEVMODEW devmode);

} // namespace moltr::unidrv
