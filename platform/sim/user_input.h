#pragma once
// The simulated user's mouse and keyboard (host build only). Each input goes where a real one
// would: into the queue of the window's thread, from which it is taken (through IsDialogMessageW
// of the top-level window the control sits in, as a dialog's message loop takes it) and
// dispatched before the call returns, when the caller is that thread. A user acts only on a window
// that is visible and enabled: false for any other, and for a window that is none.
#include <windows.h>
#include <string_view>

namespace moltr::sim {

// A left click at the centre of the window's client area; a control that takes the focus from
// the keyboard gets it first, as the dialog manager gives it.
bool ClickControl(HWND window);

// Types `text` into the window, which gets the focus first: for each character its key (with
// Shift when the character needs it) goes down and up, WM_KEYDOWN, WM_CHAR and WM_KEYUP; a
// character that no key types comes as VK_PACKET.
bool TypeText(HWND window, std::u16string_view text);

// Presses and releases `key` on the window, which gets the focus first, with Shift held when asked.
bool PressKey(HWND window, WORD key, bool shift = false);

// Picks the entry at `index` of a list box (a click on the entry) or a combo box (its drop-down
// opened, the entry picked and the list closed, with the notifications the pick brings).
bool ChooseEntry(HWND control, int index);

} // namespace moltr::sim
