#pragma once
// GDI: device contexts, fonts and text metrics, bitmaps and the objects shared by them; MulDiv, the
// kernel's scaling helper that every caller of these uses.
#include "win/types.h"
#include "win/gdi_types.h"

extern "C" {

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);

HDC WINAPI GetDC(HWND hWnd);
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);
HDC WINAPI CreateCompatibleDC(HDC hdc);
BOOL WINAPI DeleteDC(HDC hdc);
int WINAPI GetDeviceCaps(HDC hdc, int index);

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf);
int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv);
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
BOOL WINAPI DeleteObject(HGDIOBJ ho);

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl);
BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm);
}
