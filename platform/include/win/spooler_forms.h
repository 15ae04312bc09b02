#pragma once
// The spooler's forms database: the machine's paper sizes (FORM_INFO_1W, FORM_USER, FORM_BUILTIN,
// FORM_PRINTER are in win/spooler.h). Sizes are in thousandths of a millimetre.
#include "win/types.h"
#include "win/spooler.h"

extern "C" {
BOOL WINAPI AddFormW(HANDLE hPrinter, DWORD Level, LPBYTE pForm);
BOOL WINAPI DeleteFormW(HANDLE hPrinter, LPWSTR pFormName);
BOOL WINAPI GetFormW(HANDLE hPrinter, LPWSTR pFormName, DWORD Level, LPBYTE pForm, DWORD cbBuf,
                     LPDWORD pcbNeeded);
BOOL WINAPI SetFormW(HANDLE hPrinter, LPWSTR pFormName, DWORD Level, LPBYTE pForm);
BOOL WINAPI EnumFormsW(HANDLE hPrinter, DWORD Level, LPBYTE pForm, DWORD cbBuf, LPDWORD pcbNeeded,
                       LPDWORD pcReturned);
}

#define AddForm AddFormW
#define DeleteForm DeleteFormW
#define GetForm GetFormW
#define SetForm SetFormW
#define EnumForms EnumFormsW
