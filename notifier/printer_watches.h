#pragma once
// Opening and shutting down the PrinterWatch entries: one per printer named in a request.
#include <windows.h>
#include "notifier/notifier_state.h"

namespace moltr::notifier {

// The entry watching `name`, opened with its monitor thread when it is new. Null when the table is
// full or the printer cannot be opened; a monitor thread that cannot start stops the program.
PrinterWatch* WatchPrinter(NotifierState& state, LPCWSTR name);

// Stops every monitor thread, waiting for each, and frees the entries.
void ShutPrinterWatches(NotifierState& state);

} // namespace moltr::notifier
