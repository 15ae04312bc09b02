// The United States keyboard layout.
#include "src/user32/user_keyboard_layout.h"

namespace moltr::platform {
namespace {

struct KeyCharacters {
    WORD key;
    char16_t plain;
    char16_t shifted;
};

// Keys other than the letters, which type their own lower and upper case; the number pad's come
// last, so that typing finds these characters on the main keys.
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

} // namespace

char16_t KeyCharacter(WORD key, bool shift) {
    if (key >= 'A' && key <= 'Z') {
        return static_cast<char16_t>(shift ? key : key - 'A' + 'a');
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

bool CharacterKey(char16_t character, WORD& key, bool& shift) {
    if ((character >= u'a' && character <= u'z') || (character >= u'A' && character <= u'Z')) {
        shift = character <= u'Z';
        key = static_cast<WORD>(shift ? character : character - u'a' + 'A');
        return true;
    }
    for (const KeyCharacters& entry : kKeys) {
        if (entry.plain == character || entry.shifted == character) {
            key = entry.key;
            shift = entry.plain != character;
            return true;
        }
    }
    return false;
}

} // namespace moltr::platform
