// The simulated user's mouse and keyboard (sim/user_input.h).
#include "src/user32/user_dialog_manager.h"
#include "src/user32/user_keyboard_layout.h"
#include "sim/user_input.h"
#include "sim/utf.h"
#include "sim/windows_admin.h"

#include <windows.h>

namespace moltr::sim {
namespace {

HWND TopLevelOf(HWND window) {
    while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        window = GetParent(window);
    }
    return window;
}

bool CanUse(HWND window) {
    return IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

// What was put in the window's queue is taken as its thread's message loop takes it.
void Deliver(HWND window) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        DispatchPostedMessages(TopLevelOf(window));
    }
}

// The keyboard's input goes to the focused window: the dialog manager moves the focus there as
// a user reaching the control would.
void Focus(HWND window) {
    if (GetFocus() == window) {
        return;
    }
    HWND top = TopLevelOf(window);
    if (top != window) {
        platform::FocusDialogControl(top, window);
    } else {
        SetFocus(window);
    }
}

void Key(HWND window, UINT message, WORD key, WORD character = 0) {
    const WPARAM wParam = key == VK_PACKET ? MAKEWPARAM(VK_PACKET, character) : key;
    const LPARAM lParam = message == WM_KEYUP ? static_cast<LPARAM>(0xC0000001) : 1;
    PostMessageW(window, message, wParam, lParam);
}

void Stroke(HWND window, WORD key, bool shift, WORD character = 0) {
    if (shift) {
        Key(window, WM_KEYDOWN, VK_SHIFT);
    }
    Key(window, WM_KEYDOWN, key, character);
    Key(window, WM_KEYUP, key, character);
    if (shift) {
        Key(window, WM_KEYUP, VK_SHIFT);
    }
    Deliver(window);
}

// Tells the control's parent what a user's pick in the control's list makes it say.
void Notify(HWND control, WORD code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

} // namespace

bool ClickControl(HWND window) {
    RECT client{};
    if (!CanUse(window) || !GetClientRect(window, &client)) {
        return false;
    }
    if (!(SendMessageW(window, WM_GETDLGCODE, 0, 0) & DLGC_STATIC)) {
        Focus(window);
    }
    const LPARAM at =
        MAKELPARAM((client.left + client.right) / 2, (client.top + client.bottom) / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    Deliver(window);
    return true;
}

bool TypeText(HWND window, std::u16string_view text) {
    if (!CanUse(window)) {
        return false;
    }
    Focus(window);
    for (char16_t character : text) {
        WORD key = 0;
        bool shift = false;
        // A key typed may move the focus (a Tab): the next one goes where the focus is then.
        HWND focus = GetFocus() ? GetFocus() : window;
        if (platform::CharacterKey(character, key, shift)) {
            Stroke(focus, key, shift);
        } else {
            Stroke(focus, VK_PACKET, false, character);
        }
    }
    return true;
}

bool PressKey(HWND window, WORD key, bool shift) {
    if (!CanUse(window)) {
        return false;
    }
    Focus(window);
    Stroke(GetFocus() ? GetFocus() : window, key, shift);
    return true;
}

bool ChooseEntry(HWND control, int index) {
    if (!CanUse(control)) {
        return false;
    }
    const std::u16string name = WindowClassName(control);
    const bool combo = name == u"ComboBox";
    if (!combo && name != u"ListBox") {
        return false;
    }
    Focus(control);
    if (combo) {
        SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
    }
    // The pick is refused for an index the list does not have.
    if (SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0) ==
        (combo ? CB_ERR : LB_ERR)) {
        if (combo) {
            SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
        }
        return false;
    }
    if (combo) {
        Notify(control, CBN_SELCHANGE);
        Notify(control, CBN_SELENDOK);
        SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
    } else if (GetWindowLongW(control, GWL_STYLE) & LBS_NOTIFY) {
        Notify(control, LBN_SELCHANGE);
    }
    Deliver(control);
    return true;
}

} // namespace moltr::sim
