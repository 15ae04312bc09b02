// DefDlgProcW, the window procedure of the dialog class, and EndDialog. The dialog procedure kept
// at DWLP_DLGPROC sees each message first; what it does not handle gets the dialog manager's
// default: the default push button (DM_GETDEFID, DM_SETDEFID), moving the focus (WM_NEXTDLGCTL),
// giving the focus back to the control that had it (WM_SETFOCUS, WM_ACTIVATE), WM_CLOSE as Cancel,
// and the template's font, deleted with the dialog.
#include "src/user32/user_dialog_manager.h"
#include "src/user32/user_objects.h"

#include <windows.h>

namespace moltr::platform {
namespace {

DialogInfo* InfoOf(HWND dialog) {
    Window* window = FindWindowObject(dialog);
    return window ? &window->dialog : nullptr;
}

bool IsWithin(HWND dialog, HWND window) {
    std::lock_guard guard(UserLock());
    return window && window != dialog && IsSelfOrDescendant(dialog, window);
}

LRESULT DialogCode(HWND control) {
    return SendMessageW(control, WM_GETDLGCODE, 0, 0);
}

bool IsPushButton(HWND control) {
    return control && (DialogCode(control) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// Draws `button` (or no button) as the dialog's default push button.
void ShowDefault(HWND dialog, HWND button) {
    HWND previous = nullptr;
    {
        std::lock_guard guard(UserLock());
        DialogInfo* info = InfoOf(dialog);
        if (!info || info->shownDefault == button) {
            return;
        }
        previous = info->shownDefault;
        info->shownDefault = button;
    }
    if (IsPushButton(previous)) {
        SendMessageW(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    if (IsPushButton(button)) {
        SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
}

int DefaultId(HWND dialog) {
    std::lock_guard guard(UserLock());
    const DialogInfo* info = InfoOf(dialog);
    return info ? info->defaultId : 0;
}

// The default push button's id: the one DM_SETDEFID set, else a control that says it is one.
LRESULT GetDefaultId(HWND dialog) {
    if (const int id = DefaultId(dialog)) {
        return MAKELONG(id, DC_HASDEFID);
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (DialogCode(child) & DLGC_DEFPUSHBUTTON) {
            return MAKELONG(GetDlgCtrlID(child), DC_HASDEFID);
        }
    }
    return 0;
}

void SetDefaultId(HWND dialog, int id) {
    {
        std::lock_guard guard(UserLock());
        DialogInfo* info = InfoOf(dialog);
        if (!info) {
            return;
        }
        info->defaultId = id;
    }
    // A push button with the focus stays the one drawn as default.
    if (!IsPushButton(GetFocus()) || !IsWithin(dialog, GetFocus())) {
        ShowDefault(dialog, GetDlgItem(dialog, id));
    }
}

// WM_NEXTDLGCTL: a control given by handle, or the next or previous tab stop from the focus.
void NextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND target = nullptr;
    if (LOWORD(lParam)) {
        target = reinterpret_cast<HWND>(wParam);
    } else {
        HWND focus = GetFocus();
        target = GetNextDlgTabItem(dialog, IsWithin(dialog, focus) ? focus : nullptr, wParam != 0);
    }
    if (target && IsWithin(dialog, target)) {
        FocusDialogControl(dialog, target);
    }
}

void SaveFocus(HWND dialog) {
    HWND focus = GetFocus();
    if (!IsWithin(dialog, focus)) {
        return;
    }
    std::lock_guard guard(UserLock());
    if (DialogInfo* info = InfoOf(dialog)) {
        info->savedFocus = focus;
    }
}

// The dialog itself got the focus: it goes on to the control that had it, else the first tab stop.
void RestoreFocus(HWND dialog) {
    HWND saved = nullptr;
    {
        std::lock_guard guard(UserLock());
        const DialogInfo* info = InfoOf(dialog);
        saved = info ? info->savedFocus : nullptr;
    }
    if (!saved || !IsWithin(dialog, saved) || !IsWindowVisible(saved) || !IsWindowEnabled(saved)) {
        saved = GetNextDlgTabItem(dialog, nullptr, FALSE);
    }
    if (saved && IsWithin(dialog, saved)) {
        FocusDialogControl(dialog, saved);
    }
}

// WM_CLOSE is Cancel, unless the dialog's Cancel button is disabled.
void Close(HWND dialog) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel && !IsWindowEnabled(cancel)) {
        return;
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel));
}

void DeleteOwnFont(HWND dialog) {
    HFONT font = nullptr;
    {
        std::lock_guard guard(UserLock());
        Window* window = FindWindowObject(dialog);
        if (!window || !window->dialog.ownsFont) {
            return;
        }
        font = window->font;
        window->dialog.ownsFont = false;
    }
    DeleteObject(font);
}

LRESULT DefaultProcessing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case DM_GETDEFID:
        return GetDefaultId(dialog);
    case DM_SETDEFID:
        SetDefaultId(dialog, static_cast<int>(wParam));
        return TRUE;
    case WM_NEXTDLGCTL:
        NextControl(dialog, wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        RestoreFocus(dialog);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            SaveFocus(dialog);
        } else {
            RestoreFocus(dialog);
        }
        return 0;
    case WM_CLOSE:
        Close(dialog);
        return 0;
    case WM_NCDESTROY:
        DeleteOwnFont(dialog);
        break;
    default:
        break;
    }
    // The dialog keeps its font as a control does.
    return ControlProc(dialog, message, wParam, lParam);
}

} // namespace

bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

void FocusDialogControl(HWND dialog, HWND control) {
    const LRESULT code = DialogCode(control);
    if (code & DLGC_HASSETSEL) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
    SetFocus(control);
    {
        std::lock_guard guard(UserLock());
        if (DialogInfo* info = InfoOf(dialog)) {
            info->savedFocus = control;
        }
    }
    // A push button with the focus is the one Enter presses; away from push buttons the dialog's
    // default one is again.
    ShowDefault(dialog, (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
                            ? control
                            : GetDlgItem(dialog, LOWORD(GetDefaultId(dialog))));
}

bool DialogEnded(HWND dialog, INT_PTR& result) {
    std::lock_guard guard(UserLock());
    const DialogInfo* info = InfoOf(dialog);
    if (!info || !info->ended) {
        return false;
    }
    result = info->result;
    return true;
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hDlg, DWLP_DLGPROC));
    if (proc) {
        SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0);
        const INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
        if (Msg == WM_INITDIALOG || (handled && AnswersDirectly(Msg))) {
            return handled;
        }
        if (handled) {
            return IsWindow(hDlg) ? GetWindowLongPtrW(hDlg, DWLP_MSGRESULT) : 0;
        }
    }
    return DefaultProcessing(hDlg, Msg, wParam, lParam);
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    std::lock_guard guard(UserLock());
    Window* dialog = CheckedWindow(hDlg);
    if (!dialog) {
        return FALSE;
    }
    dialog->dialog.ended = true;
    dialog->dialog.result = nResult;
    return TRUE;
}
}
