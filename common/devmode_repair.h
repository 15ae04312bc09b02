#pragma once
// The devmode repair: brings a public devmode and its private part in line with what the printer
// has (duplex unit, large paper sizes and their scaling, optional trays and outputs, storage for
// job retention). Every deliverable runs the same routine on each merge.
#include <windows.h>

namespace moltr::common {

class CoDrvSettings;

// Repairs `devmode` and `privateDevMode` with the printer-wide values of `settings`. Fails only
// when an argument is missing. Printer settings that the printer's description does not define
// count as 0; private fields it does not define are not written.
bool RepairDevMode(CoDrvSettings& settings, DEVMODEW* devmode, void* privateDevMode);

} // namespace moltr::common
