// The strsafe functions: bounded copies, concatenation, length and printf. The destination ends
// terminated whenever its size is valid, with as much of the result as fits; a null source counts
// as empty.
#include "src/kernel32/text_format.h"
#include <strsafe.h>

using namespace moltr::sim::text;

namespace {

template <typename Char> bool ValidSize(const Char* dest, size_t cch) {
    return dest && cch != 0 && cch <= STRSAFE_MAX_CCH;
}

// A size beyond STRSAFE_MAX_CCH still promises room for the terminator.
template <typename Char> HRESULT Invalid(Char* dest, size_t cch) {
    if (dest && cch != 0) {
        dest[0] = 0;
    }
    return STRSAFE_E_INVALID_PARAMETER;
}

template <typename Char> HRESULT CopyInto(Char* dest, size_t cch, const Char* src, size_t maxSrc) {
    size_t i = 0;
    if (src) {
        for (; i + 1 < cch && i < maxSrc && src[i]; ++i) {
            dest[i] = src[i];
        }
    }
    dest[i] = 0;
    const bool cut = src && i < maxSrc && src[i] != 0;
    return cut ? STRSAFE_E_INSUFFICIENT_BUFFER : S_OK;
}

template <typename Char> HRESULT Copy(Char* dest, size_t cch, const Char* src, size_t maxSrc) {
    if (!ValidSize(dest, cch) || maxSrc > STRSAFE_MAX_CCH) {
        return Invalid(dest, cch);
    }
    return CopyInto(dest, cch, src, maxSrc);
}

// The destination must already be terminated within its size; it is left alone when it is not.
template <typename Char> HRESULT Cat(Char* dest, size_t cch, const Char* src, size_t maxSrc) {
    if (!ValidSize(dest, cch) || maxSrc > STRSAFE_MAX_CCH) {
        return STRSAFE_E_INVALID_PARAMETER;
    }
    size_t length = 0;
    while (length < cch && dest[length]) {
        ++length;
    }
    if (length == cch) {
        return STRSAFE_E_INVALID_PARAMETER;
    }
    return CopyInto(dest + length, cch - length, src, maxSrc);
}

template <typename Char> HRESULT Length(const Char* text, size_t cchMax, size_t* length) {
    size_t n = 0;
    HRESULT hr = STRSAFE_E_INVALID_PARAMETER;
    if (text && cchMax <= STRSAFE_MAX_CCH) {
        while (n < cchMax && text[n]) {
            ++n;
        }
        hr = n < cchMax ? S_OK : STRSAFE_E_INVALID_PARAMETER;
    }
    if (length) {
        *length = SUCCEEDED(hr) ? n : 0;
    }
    return hr;
}

template <typename Char> HRESULT Print(Char* dest, size_t cch, const Char* format, va_list args) {
    if (!ValidSize(dest, cch) || !format) {
        return Invalid(dest, cch);
    }
    const FormatResult result = FormatText(dest, cch - 1, format, args, FormatDialect::Crt);
    dest[result.length] = 0;
    return result.truncated ? STRSAFE_E_INSUFFICIENT_BUFFER : S_OK;
}

char16_t* U(STRSAFE_LPWSTR text) {
    return reinterpret_cast<char16_t*>(text);
}
const char16_t* U(STRSAFE_LPCWSTR text) {
    return reinterpret_cast<const char16_t*>(text);
}

// A byte size as the number of whole characters it holds.
template <typename Char> size_t Characters(size_t cb) {
    return cb / sizeof(Char);
}

} // namespace

extern "C" {

HRESULT WINAPI StringCchCopyW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszSrc) {
    return Copy(U(pszDest), cchDest, U(pszSrc), STRSAFE_MAX_CCH);
}

HRESULT WINAPI StringCchCopyA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszSrc) {
    return Copy(pszDest, cchDest, pszSrc, STRSAFE_MAX_CCH);
}

HRESULT WINAPI StringCchCopyNW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszSrc,
                               size_t cchToCopy) {
    return Copy(U(pszDest), cchDest, U(pszSrc), cchToCopy);
}

HRESULT WINAPI StringCchCopyNA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszSrc,
                               size_t cchToCopy) {
    return Copy(pszDest, cchDest, pszSrc, cchToCopy);
}

HRESULT WINAPI StringCchCatW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszSrc) {
    return Cat(U(pszDest), cchDest, U(pszSrc), STRSAFE_MAX_CCH);
}

