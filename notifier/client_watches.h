#pragma once
// The ClientProcess entries: one per announcing application, watched until it exits.
#include <windows.h>
#include "notifier/notifier_state.h"

namespace moltr::notifier {

// The entry of `processId`, opened with its watch thread when it is new; null when the table is
// full or the process cannot be opened.
ClientProcess* WatchClient(NotifierState& state, DWORD processId);

} // namespace moltr::notifier
