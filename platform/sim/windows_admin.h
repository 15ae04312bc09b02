#pragma once
// Inspection of the simulated window manager (host build only).
#include <windows.h>
#include <string>

namespace moltr::sim {

// The class name a window was created with, as the class was registered ("Button" for "BUTTON");
// empty for a handle that is no window.
std::u16string WindowClassName(HWND window);
// The number of windows of the process that exist.
size_t WindowCount();
// The number of GDI objects (fonts, bitmaps, device contexts) the process holds, stock ones aside.
size_t GdiObjectCount();
// The number of icons and cursors the process holds, shared ones included.
size_t IconCount();

// Takes every message waiting in the calling thread's queue, translating and dispatching each as a
// message loop does, until none is left; returns how many it dispatched. A quit request ends it and
// stays in the queue for the loop further out.
size_t DispatchPostedMessages();

} // namespace moltr::sim
