// The job calls of the spooler client API. The simulated spooler does not spool jobs yet, so no
// job id names a job: GetJobW answers as Windows does for an id it does not know.
#include <windows.h>
#include <winspool.h>
#include "src/winspool/spool_fail.h"
#include "src/winspool/spool_handles.h"

using namespace moltr::spool;

extern "C" {

BOOL WINAPI GetJobW(HANDLE hPrinter, DWORD, DWORD Level, LPBYTE, DWORD, LPDWORD pcbNeeded) {
    DWORD error = 0;
    if (!ResolveHandle(hPrinter, error)) {
        return Fail(error);
    }
    if (Level < 1 || Level > 3) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    if (pcbNeeded) {
        *pcbNeeded = 0;
    }
    return Fail(ERROR_INVALID_PARAMETER);
}

} // extern "C"
