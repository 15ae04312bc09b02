#pragma once
// Host stand-in for the process status API: the base name of a module of the calling process.
#include <windows.h>

extern "C" {
DWORD WINAPI GetModuleBaseNameW(HANDLE hProcess, HMODULE hModule, LPWSTR lpBaseName, DWORD nSize);
}

#define GetModuleBaseName GetModuleBaseNameW
