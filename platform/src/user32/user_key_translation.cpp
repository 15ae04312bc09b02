// TranslateMessage: a key pressed becomes the character it types on the desktop's keyboard (the
// United States layout), the next message of the queue. VK_PACKET carries its character in the
// key's high word, as keyboard input without a key does.
#include "src/user32/user_message_queue.h"

#include <windows.h>

namespace {

struct KeyCharacters {
    BYTE key;
    char16_t plain;
    char16_t shifted;
};

// Keys other than the letters, which type their own lower and upper case.
constexpr KeyCharacters kKeys[] = {
    {'0', u'0', u')'},          {'1', u'1', u'!'},           {'2', u'2', u'@'},
    {'3', u'3', u'#'},          {'4', u'4', u'$'},           {'5', u'5', u'%'},
    {'6', u'6', u'^'},          {'7', u'7', u'&'},           {'8', u'8', u'*'},
    {'9', u'9', u'('},          {VK_SPACE, u' ', u' '},      {VK_RETURN, u'\r', u'\r'},
    {VK_BACK, u'\b', u'\b'},    {VK_TAB, u'\t', u'\t'},      {VK_ESCAPE, 0x1B, 0x1B},
    {VK_OEM_1, u';', u':'},     {VK_OEM_PLUS, u'=', u'+'},   {VK_OEM_COMMA, u',', u'<'},
    {VK_OEM_MINUS, u'-', u'_'}, {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'},
    {VK_OEM_3, u'`', u'~'},     {0xDB, u'[', u'{'},          {0xDC, u'\\', u'|'},
    {0xDD, u']', u'}'},         {0xDE, u'\'', u'"'},         {VK_MULTIPLY, u'*', u'*'},
    {VK_ADD, u'+', u'+'},       {VK_SUBTRACT, u'-', u'-'},   {VK_DECIMAL, u'.', u'.'},
    {VK_DIVIDE, u'/', u'/'},
};

bool Down(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// The character a key types with the modifier keys as they are; 0 for none.
char16_t CharacterOf(WPARAM key) {
    if (LOWORD(key) == VK_PACKET) {
        return static_cast<char16_t>(HIWORD(key));
    }
    const bool shift = Down(VK_SHIFT);
    if (key >= 'A' && key <= 'Z') {
        if (Down(VK_CONTROL)) {
            return static_cast<char16_t>(key - 'A' + 1);
        }
        const bool upper = shift != ((GetKeyState(VK_CAPITAL) & 1) != 0);
        return static_cast<char16_t>(upper ? key : key - 'A' + 'a');
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) {
        return static_cast<char16_t>(u'0' + (key - VK_NUMPAD0));
    }
    for (const KeyCharacters& entry : kKeys) {
        if (entry.key == key) {
            return shift ? entry.shifted : entry.plain;
        }
    }
    return 0;
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
