#pragma once
// The tabs of the sheet the host shows: where the host's own page (the first of the plug-in's
// sheets) stands among them.
#include <windows.h>

namespace moltr::ui {

// The tab of `hostPage` in `sheet`; when the sheet does not know it (or `hostPage` is null), the
// host's page is taken to stand before the plug-in's `ownSheets - 1` pages at the end, and when
// there are fewer tabs than that, second to last.
int HostTabIndex(HWND sheet, HWND hostPage, DWORD ownSheets);

} // namespace moltr::ui
