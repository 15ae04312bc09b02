#pragma once
// The input state that threads share once AttachThreadInput joins them: which thread a thread of
// this process is attached to, and the active and focused windows of each input queue.
#include <windows.h>

namespace moltr::platform {

// The thread whose input `thread` shares; 0 when it has its own.
DWORD AttachedInputThread(DWORD thread);

// A window that is being hidden, disabled or destroyed cannot keep the focus: when it or one of its
// children has it, the focus goes to `to` (its parent, or none). Called without UserLock() held.
void RevertFocus(HWND window, HWND to);

// A destroyed window is no longer the active window of its queue.
void ForgetActiveWindow(HWND window);

} // namespace moltr::platform
