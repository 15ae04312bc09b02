// GdiFlush: every drawing call has reached the bits before it returns, so the batch is always
// empty.
#include <wingdi.h>

extern "C" {

BOOL WINAPI GdiFlush(void) {
    return TRUE;
}
}
