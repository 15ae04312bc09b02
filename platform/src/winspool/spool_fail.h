#pragma once
// How the spooler's BOOL calls fail: the error as the thread's last error, and FALSE.
#include <windows.h>

namespace moltr::spool {

inline BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

} // namespace moltr::spool
