#pragma once
// Debugger output: on the simulated machine the text goes to the machine's debug log.
#include "win/types.h"

extern "C" {
void WINAPI OutputDebugStringW(LPCWSTR lpOutputString);
void WINAPI OutputDebugStringA(LPCSTR lpOutputString);
}

#define OutputDebugString OutputDebugStringW