HRESULT WINAPI StringCchCatA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszSrc) {
    return Cat(pszDest, cchDest, pszSrc, STRSAFE_MAX_CCH);
}

HRESULT WINAPI StringCchCatNW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszSrc,
                              size_t cchToAppend) {
    return Cat(U(pszDest), cchDest, U(pszSrc), cchToAppend);
}

HRESULT WINAPI StringCchCatNA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszSrc,
                              size_t cchToAppend) {
    return Cat(pszDest, cchDest, pszSrc, cchToAppend);
}

HRESULT WINAPI StringCchLengthW(STRSAFE_LPCWSTR psz, size_t cchMax, size_t* pcchLength) {
    return Length(U(psz), cchMax, pcchLength);
}

HRESULT WINAPI StringCchLengthA(STRSAFE_LPCSTR psz, size_t cchMax, size_t* pcchLength) {
    return Length(psz, cchMax, pcchLength);
}

HRESULT WINAPI StringCchVPrintfW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszFormat,
                                 va_list argList) {
    return Print(U(pszDest), cchDest, U(pszFormat), argList);
}

HRESULT WINAPI StringCchVPrintfA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszFormat,
                                 va_list argList) {
    return Print(pszDest, cchDest, pszFormat, argList);
}

HRESULT WINAPIV StringCchPrintfW(STRSAFE_LPWSTR pszDest, size_t cchDest, STRSAFE_LPCWSTR pszFormat,
                                 ...) {
    va_list args;
    va_start(args, pszFormat);
    const HRESULT hr = Print(U(pszDest), cchDest, U(pszFormat), args);
    va_end(args);
    return hr;
}

HRESULT WINAPIV StringCchPrintfA(STRSAFE_LPSTR pszDest, size_t cchDest, STRSAFE_LPCSTR pszFormat,
                                 ...) {
    va_list args;
    va_start(args, pszFormat);
    const HRESULT hr = Print(pszDest, cchDest, pszFormat, args);
    va_end(args);
    return hr;
}

HRESULT WINAPI StringCbCopyW(STRSAFE_LPWSTR pszDest, size_t cbDest, STRSAFE_LPCWSTR pszSrc) {
    return Copy(U(pszDest), Characters<char16_t>(cbDest), U(pszSrc), STRSAFE_MAX_CCH);
}

HRESULT WINAPI StringCbCopyA(STRSAFE_LPSTR pszDest, size_t cbDest, STRSAFE_LPCSTR pszSrc) {
    return Copy(pszDest, Characters<char>(cbDest), pszSrc, STRSAFE_MAX_CCH);
}

HRESULT WINAPI StringCbCatW(STRSAFE_LPWSTR pszDest, size_t cbDest, STRSAFE_LPCWSTR pszSrc) {
    return Cat(U(pszDest), Characters<char16_t>(cbDest), U(pszSrc), STRSAFE_MAX_CCH);
}

HRESULT WINAPI StringCbCatA(STRSAFE_LPSTR pszDest, size_t cbDest, STRSAFE_LPCSTR pszSrc) {
    return Cat(pszDest, Characters<char>(cbDest), pszSrc, STRSAFE_MAX_CCH);
}

HRESULT WINAPI StringCbLengthW(STRSAFE_LPCWSTR psz, size_t cbMax, size_t* pcbLength) {
    const HRESULT hr = Length(U(psz), Characters<char16_t>(cbMax), pcbLength);
    if (pcbLength) {
        *pcbLength *= sizeof(char16_t);
    }
    return hr;
}

HRESULT WINAPI StringCbLengthA(STRSAFE_LPCSTR psz, size_t cbMax, size_t* pcbLength) {
    return Length(psz, Characters<char>(cbMax), pcbLength);
}

HRESULT WINAPIV StringCbPrintfW(STRSAFE_LPWSTR pszDest, size_t cbDest, STRSAFE_LPCWSTR pszFormat,
                                ...) {
    va_list args;
    va_start(args, pszFormat);
    const HRESULT hr = Print(U(pszDest), Characters<char16_t>(cbDest), U(pszFormat), args);
    va_end(args);
    return hr;
}

HRESULT WINAPIV StringCbPrintfA(STRSAFE_LPSTR pszDest, size_t cbDest, STRSAFE_LPCSTR pszFormat,
                                ...) {
    va_list args;
    va_start(args, pszFormat);
    const HRESULT hr = Print(pszDest, Characters<char>(cbDest), pszFormat, args);
    va_end(args);
    return hr;
}
}
