#include "uiplugin/engine/item_controls.h"

#include <commctrl.h>
#include <compstui.h>
#include "uiplugin/engine/opt_item_handler.h"

namespace moltr::ui {

namespace {

enum class ControlKind { kOther, kButton, kCombo, kList, kEdit, kTrackbar, kUpDown };

struct ControlClass {
    LPCWSTR name;
    ControlKind kind;
};

constexpr ControlClass kControlClasses[] = {
    {L"Button", ControlKind::kButton},         {L"ComboBox", ControlKind::kCombo},
    {L"ListBox", ControlKind::kList},          {L"Edit", ControlKind::kEdit},
    {TRACKBAR_CLASSW, ControlKind::kTrackbar}, {UPDOWN_CLASSW, ControlKind::kUpDown},
};

// Longest class name of the table, terminator included.
constexpr int kClassChars = 32;

ControlKind KindOf(HWND control) {
    WCHAR name[kClassChars] = {};
    if (control == nullptr || GetClassNameW(control, name, kClassChars) == 0) {
        return ControlKind::kOther;
    }
    for (const ControlClass& known : kControlClasses) {
        if (lstrcmpiW(name, known.name) == 0) {
            return known.kind;
        }
    }
    return ControlKind::kOther;
}

BYTE TypeOf(const VORTAOptItemHandler& handler) {
    const POPTTYPE type = handler.Item()->pOptType;
    return type != nullptr ? type->Type : static_cast<BYTE>(TVOT_NONE);
}

// Numeric items keep their limits in OPTPARAM 1: the minimum in IconID, the maximum in lParam;
// track and scroll bars hold them in 16 bits.
void Limits(const VORTAOptItemHandler& handler, LONG* low, LONG* high) {
    const POPTTYPE type = handler.Item()->pOptType;
    *low = 0;
    *high = 0;
    if (type == nullptr || type->pOptParam == nullptr || type->Count < 2) {
        return;
    }
    const OPTPARAM& limits = type->pOptParam[1];
    const bool narrow = type->Type == TVOT_TRACKBAR || type->Type == TVOT_SCROLLBAR;
    *low = narrow ? static_cast<SHORT>(limits.IconID) : static_cast<LONG>(limits.IconID);
    *high = narrow ? static_cast<SHORT>(limits.lParam) : static_cast<LONG>(limits.lParam);
    *high = *high < *low ? *low : *high;
}

// The up-down control that sets `edit`, or null.
HWND SpinOf(HWND edit) {
    for (HWND next = GetWindow(edit, GW_HWNDNEXT); next != nullptr;
         next = GetWindow(next, GW_HWNDNEXT)) {
        if (KindOf(next) == ControlKind::kUpDown &&
            reinterpret_cast<HWND>(SendMessageW(next, UDM_GETBUDDY, 0, 0)) == edit) {
            return next;
        }
    }
    return nullptr;
}

// A list-like control holds the visible options; each entry remembers its option's index.
void ShowOptions(HWND control, VORTAOptItemHandler& handler, bool combo) {
    const UINT reset = combo ? CB_RESETCONTENT : LB_RESETCONTENT;
    const UINT add = combo ? CB_ADDSTRING : LB_ADDSTRING;
    const UINT data = combo ? CB_SETITEMDATA : LB_SETITEMDATA;
    SendMessageW(control, reset, 0, 0);
    LRESULT chosen = -1;
    const LONG selection = handler.GetSelection(0);
    for (DWORD i = 0; i < handler.GetOptionCount(); ++i) {
        WCHAR text[kOptionTextMax];
        BOOL visible = FALSE;
        handler.GetOptionText(i, text, &visible);
        if (!visible) {
            continue;
        }
        const LRESULT entry = SendMessageW(control, add, 0, reinterpret_cast<LPARAM>(text));
        if (entry < 0) {
            continue;
        }
        SendMessageW(control, data, static_cast<WPARAM>(entry), static_cast<LPARAM>(i));
        chosen = static_cast<LONG>(i) == selection ? entry : chosen;
    }
    SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

void ShowNumber(HWND edit, VORTAOptItemHandler& handler) {
    const LONG selection = handler.GetSelection(0);
    WCHAR text[16];
    wsprintfW(text, L"%d", selection);
    SetWindowTextW(edit, text);
    if (HWND spin = SpinOf(edit)) {
        LONG low = 0;
        LONG high = 0;
        Limits(handler, &low, &high);
        SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
        SendMessageW(spin, UDM_SETPOS32, 0, selection);
    }
}

void ShowPosition(HWND trackbar, VORTAOptItemHandler& handler) {
    LONG low = 0;
    LONG high = 0;
    Limits(handler, &low, &high);
    SendMessageW(trackbar, TBM_SETRANGEMIN, FALSE, low);
    SendMessageW(trackbar, TBM_SETRANGEMAX, FALSE, high);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, handler.GetSelection(0));
}

// The entry the user chose, as the index of its option; -1 for none.
LONG ChosenOption(HWND control, bool combo) {
    const LRESULT entry = SendMessageW(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    if (entry < 0) {
        return -1;
    }
    return static_cast<LONG>(SendMessageW(control, combo ? CB_GETITEMDATA : LB_GETITEMDATA,
                                          static_cast<WPARAM>(entry), 0));
}

} // namespace

void ShowInControl(HWND dialog, VORTAOptItemHandler& handler) {
    const DWORD id = handler.ItemId();
    HWND control = id <= 0xFFFF ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
    if (control != nullptr) {
        EnableWindow(control, handler.IsEnabled(0, kAllEnableBits));
        ShowWindow(control, handler.GetState() == kStateRemoved ? SW_HIDE : SW_SHOW);
    }
    const BYTE type = TypeOf(handler);
    switch (KindOf(control)) {
    case ControlKind::kButton:
        if (type == TVOT_CHKBOX) {
            SendMessageW(control, BM_SETCHECK,
                         handler.GetSelection(0) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        return;
    case ControlKind::kCombo:
    case ControlKind::kList:
        if (handler.GetOptionCount() > 0 && type != TVOT_CHKBOX && type != TVOT_PUSHBUTTON) {
            ShowOptions(control, handler, KindOf(control) == ControlKind::kCombo);
        }
        return;
    case ControlKind::kEdit:
        if (type == TVOT_EDITBOX && handler.Item()->pSel != nullptr) {
            SetWindowTextW(control, handler.Item()->pSel);
        } else if (type == TVOT_UDARROW) {
            ShowNumber(control, handler);
        }
        return;
    case ControlKind::kTrackbar:
        ShowPosition(control, handler);
        return;
    default:
        return;
    }
}

// Edits give their text when the user leaves them, so that a number typed digit by digit is not
// clamped on its way.
bool TakeFromControl(HWND control, UINT code, VORTAOptItemHandler& handler) {
    const BYTE type = TypeOf(handler);
    switch (KindOf(control)) {
    case ControlKind::kButton:
        if (code != BN_CLICKED || type != TVOT_CHKBOX) {
            return false;
        }
        handler.SetSelection(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0,
                             nullptr);
        return true;
    case ControlKind::kCombo:
    case ControlKind::kList: {
        const bool combo = KindOf(control) == ControlKind::kCombo;
        const LONG option = ChosenOption(control, combo);
        if (code != (combo ? CBN_SELCHANGE : LBN_SELCHANGE) || option < 0) {
            return false;
        }
        handler.SetSelection(option, nullptr);
        return true;
    }
    case ControlKind::kEdit: {
        if ((code != EN_KILLFOCUS && code != 0) || (type != TVOT_EDITBOX && type != TVOT_UDARROW)) {
            return false;
        }
        WCHAR text[kOptionTextMax] = {};
        GetWindowTextW(control, text, static_cast<int>(kOptionTextMax));
        handler.SetSelectionFromText(text);
        return true;
    }
    case ControlKind::kTrackbar:
        if (code != 0) {
            return false;
        }
        handler.SetSelectionByValue(SendMessageW(control, TBM_GETPOS, 0, 0), nullptr);
        return true;
    default:
        return false;
    }
}

HWND ValueControlOf(HWND control) {
    if (KindOf(control) != ControlKind::kUpDown) {
        return control;
    }
    HWND buddy = reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0));
    return buddy != nullptr ? buddy : control;
}

} // namespace moltr::ui
