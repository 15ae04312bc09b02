#pragma once
// The message queue of each thread that uses the window manager: the messages posted to its
// windows and to the thread itself, the quit request, and the key state its keyboard messages left.
// A thread gets its queue with its first window or its first call that needs one, and loses it when
// it ends. The queues are kept under the window manager's lock.
#include <windows.h>

namespace moltr::platform {

// Makes the calling thread's queue if it has none yet.
void EnsureMessageQueue();

// Puts the character TranslateMessage made of a key message at the head of the calling thread's
// queue, so that it is the next message taken.
void PostCharacter(HWND window, UINT message, WPARAM character, LPARAM keyData);

// Wakes `thread` if it waits in GetMessageW, since one of its windows is now due a WM_PAINT; the
// caller holds UserLock().
void WakeForPaint(DWORD thread);

// Drops the messages posted to a window that is being destroyed; the caller holds UserLock().
void FlushWindowMessages(HWND window, DWORD thread);

} // namespace moltr::platform
