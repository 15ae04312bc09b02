#pragma once
// Small helpers on UTF-16 text shared by the kernel services (the simulation's own, not Win32).
#include <windows.h>
#include <string>
#include <string_view>

namespace moltr::sim {

// Upper case of the ASCII and Latin-1 letters, as names compare in the file system, the registry,
// INI files and the environment.
char16_t UpperChar(char16_t c);
std::u16string Upper(std::u16string_view text);
bool EqualNoCase(std::u16string_view a, std::u16string_view b);

// The copy-out protocol of GetSystemDirectoryW, GetTempPathW, GetEnvironmentVariableW and friends:
// when the text and its NUL fit in `size` characters it is copied and its length returned; else the
// buffer is left alone and the size it needs (with the NUL) is returned.
DWORD CopyOut(std::u16string_view text, WCHAR* buffer, DWORD size);

} // namespace moltr::sim
