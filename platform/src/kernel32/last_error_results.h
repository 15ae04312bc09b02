#pragma once
// How the kernel's calls fail: the error as the thread's last error, and the call's failure value.
#include <windows.h>

namespace moltr::sim {

inline HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

inline BOOL FailBool(DWORD error) {
    SetLastError(error);
    return FALSE;
}

} // namespace moltr::sim
