// The lstr functions of kernel32 and the Char functions of user32.
#include "src/kernel32/text_case.h"
#include "src/kernel32/text_word_sort.h"
#include <windows.h>

#include <string>

using namespace moltr::sim::text;

namespace {

template <typename Char> int Length(const Char* text) {
    return text ? static_cast<int>(std::char_traits<Char>::length(text)) : 0;
}

template <typename Char> Char* CopyBounded(Char* dest, const Char* src, int max) {
    if (!dest || !src) {
        return nullptr;
    }
    if (max <= 0) {
        return dest;
    }
    int i = 0;
    for (; i < max - 1 && src[i]; ++i) {
        dest[i] = src[i];
    }
    dest[i] = 0;
    return dest;
}

template <typename Char> Char* Copy(Char* dest, const Char* src) {
    if (!dest || !src) {
        return nullptr;
    }
    std::char_traits<Char>::copy(dest, src, std::char_traits<Char>::length(src) + 1);
    return dest;
}

template <typename Char> Char* Append(Char* dest, const Char* src) {
    if (!dest || !src) {
        return nullptr;
    }
    Copy(dest + std::char_traits<Char>::length(dest), src);
    return dest;
}

// A null string sorts before every other, the empty one included.
int Compare(LPCWSTR a, LPCWSTR b, bool ignoreCase) {
    if (!a || !b) {
        return a ? 1 : (b ? -1 : 0);
    }
    return WordSortCompare(reinterpret_cast<const char16_t*>(a),
                           reinterpret_cast<const char16_t*>(b), ignoreCase);
}

// A pointer whose high word is zero holds a single character instead of a string. On x64 that is
// every bit above the low word: a heap address may well have bits 16 to 31 clear.
bool IsSingleCharacter(LPWSTR text) {
    return reinterpret_cast<UINT_PTR>(text) >> 16 == 0;
}

template <typename Map> LPWSTR MapString(LPWSTR text, Map map) {
    if (IsSingleCharacter(text)) {
        const auto c = static_cast<char16_t>(LOWORD(reinterpret_cast<UINT_PTR>(text)));
        return reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(map(c)));
    }
    for (WCHAR* p = text; *p; ++p) {
        *p = static_cast<WCHAR>(map(static_cast<char16_t>(*p)));
    }
    return text;
}

template <typename Map> DWORD MapBuffer(LPWSTR text, DWORD length, Map map) {
    if (!text) {
        return 0;
    }
    for (DWORD i = 0; i < length; ++i) {
        text[i] = static_cast<WCHAR>(map(static_cast<char16_t>(text[i])));
    }
    return length;
}

} // namespace

extern "C" {

int WINAPI lstrlenW(LPCWSTR lpString) {
    return Length(reinterpret_cast<const char16_t*>(lpString));
}

int WINAPI lstrlenA(LPCSTR lpString) {
    return Length(lpString);
}

LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
    return reinterpret_cast<LPWSTR>(CopyBounded(reinterpret_cast<char16_t*>(lpString1),
                                                reinterpret_cast<const char16_t*>(lpString2),
                                                iMaxLength));
}

LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
    return CopyBounded(lpString1, lpString2, iMaxLength);
}

LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) {
    return reinterpret_cast<LPWSTR>(
        Copy(reinterpret_cast<char16_t*>(lpString1), reinterpret_cast<const char16_t*>(lpString2)));
}

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2) {
    return Copy(lpString1, lpString2);
}

LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) {
    return reinterpret_cast<LPWSTR>(Append(reinterpret_cast<char16_t*>(lpString1),
                                           reinterpret_cast<const char16_t*>(lpString2)));
}

LPSTR WINAPI lstrcatA(LPSTR lpString1, LPCSTR lpString2) {
    return Append(lpString1, lpString2);
}

int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
    return Compare(lpString1, lpString2, false);
}

int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
    return Compare(lpString1, lpString2, true);
}

LPWSTR WINAPI CharUpperW(LPWSTR lpsz) {
    return MapString(lpsz, UpperCase);
}

LPWSTR WINAPI CharLowerW(LPWSTR lpsz) {
    return MapString(lpsz, LowerCase);
}

DWORD WINAPI CharUpperBuffW(LPWSTR lpsz, DWORD cchLength) {
    return MapBuffer(lpsz, cchLength, UpperCase);
}

DWORD WINAPI CharLowerBuffW(LPWSTR lpsz, DWORD cchLength) {
    return MapBuffer(lpsz, cchLength, LowerCase);
}

BOOL WINAPI IsCharAlphaW(WCHAR ch) {
    return IsLetter(static_cast<char16_t>(ch)) ? TRUE : FALSE;
}

BOOL WINAPI IsCharAlphaNumericW(WCHAR ch) {
    return IsLetter(static_cast<char16_t>(ch)) || (ch >= L'0' && ch <= L'9') ? TRUE : FALSE;
}

LPWSTR WINAPI CharNextW(LPCWSTR lpsz) {
    return const_cast<LPWSTR>(lpsz && *lpsz ? lpsz + 1 : lpsz);
}
}
