#pragma once
// Pictures of windows as they look on the simulated desktop (host build only), for the tests and
// `moltr ui --png`.
#include <windows.h>
#include <vector>

namespace moltr::sim {

// The picture of a window with its visible children, each painted through WM_PRINTCLIENT into a
// surface of its own where it stands, the bottom of the Z order first, as a PNG file's bytes;
// empty for a handle that is no window.
std::vector<BYTE> WindowPicture(HWND window);

} // namespace moltr::sim
