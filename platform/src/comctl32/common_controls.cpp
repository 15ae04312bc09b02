// InitCommonControlsEx and InitCommonControls: the classes of the groups asked for become
// application global classes. Registering a class again is no failure, so every call may ask.
#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_state.h"

#include <commctrl.h>

namespace moltr::platform {
namespace {

// Dialogs keep their procedure's result, procedure and user data in their extra bytes.
constexpr int kDialogExtra = 30;

struct ControlClass {
    DWORD groups; // 0: always registered
    const WCHAR* name;
    WNDPROC proc;
    int extra;
};

constexpr ControlClass kClasses[] = {
    {ICC_TAB_CLASSES, WC_TABCONTROLW, TabControlProc, kStateBytes},
    {ICC_BAR_CLASSES, TRACKBAR_CLASSW, TrackbarProc, kStateBytes},
    {ICC_UPDOWN_CLASS, UPDOWN_CLASSW, UpDownProc, kStateBytes},
    {ICC_TREEVIEW_CLASSES, WC_TREEVIEWW, TreeViewProc, kStateBytes},
    {ICC_LISTVIEW_CLASSES, WC_LISTVIEWW, ListViewProc, kStateBytes},
    {ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES,
     TOOLTIPS_CLASSW, TooltipProc, kStateBytes},
    {0, kSheetFrameClass, SheetFrameProc, kStateBytes},
    {0, kSheetPageClass, SheetPageProc, kDialogExtra},
};

bool Register(const ControlClass& control) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.style = CS_GLOBALCLASS | CS_DBLCLKS;
    description.lpfnWndProc = control.proc;
    description.cbWndExtra = control.extra;
    description.lpszClassName = control.name;
    return RegisterClassExW(&description) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

bool RegisterControlClasses(DWORD groups) {
    bool registered = true;
    for (const ControlClass& control : kClasses) {
        if ((control.groups == 0 || (control.groups & groups)) && !Register(control)) {
            registered = false;
        }
    }
    return registered;
}

} // namespace moltr::platform

extern "C" {

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        return FALSE;
    }
    return moltr::platform::RegisterControlClasses(picce->dwICC) ? TRUE : FALSE;
}

void WINAPI InitCommonControls(void) {
    moltr::platform::RegisterControlClasses(ICC_WIN95_CLASSES);
}
}
