#pragma once
// The input state that threads share once AttachThreadInput joins them: which thread a thread of
// this process is attached to, and the active window of each input queue.
#include <windows.h>

namespace moltr::platform {

// The thread whose input `thread` shares; 0 when it has its own.
DWORD AttachedInputThread(DWORD thread);

} // namespace moltr::platform
