#pragma once
// The calling module's own instance handle, in both builds.
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

inline HMODULE ThisModuleHandle() {
    return reinterpret_cast<HMODULE>(&__ImageBase);
}
