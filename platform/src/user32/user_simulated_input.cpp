// The simulated user's mouse and keyboard (sim/user_input.h).
#include "src/user32/user_dialog_manager.h"
#include "src/user32/user_keyboard_layout.h"
#include "sim/user_input.h"
#include "sim/utf.h"
#include "sim/windows_admin.h"

#include <windows.h>

#include <algorithm>

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

// A click at `at`, in the window's client coordinates.
void ClickAt(HWND window, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
    Deliver(window);
}

POINT Middle(const RECT& area) {
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

// The list box entry scrolled into view, then clicked.
void ClickListEntry(HWND list, int index) {
    RECT client{};
    RECT entry{};
    GetClientRect(list, &client);
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&entry));
    if (entry.top < client.top || entry.bottom > client.bottom) {
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&entry));
    }
    ClickAt(list, Middle(entry));
}

// The combo box's list dropped down by a click on its field (a simple combo box shows it
// always), the entry scrolled into view and clicked.
void ClickComboEntry(HWND combo, int index) {
    RECT client{};
    GetClientRect(combo, &client);
    if ((GetWindowLongW(combo, GWL_STYLE) & CBS_DROPDOWNLIST) != CBS_SIMPLE) {
        const LONG field =
            static_cast<LONG>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        // The right end of the field is its button, which drops an edit field's list too.
        ClickAt(combo, POINT{client.right - 4, field / 2 + 2});
    }
    RECT list{};
    RECT window{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    GetWindowRect(combo, &window);
    const LONG height = static_cast<LONG>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const LONG rows = std::max<LONG>(1, (list.bottom - list.top - 2) / std::max<LONG>(1, height));
    LONG top = static_cast<LONG>(SendMessageW(combo, CB_GETTOPINDEX, 0, 0));
    if (index < top || index >= top + rows) {
        SendMessageW(combo, CB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        top = static_cast<LONG>(SendMessageW(combo, CB_GETTOPINDEX, 0, 0));
    }
    const LONG y = list.top - window.top + 1 + (index - top) * height + height / 2;
    ClickAt(combo, POINT{(list.right - list.left) / 2, y});
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
    ClickAt(window, Middle(client));
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
    // The pick is refused for an index the list does not have.
    const LRESULT count = SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) {
        return false;
    }
    Focus(control);
    if (combo) {
        ClickComboEntry(control, index);
    } else {
        ClickListEntry(control, index);
    }
    return true;
}

} // namespace moltr::sim
