#pragma once
// The notifier pipe's server: serves one client after the other until the stop flag is set, then
// shuts the printer watches down.
#include <windows.h>
#include "notifier/notifier_state.h"

namespace moltr::notifier {

// How long the program waits with nothing to watch before it ends. The application that starts it
// pauses 500 ms and then makes one attempt to reach the pipe, so a request that has not come within
// a minute, even on a loaded machine, was lost (or named nothing that could be watched); ending
// then costs only a restart at the next qualifying merge.
inline constexpr ULONGLONG kIdleLimitMs = 60000;

// A client that connected has this long to send its whole request.
inline constexpr DWORD kReadLimitMs = 5000;

// The server thread's body; `state` is the program's NotifierState.
DWORD WINAPI PipeServerThread(LPVOID state);

} // namespace moltr::notifier
