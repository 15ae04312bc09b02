// The calls on a dialog's controls by their ids: SetDlgItemTextW, GetDlgItemTextW, SetDlgItemInt,
// GetDlgItemInt, SendDlgItemMessageW, CheckDlgButton, IsDlgButtonChecked and CheckRadioButton.
// Each finds the control with GetDlgItem, which answers ERROR_CONTROL_ID_NOT_FOUND for an id the
// dialog lacks, and then does what the control's own messages do.
#include "sim/utf.h"

#include <windows.h>
#include <climits>
#include <string>

namespace {

// A number as GetDlgItemInt reads it: spaces around it, a minus sign when signed, decimal
// digits, nothing else, and no more than the type holds.
bool ParseNumber(std::u16string_view text, bool isSigned, UINT& value) {
    size_t at = text.find_first_not_of(u' ');
    const size_t end = text.find_last_not_of(u' ') + 1;
    if (at == std::u16string_view::npos) {
        return false;
    }
    const bool negative = isSigned && text[at] == u'-';
    at += negative ? 1 : 0;
    if (at == end) {
        return false;
    }
    const unsigned long long limit = !isSigned  ? UINT_MAX
                                     : negative ? static_cast<unsigned long long>(INT_MAX) + 1
                                                : INT_MAX;
    unsigned long long number = 0;
    for (; at < end; ++at) {
        if (text[at] < u'0' || text[at] > u'9') {
            return false;
        }
        number = number * 10 + (text[at] - u'0');
        if (number > limit) {
            return false;
        }
    }
    value = negative ? static_cast<UINT>(0ULL - number) : static_cast<UINT>(number);
    return true;
}

} // namespace

extern "C" {

BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control ? SetWindowTextW(control, lpString) : FALSE;
}

UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
    if (lpString && cchMax > 0) {
        lpString[0] = 0;
    }
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control ? static_cast<UINT>(GetWindowTextW(control, lpString, cchMax)) : 0;
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
    const std::string text =
        bSigned ? std::to_string(static_cast<int>(uValue)) : std::to_string(uValue);
    return SetDlgItemTextW(hDlg, nIDDlgItem, moltr::sim::W(moltr::sim::Utf16(text)));
}

UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned) {
    if (lpTranslated) {
        *lpTranslated = FALSE;
    }
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    if (!control) {
        return 0;
    }
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
    text.resize(static_cast<size_t>(
        GetWindowTextW(control, moltr::sim::W(text), static_cast<int>(text.size()))));
    UINT value = 0;
    if (!ParseNumber(text, bSigned != FALSE, value)) {
        return 0;
    }
    if (lpTranslated) {
        *lpTranslated = TRUE;
    }
    return value;
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                   LPARAM lParam) {
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control ? SendMessageW(control, Msg, wParam, lParam) : 0;
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HWND control = GetDlgItem(hDlg, nIDButton);
    if (!control) {
        return FALSE;
    }
    SendMessageW(control, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    return static_cast<UINT>(SendDlgItemMessageW(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // Every control of the range hears whether it is the checked one.
    for (HWND child = GetWindow(hDlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id >= nIDFirstButton && id <= nIDLastButton) {
            SendMessageW(child, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return TRUE;
}
}
