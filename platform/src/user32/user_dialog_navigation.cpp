// The dialog's keyboard interface: GetNextDlgTabItem, GetNextDlgGroupItem and IsDialogMessageW.
// The controls are taken in Z order; a child window with WS_EX_CONTROLPARENT (a DS_CONTROL dialog,
// a property sheet's page) is not a control itself but lends its own controls to the order. Tab
// and Shift+Tab go from tab stop to tab stop, the arrow keys through the focused control's group
// (from a WS_GROUP control to the next one), Enter presses the default push button (IDOK when
// there is none) and Escape IDCANCEL, unless WM_GETDLGCODE says the control wants the key itself.
#include "src/user32/user_dialog_manager.h"
#include "src/user32/user_objects.h"

#include <windows.h>
#include <algorithm>
#include <vector>

namespace moltr::platform {
namespace {

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

// Shown and enabled by its own style: a dialog not yet shown has tab stops all the same.
bool IsAvailable(HWND control) {
    return (StyleOf(control) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

void AppendControls(HWND parent, std::vector<HWND>& controls) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool container = (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
        if (!container) {
            controls.push_back(child);
        } else if (IsAvailable(child)) {
            AppendControls(child, controls);
        }
    }
}

std::vector<HWND> ControlsOf(HWND dialog) {
    std::vector<HWND> controls;
    AppendControls(dialog, controls);
    return controls;
}

// From `from` (exclusive) one step at a time in the direction asked, round the end of
// [first, last), the first control that `wanted` takes; `from` itself when no other one is.
template <class Wanted>
HWND Search(const std::vector<HWND>& controls, size_t first, size_t last, size_t from,
            bool previous, Wanted&& wanted) {
    const size_t count = last - first;
    for (size_t step = 1; step <= count; ++step) {
        const size_t offset = previous ? (from - first + count - step % count) % count
                                       : (from - first + step) % count;
        if (wanted(controls[first + offset])) {
            return controls[first + offset];
        }
    }
    return nullptr;
}

bool IsTabStop(HWND control) {
    return (StyleOf(control) & WS_TABSTOP) && IsAvailable(control);
}

LRESULT CodeFor(HWND control, const MSG& message) {
    return SendMessageW(control, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
}

void Command(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    // A disabled button cannot be pressed.
    if (control && !IsWindowEnabled(control)) {
        return;
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void Enter(HWND dialog, HWND focus, LRESULT code) {
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        Command(dialog, GetDlgCtrlID(focus));
        return;
    }
    const LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    Command(dialog, HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK);
}

void Arrow(HWND dialog, HWND focus, bool previous, const MSG& message) {
    HWND next = GetNextDlgGroupItem(dialog, focus, previous);
    if (!next || next == focus) {
        return;
    }
    FocusDialogControl(dialog, next);
    // Moving onto an automatic radio button checks it.
    if ((CodeFor(next, message) & DLGC_RADIOBUTTON) &&
        (StyleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
        SendMessageW(next, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        SendMessageW(next, BM_CLICK, 0, 0);
    }
}

// A key the dialog takes for itself; false leaves it to the control.
bool DialogKey(HWND dialog, const MSG& message) {
    HWND focus = message.hwnd;
    const LRESULT code = CodeFor(focus, message);
    if (code & DLGC_WANTMESSAGE) {
        return false;
    }
    switch (message.wParam) {
    case VK_TAB:
        if (code & DLGC_WANTTAB) {
            return false;
        }
        SendMessageW(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (code & DLGC_WANTARROWS) {
            return false;
        }
        Arrow(dialog, focus, message.wParam == VK_LEFT || message.wParam == VK_UP, message);
        return true;
    case VK_RETURN:
        Enter(dialog, focus, code);
        return true;
    case VK_ESCAPE:
        Command(dialog, IDCANCEL);
        return true;
    default:
        return false;
    }
}

// The dialog's controls and where `control` stands among them (past the end when it is none of
// them); false for a dialog that is none or has no controls.
bool Locate(HWND dialog, HWND control, std::vector<HWND>& controls, size_t& at) {
    if (!IsWindow(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    controls = ControlsOf(dialog);
    at = static_cast<size_t>(std::find(controls.begin(), controls.end(), control) -
                             controls.begin());
    return !controls.empty();
}

bool IsFor(HWND dialog, HWND window) {
    std::lock_guard guard(UserLock());
    return window && IsSelfOrDescendant(dialog, window);
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    std::vector<HWND> controls;
    size_t at = 0;
    if (!Locate(hDlg, hCtl, controls, at)) {
        return nullptr;
    }
    // Without a control to start from, the search starts at either end.
    const size_t from = at < controls.size() ? at : bPrevious ? 0 : controls.size() - 1;
    HWND found = Search(controls, 0, controls.size(), from, bPrevious, IsTabStop);
    return found ? found : hCtl;
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    std::vector<HWND> controls;
    size_t at = 0;
    if (!Locate(hDlg, hCtl, controls, at)) {
        return nullptr;
    }
    const size_t from = at < controls.size() ? at : 0;
    // The group runs from its WS_GROUP control up to the next one.
    size_t first = from;
    while (first > 0 && !(StyleOf(controls[first]) & WS_GROUP)) {
        --first;
    }
    size_t last = from + 1;
    while (last < controls.size() && !(StyleOf(controls[last]) & WS_GROUP)) {
        ++last;
    }
    HWND found = Search(controls, first, last, from, bPrevious, IsAvailable);
    return found ? found : controls[from];
}

BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg) {
    if (!lpMsg || !IsWindow(hDlg) || !IsFor(hDlg, lpMsg->hwnd)) {
        return FALSE;
    }
    if (lpMsg->message == WM_KEYDOWN && DialogKey(hDlg, *lpMsg)) {
        return TRUE;
    }
    TranslateMessage(lpMsg);
    DispatchMessageW(lpMsg);
    return TRUE;
}
}
