#pragma once
// The monitor thread of one watched printer: follows its jobs through a printer change
// notification until the entry's stop event is signalled.
#include <windows.h>
#include "notifier/notifier_state.h"

namespace moltr::notifier {

// Starts the thread for `watch` (its handle kept in the entry); false when it cannot start.
bool StartPrinterMonitor(NotifierState& state, PrinterWatch& watch);

} // namespace moltr::notifier
