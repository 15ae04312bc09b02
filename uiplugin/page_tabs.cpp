#include "uiplugin/page_tabs.h"

#include <commctrl.h>
#include <prsht.h>

namespace moltr::ui {

int HostTabIndex(HWND sheet, HWND hostPage, DWORD ownSheets) {
    const int known = hostPage != nullptr ? PropSheet_HwndToIndex(sheet, hostPage) : -1;
    if (known >= 0) {
        return known;
    }
    const int tabs =
        static_cast<int>(SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETITEMCOUNT, 0, 0));
    const int fromEnd = tabs - static_cast<int>(ownSheets);
    return fromEnd >= 0 ? fromEnd : tabs - 2;
}

} // namespace moltr::ui
