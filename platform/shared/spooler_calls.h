#pragma once
// The spooler calls that read a job's record and a printer's device capabilities, as the render
// plug-in makes them. On Windows the SDK declares them. The host simulation serves them with its
// spooler's jobs and the universal driver's capabilities; a host module binds them weakly, so that
// a simulation without them answers as a failed call (ERROR_CALL_NOT_IMPLEMENTED) instead of
// refusing to load the module.
#include <windows.h>
#include <winspool.h>

#ifndef _WIN32
extern "C" {
__attribute__((weak)) BOOL WINAPI GetJobW(HANDLE hPrinter, DWORD JobId, DWORD Level, LPBYTE pJob,
                                          DWORD cbBuf, LPDWORD pcbNeeded);
__attribute__((weak)) int WINAPI DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR pPort,
                                                     WORD fwCapability, LPWSTR pOutput,
                                                     const DEVMODEW* pDevMode);
}
#endif

inline BOOL ReadJobRecord(HANDLE printer, DWORD jobId, DWORD level, LPBYTE buffer, DWORD size,
                          LPDWORD needed) {
#ifndef _WIN32
    if (GetJobW == nullptr) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
#endif
    return GetJobW(printer, jobId, level, buffer, size, needed);
}

inline int ReadDeviceCapabilities(LPCWSTR device, LPCWSTR port, WORD capability, LPWSTR output,
                                  const DEVMODEW* devmode) {
#ifndef _WIN32
    if (DeviceCapabilitiesW == nullptr) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return -1;
    }
#endif
    return DeviceCapabilitiesW(device, port, capability, output, devmode);
}
