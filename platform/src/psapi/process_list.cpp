// EnumProcesses: the ids of the machine's running processes, led by the idle process (id 0) that
// every Windows machine reports first.
#include "src/kernel32/process_records.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>

using namespace moltr::platform;

extern "C" BOOL WINAPI EnumProcesses(DWORD* lpidProcess, DWORD cb, LPDWORD lpcbNeeded) {
    if (!lpcbNeeded || (cb && !lpidProcess)) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    std::vector<DWORD> ids{0};
    for (const ProcessRecord& record : LoadProcesses()) {
        if (IsRunning(record)) {
            ids.push_back(record.id);
        }
    }
    // As many as fit; the count returned is of the bytes written, not of those needed.
    const DWORD fit = std::min<DWORD>(cb / sizeof(DWORD), static_cast<DWORD>(ids.size()));
    std::copy_n(ids.begin(), fit, lpidProcess);
    *lpcbNeeded = fit * sizeof(DWORD);
    return TRUE;
}
