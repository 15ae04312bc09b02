#pragma once
// Modules of the system directory that the plug-in binds at run time, loaded by their full path so
// that no copy of the same name elsewhere on the search path is taken.
#include <windows.h>

namespace moltr::ui {

// Loads `fileName` (e.g. L"UXTHEME.DLL") from the system directory; NULL when it is not there.
HMODULE LoadSystemModule(LPCWSTR fileName);

} // namespace moltr::ui
