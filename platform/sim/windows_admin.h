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

} // namespace moltr::sim
