#pragma once
// The painting protocol: each window's update region, kept as the union of the rectangles
// invalidated, grows as windows are created shown, shown, hidden, moved and sized, and as
// InvalidateRect and RedrawWindow ask; BeginPaint takes it. The message queue hands out WM_PAINT
// for a visible window with something to paint once it holds nothing else for the thread.
#include <windows.h>

namespace moltr::platform {

// The caller holds UserLock() for all of these.

// `window` became visible: all its client area is to be erased and painted.
void WindowShown(HWND window);
// `window`, which stood at `where` in its parent's client area, was hidden there.
void WindowHidden(HWND window, const RECT& where);
// `window` stood at `before` until SetWindowPos with `flags` placed it where it is now.
void WindowPlaced(HWND window, const RECT& before, UINT flags);

// The first visible window of `thread` at or under `within` (null: any) that is due a WM_PAINT,
// parents before their children; null when there is none.
HWND WindowToPaint(DWORD thread, HWND within);

} // namespace moltr::platform
