#pragma once
// Modules the system provides rather than the machine's files (the HTML Help control, the theme
// library, KERNEL32 itself): the loader hands out a fixed handle for each, however it is named
// (bare or with a folder), and resolves the exports callers bind at run time from the platform.
#include <windows.h>
#include <string>

namespace moltr::platform {

// The system module whose base name is that of `name` (normalised), ignoring case; NULL if none.
HMODULE SystemModuleNamed(const std::u16string& name);

bool IsSystemModule(HMODULE module);

// An export of a system module, by name or by ordinal; NULL with `error` set when it has none.
FARPROC SystemModuleExport(HMODULE module, LPCSTR name, DWORD& error);

} // namespace moltr::platform
