#pragma once
// The paper capabilities the universal driver answers from a printer's GPD (DC_PAPERS and
// DC_PAPERNAMES), through the documented sizing protocol: without an output buffer the count
// alone; with one, the count and one entry per paper size in the order of the PaperSize options.
#include <windows.h>
#include "src/unidrv/gpd_model.h"

// The universal driver's DrvDeviceCapabilities, which DeviceCapabilitiesW reaches for the
// printer: the model is read from the printer driver's data file. GDI_ERROR for a capability it
// does not answer, a printer handle the spooler refuses, or a data file it cannot read.
DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, PVOID pvOutput,
                                   PDEVMODEW pDevMode);

namespace moltr::unidrv {

// The characters of one DC_PAPERNAMES entry, the terminating NUL included.
inline constexpr size_t kPaperNameChars = 64;

// DC_PAPERS writes one WORD paper code per size (see PaperCode), DC_PAPERNAMES 64 WCHARs per
// size (the option's *Name, else its option name, cut to 63 characters and padded with NULs).
DWORD PaperCapabilities(const GpdModel& model, WORD capability, void* output);

} // namespace moltr::unidrv
