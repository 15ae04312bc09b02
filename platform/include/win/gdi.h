#pragma once
// GDI: device contexts, fonts and text, bitmaps, brushes, pens, regions and drawing; MulDiv, the
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

int WINAPI SetMapMode(HDC hdc, int iMode);
int WINAPI GetMapMode(HDC hdc);
BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, LPSIZE lpsz);
BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, LPSIZE lpsz);
BOOL WINAPI GetWindowExtEx(HDC hdc, LPSIZE lpsize);
BOOL WINAPI GetViewportExtEx(HDC hdc, LPSIZE lpsize);
BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT lppoint);
BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppoint);
BOOL WINAPI LPtoDP(HDC hdc, LPPOINT lppt, int c);
BOOL WINAPI DPtoLP(HDC hdc, LPPOINT lppt, int c);

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf);
HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                         DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                         DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                         DWORD iPitchAndFamily, LPCWSTR pszFaceName);
int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv);
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
BOOL WINAPI DeleteObject(HGDIOBJ ho);

int WINAPI EnumFontFamiliesW(HDC hdc, LPCWSTR lpLogfont, FONTENUMPROCW lpProc, LPARAM lParam);
BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl);
BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm);
BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString,
                        UINT c, const INT* lpDx);
BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c);

HGDIOBJ WINAPI GetStockObject(int i);
HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type);
HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                            const VOID* lpBits);
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy);
HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits,
                                HANDLE hSection, DWORD offset);
COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color);
COLORREF WINAPI GetPixel(HDC hdc, int x, int y);
BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
BOOL WINAPI ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type);

HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color);
HPEN WINAPI CreatePenIndirect(const LOGPEN* plpen);
BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT lppt);
BOOL WINAPI LineTo(HDC hdc, int x, int y);
BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt);
BOOL WINAPI Pie(HDC hdc, int left, int top, int right, int bottom, int xr1, int yr1, int xr2,
                int yr2);

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
COLORREF WINAPI GetBkColor(HDC hdc);
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
COLORREF WINAPI GetTextColor(HDC hdc);
int WINAPI SetBkMode(HDC hdc, int mode);
int WINAPI GetBkMode(HDC hdc);
UINT WINAPI SetTextAlign(HDC hdc, UINT align);
UINT WINAPI GetTextAlign(HDC hdc);
int WINAPI SaveDC(HDC hdc);
BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC);

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2);
HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect);
int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode);
int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc);
BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y);
int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn);
int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int WINAPI GetClipBox(HDC hdc, LPRECT lprect);

// User's painting helper; it works on GDI's objects alone.
int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
}
