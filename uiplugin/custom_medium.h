#pragma once
// A custom medium as the description files name it: its form name in the ANSI code page, the
// identifier its option and symbols are named after, and its size.
#include <windows.h>
#include <string>

namespace moltr::uiplugin {

struct CustomMedium {
    std::string name;       // ANSI code page
    std::string identifier; // upper case, safe in GPD and PPD keywords
    DWORD width;            // micrometres
    DWORD length;           // micrometres
};

// The identifier of the form `formName`: its ANSI bytes (at most 31), with every byte outside
// 0x2A-0x3F and the letters written as two hexadecimal digits, all upper-cased.
std::string CustomMediumIdentifier(LPCWSTR formName);

CustomMedium MakeCustomMedium(LPCWSTR formName, DWORD width, DWORD length);

} // namespace moltr::uiplugin
