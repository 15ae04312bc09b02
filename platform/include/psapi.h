#pragma once
// Host stand-in for the process status API: the processes of the simulated machine and the modules
// of a process, the calling one or another.
#include <windows.h>

extern "C" {
BOOL WINAPI EnumProcesses(DWORD* lpidProcess, DWORD cb, LPDWORD lpcbNeeded);
BOOL WINAPI EnumProcessModules(HANDLE hProcess, HMODULE* lphModule, DWORD cb, LPDWORD lpcbNeeded);
DWORD WINAPI GetModuleBaseNameW(HANDLE hProcess, HMODULE hModule, LPWSTR lpBaseName, DWORD nSize);
DWORD WINAPI GetModuleFileNameExW(HANDLE hProcess, HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
}

#define GetModuleBaseName GetModuleBaseNameW
#define GetModuleFileNameEx GetModuleFileNameExW
