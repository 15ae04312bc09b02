#pragma once
// Host stand-in: on Windows <windows.h> brings these declarations too.
#include <windows.h>

extern "C" {
// Drawing is never batched here, so there is nothing to wait for.
BOOL WINAPI GdiFlush(void);
}
