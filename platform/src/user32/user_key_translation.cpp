// TranslateMessage: a key pressed becomes the character it types on the desktop's keyboard, the
// next message of the queue. VK_PACKET carries its character in the key's high word, as keyboard
// input without a key does.
#include "src/user32/user_keyboard_layout.h"
#include "src/user32/user_message_queue.h"

#include <windows.h>

namespace {

bool Down(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// The character a key types with the modifier keys as they are; 0 for none.
char16_t CharacterOf(WPARAM key) {
    if (LOWORD(key) == VK_PACKET) {
        return static_cast<char16_t>(HIWORD(key));
    }
    if (key >= 'A' && key <= 'Z' && Down(VK_CONTROL)) {
        return static_cast<char16_t>(key - 'A' + 1);
    }
    const bool capitals = key >= 'A' && key <= 'Z' && (GetKeyState(VK_CAPITAL) & 1) != 0;
    return moltr::platform::KeyCharacter(static_cast<WORD>(key), Down(VK_SHIFT) != capitals);
}

} // namespace

extern "C" {

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg) {
        return FALSE;
    }
    const UINT message = lpMsg->message;
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) {
        // Releasing a key types nothing, but is a key message all the same.
        return message == WM_KEYUP || message == WM_SYSKEYUP ? TRUE : FALSE;
    }
    if (const char16_t character = CharacterOf(lpMsg->wParam)) {
        moltr::platform::PostCharacter(lpMsg->hwnd, message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                                       character, lpMsg->lParam);
    }
    return TRUE;
}
}
