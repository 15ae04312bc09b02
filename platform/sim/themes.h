#pragma once
// Visual styles of the simulated desktop (host build only): the theme library answers that styles
// are on, and keeps, for the tests, the dialog texture each window asked for.
#include <windows.h>

namespace moltr::sim {

// The ETDT_ flags of the last EnableThemeDialogTexture call for `window`; 0 when it made none.
DWORD DialogTexture(HWND window);

} // namespace moltr::sim
