#pragma once
// Host stand-in for the SDK's <strsafe.h>: bounded copy, concatenation, length and formatting. The
// printf functions follow the C runtime's _vsnprintf/_vsnwprintf formats, floating point included.
#include <windows.h>

#define STRSAFE_MAX_CCH 2147483647

typedef char* STRSAFE_LPSTR;
typedef const char* STRSAFE_LPCSTR;
typedef wchar_t* STRSAFE_LPWSTR;
typedef const wchar_t* STRSAFE_LPCWSTR;

extern "C" {

HRESULT WINAPI StringCchCopyW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszSrc);
HRESULT WINAPI StringCchCopyA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszSrc);
HRESULT WINAPI StringCchCopyNW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszSrc,
                               size_t cchToCopy);
HRESULT WINAPI StringCchCopyNA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszSrc,
                               size_t cchToCopy);
HRESULT WINAPI StringCchCatW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszSrc);
HRESULT WINAPI StringCchCatA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszSrc);
HRESULT WINAPI StringCchCatNW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszSrc,
                              size_t cchToAppend);
HRESULT WINAPI StringCchCatNA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszSrc,
                              size_t cchToAppend);
HRESULT WINAPI StringCchLengthW(STRSAFE_LPCWSTR psz, size_t cchMax, size_t* pcchLength);
HRESULT WINAPI StringCchLengthA(STRSAFE_LPCSTR psz, size_t cchMax, size_t* pcchLength);
HRESULT WINAPIV StringCchPrintfW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszFormat,
                                 ...);
HRESULT WINAPIV StringCchPrintfA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszFormat,
                                 ...);
HRESULT WINAPI StringCchVPrintfW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszFormat,
                                 va_list argList);
HRESULT WINAPI StringCchVPrintfA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszFormat,
                                 va_list argList);

HRESULT WINAPI StringCbCopyW(STRSAFE_LPWSTR pszDest, size_t cbDest, STRSAFE_LPCWSTR pszSrc);
HRESULT WINAPI StringCbCopyA(STRSAFE_LPSTR pszDest, size_t cbDest, STRSAFE_LPCSTR pszSrc);
HRESULT WINAPI StringCbCatW(STRSAFE_LPWSTR pszDest, size_t cbDest, STRSAFE_LPCWSTR pszSrc);
HRESULT WINAPI StringCbCatA(STRSAFE_LPSTR pszDest, size_t cbDest, STRSAFE_LPCSTR pszSrc);
HRESULT WINAPI StringCbLengthW(STRSAFE_LPCWSTR psz, size_t cbMax, size_t* pcbLength);
HRESULT WINAPI StringCbLengthA(STRSAFE_LPCSTR psz, size_t cbMax, size_t* pcbLength);
HRESULT WINAPIV StringCbPrintfW(STRSAFE_LPWSTR pszDest, size_t cbDest, STRSAFE_LPCWSTR pszFormat,
                                ...);
HRESULT WINAPIV StringCbPrintfA(STRSAFE_LPSTR pszDest, size_t cbDest, STRSAFE_LPCSTR pszFormat,
                                ...);
}

#ifdef UNICODE
#define StringCchCopy StringCchCopyW
#define StringCchCopyN StringCchCopyNW
#define StringCchCat StringCchCatW
#define StringCchCatN StringCchCatNW
#define StringCchLength StringCchLengthW
#define StringCchPrintf StringCchPrintfW
#define StringCchVPrintf StringCchVPrintfW
#define StringCbCopy StringCbCopyW
#define StringCbCat StringCbCatW
#define StringCbLength StringCbLengthW
#define StringCbPrintf StringCbPrintfW
#endif
