#pragma once
// The machine's forms database as a whole (host build only), for `moltr forms`: what EnumFormsW
// lists, without needing a printer handle.
#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

namespace moltr::sim {

struct FormEntry {
    std::u16string name;
    DWORD flags = 0;
    SIZEL size = {0, 0}; // micrometres
    RECTL area = {0, 0, 0, 0};
};

// The built-in forms, then those added, as EnumFormsW lists them.
std::vector<FormEntry> ListForms();

} // namespace moltr::sim
