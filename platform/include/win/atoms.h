#pragma once
// Atoms: the process's local atom table and the global one that window properties name their
// entries by.
#include "win/types.h"

#define MAXINTATOM 0xC000
#define MAKEINTATOM(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define INVALID_ATOM ((ATOM)0)

extern "C" {

ATOM WINAPI GlobalAddAtomW(LPCWSTR lpString);
ATOM WINAPI GlobalFindAtomW(LPCWSTR lpString);
ATOM WINAPI GlobalDeleteAtom(ATOM nAtom);
UINT WINAPI GlobalGetAtomNameW(ATOM nAtom, LPWSTR lpBuffer, int nSize);

ATOM WINAPI AddAtomW(LPCWSTR lpString);
ATOM WINAPI FindAtomW(LPCWSTR lpString);
ATOM WINAPI DeleteAtom(ATOM nAtom);
UINT WINAPI GetAtomNameW(ATOM nAtom, LPWSTR lpBuffer, int nSize);
}
