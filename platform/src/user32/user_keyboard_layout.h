#pragma once
// The desktop's keyboard (the United States layout): the character a key types, and the key that
// types a character, for TranslateMessage and the simulated user's typing.
#include <windows.h>

namespace moltr::platform {

// The character `key` types with Shift as given and Control up; 0 for a key that types none.
char16_t KeyCharacter(WORD key, bool shift);

// The key (and whether Shift is held) that types `character`; false for a character no key types,
// which keyboard input without a key (VK_PACKET) brings instead.
bool CharacterKey(char16_t character, WORD& key, bool& shift);

} // namespace moltr::platform
